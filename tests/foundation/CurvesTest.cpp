#include "foundation/Curves.h"

#include "GeometryPrinters.h"

#include "foundation/Rounding.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace {

// The arch from (0, 0) down to (50, 75) and back up to (100, 0): it leaves and enters its
// corners vertically, and its lowest point has a horizontal tangent.
bool NearArch(int32_t width, int32_t x, int32_t y, QPoint shift = QPoint(0, 0))
{
    return PointNearCurve(QPoint(0, 0) + shift, QPoint(0, 100) + shift, QPoint(100, 100) + shift,
                          QPoint(100, 0) + shift, width, x + shift.x(), y + shift.y());
}

// A box this large would need a 16 terabyte scratch image.
const QPoint kFar(2000000, 2000000);

} // namespace

TEST(CurvesPointNearCurve, PaintedPixelsInsideTheBox)
{
    for (const QPoint shift : {QPoint(0, 0), QPoint(-1000, 500)}) {
        // A 5 pixel pen reaches 2.5 rows either side of the lowest point.
        EXPECT_TRUE(NearArch(5, 50, 73, shift));
        EXPECT_TRUE(NearArch(5, 50, 76, shift));
        EXPECT_FALSE(NearArch(5, 50, 70, shift));
        EXPECT_FALSE(NearArch(5, 50, 79, shift));
        // Down the left edge and up the right one; column 100 is painted but is the box's
        // excluded right edge.
        EXPECT_TRUE(NearArch(5, 0, 3, shift));
        EXPECT_TRUE(NearArch(5, 99, 3, shift));
        EXPECT_FALSE(NearArch(5, 100, 3, shift));
    }
    // Upside down, the painted bottom row is excluded.
    EXPECT_TRUE(PointNearCurve(QPoint(0, 100), QPoint(0, 0), QPoint(100, 0), QPoint(100, 100), 5, 1, 99));
    EXPECT_FALSE(PointNearCurve(QPoint(0, 100), QPoint(0, 0), QPoint(100, 0), QPoint(100, 100), 5, 1, 100));
    EXPECT_FALSE(PointNearCurve(QPoint(0, 0), QPoint(0, kFar.y()), kFar, QPoint(kFar.x(), 0), 5, 1, 1));
}

TEST(CurvesPointNearCurve, PenWidthIsAtLeastFive)
{
    EXPECT_TRUE(NearArch(1, 50, 76));
    EXPECT_TRUE(NearArch(12, 50, 79)); // rows 69 .. 80
    // A straight curve has an empty box and is hit within (width + 1) div 2 of its line.
    const QPoint a(10, 0), b(10, 5), c(10, 10), d(10, 20);
    EXPECT_TRUE(PointNearCurve(a, b, c, d, 1, 7, 10));
    EXPECT_FALSE(PointNearCurve(a, b, c, d, 1, 14, 10));
    EXPECT_TRUE(PointNearCurve(a, b, c, d, 9, 15, 10));
    EXPECT_FALSE(PointNearCurve(a, b, c, d, 9, 16, 10));
    EXPECT_TRUE(PointNearCurve(QPoint(0, 40), QPoint(30, 40), QPoint(60, 40), QPoint(90, 40), 5, 45, 37));
    EXPECT_FALSE(PointNearCurve(QPoint(0, 40), QPoint(30, 40), QPoint(60, 40), QPoint(90, 40), 5, 45, 36));
}

TEST(CurvesLabelPoint, SearchesFromTheChordsSide)
{
    // p1 = p2 = (50, 100) under the chord's middle (50, 0): down column 50 from the chord, the
    // 10 pixel pen around the lowest point (50, 75) begins at row 70; from p1 it would be 80.
    QPoint point;
    ASSERT_TRUE(CurveLabelPoint(QPoint(0, 0), QPoint(50, 100), QPoint(50, 100), QPoint(100, 0), point));
    EXPECT_EQ(point.x(), 50);
    EXPECT_NEAR(point.y(), 70, 1);
    // Sideways: along row 50 towards the rightmost point (75, 50).
    ASSERT_TRUE(CurveLabelPoint(QPoint(0, 0), QPoint(100, 50), QPoint(100, 50), QPoint(0, 100), point));
    EXPECT_NEAR(point.x(), 70, 1);
    EXPECT_EQ(point.y(), 50);
}

TEST(CurvesLabelPoint, SelfLoopSearchesFromTheControlPoint)
{
    // x(t) = 100 - 240 (1 - t) t^2: the loop leaves (100, 100) upwards and bends left, passing
    // 5 pixels from column 100 near t = 0.15, row 72. From the loop's start the walk would stop
    // at once.
    QPoint point;
    ASSERT_TRUE(CurveLabelPoint(QPoint(100, 100), QPoint(100, 20), QPoint(20, 60), QPoint(100, 100), point));
    EXPECT_EQ(point.x(), 100);
    EXPECT_GE(point.y(), 65);
    EXPECT_LE(point.y(), 78);
}

TEST(CurvesLabelPoint, CloseControlPointsNeedNoSearch)
{
    // Box (-30, -3) .. (-11, 2): in its coordinates the chord's middle is (9, 0), within 10 of
    // p1 (5, 5); halving the plane's coordinates would give -20 instead of -21.
    QPoint point;
    ASSERT_TRUE(CurveLabelPoint(QPoint(-30, -3), QPoint(-25, 2), QPoint(-15, 2), QPoint(-11, -3), point));
    EXPECT_EQ(point, QPoint(-21, -3));
    EXPECT_EQ(CurveLabelRect(QPoint(-30, -3), QPoint(-25, 2), QPoint(-15, 2), QPoint(-11, -3), 11, 6),
              (TRect{-26, -6, -15, 0}));
    // A self-loop with p1 10 rows from its start: halfway between them in the box's
    // coordinates, (0 + 61) div 2 = 30 from the box's left -101.
    ASSERT_TRUE(CurveLabelPoint(QPoint(-101, 0), QPoint(-40, 10), QPoint(-60, -40), QPoint(-101, 0), point));
    EXPECT_EQ(point, QPoint(-71, 0));
    // Ends at the two extremes of the 32-bit range, more than 2^31 from the box's corner: in
    // the box's coordinates the chord's middle is 2147483647, one left of the plane's 0.
    const QPoint left(std::numeric_limits<int32_t>::min(), 0);
    const QPoint right(std::numeric_limits<int32_t>::max(), 0);
    ASSERT_TRUE(CurveLabelPoint(left, QPoint(5, 3), QPoint(0, 0), right, point));
    EXPECT_EQ(point, QPoint(-1, 0));
    EXPECT_FALSE(CurveLabelPoint(left, QPoint(5, 300), QPoint(0, 0), right, point)); // no scratch image that large
    EXPECT_EQ(point, QPoint(-1, -1));
}

TEST(CurvesLabelPoint, NothingFound)
{
    QPoint point;
    EXPECT_FALSE(CurveLabelPoint(QPoint(0, 0), QPoint(0, kFar.y()), kFar, QPoint(kFar.x(), 0), point));
    EXPECT_EQ(point, QPoint(-1, -1));
    EXPECT_EQ(CurveLabelRect(QPoint(0, 0), QPoint(0, kFar.y()), kFar, QPoint(kFar.x(), 0), 20, 10), (TRect{0, 0, 0, 0}));
}

namespace {

// The label point as first written: the whole box drawn on a fresh image, then the walk along
// the line from p1 towards the chord's middle (or the middle's column or row when they are
// within 10 pixels in x or y). The near cases need no drawing and are left to the caller.
std::optional<QPoint> WholeBoxLabelPoint(QPoint p0, QPoint p1, QPoint p2, QPoint p3)
{
    const int32_t left = std::min({p0.x(), p1.x(), p2.x(), p3.x()});
    const int32_t top = std::min({p0.y(), p1.y(), p2.y(), p3.y()});
    const int32_t right = std::max({p0.x(), p1.x(), p2.x(), p3.x()});
    const int32_t bottom = std::max({p0.y(), p1.y(), p2.y(), p3.y()});
    const QPoint origin(left, top);
    QImage image(right - left + 1, bottom - top + 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(BezierPath(p0 - origin, p1 - origin, p2 - origin, p3 - origin));
    painter.end();
    const QPoint c = p1 - origin;
    const QPoint m((p0.x() - left + p3.x() - left) / 2, (p0.y() - top + p3.y() - top) / 2);
    const auto walk = [&](int32_t from, int32_t to, auto at) -> std::optional<QPoint> {
        for (int32_t i = from;; i += to >= from ? 1 : -1) {
            const QPoint p = at(i);
            if (image.rect().contains(p) && (image.pixel(p) & 0xFFFFFF) == 0)
                return p + origin;
            if (i == to)
                return std::nullopt;
        }
    };
    const auto xOnLine = [&](int32_t y) {
        return QPoint(c.x() + RoundHalfEven(double(m.x() - c.x()) / (m.y() - c.y()) * (y - c.y())), y);
    };
    const auto yOnLine = [&](int32_t x) {
        return QPoint(x, c.y() + RoundHalfEven(double(m.y() - c.y()) / (m.x() - c.x()) * (x - c.x())));
    };
    const int32_t fx = std::abs(m.x() - c.x());
    const int32_t fy = std::abs(m.y() - c.y());
    if (p0 == p3)
        return walk(c.y(), m.y(), xOnLine);
    if (fx <= 10)
        return walk(std::min(c.y(), m.y()), std::max(c.y(), m.y()), [&](int32_t y) { return QPoint(m.x(), y); });
    if (fy <= 10)
        return walk(std::min(c.x(), m.x()), std::max(c.x(), m.x()), [&](int32_t x) { return QPoint(x, m.y()); });
    if (fy < fx)
        return walk(std::min(c.x(), m.x()), std::max(c.x(), m.x()), yOnLine);
    return walk(std::min(c.y(), m.y()), std::max(c.y(), m.y()), xOnLine);
}

} // namespace

TEST(CurvesLabelPoint, OneSearchForManyCurvesFindsWhatAWholeDrawingOfEachFinds)
{
    // Links with a parallel twin, self-loops and curves with free control points, each also
    // moved as a whole (a remembered shape) and once more with one end nudged (a new shape).
    // The near cases are CurveLabelPoint's own tests.
    QRandomGenerator random(41);
    TCurveLabelSearch search;
    int searched = 0;
    for (int i = 0; i < 4000; ++i) {
        const QPoint p0(random.bounded(-300, 300), random.bounded(-300, 300));
        QPoint p3 = p0 + QPoint(random.bounded(-150, 150), random.bounded(-150, 150));
        QPoint p1, p2;
        switch (i % 3) {
        case 0:
            p1 = p2 = OffsetMiddle(p0, p3, random.bounded(-40, 40));
            break;
        case 1:
            p3 = p0;
            p1 = p0 + QPoint(random.bounded(-60, 60), random.bounded(-60, 60));
            p2 = PointTowards(p0, p1, random.bounded(60));
            break;
        default:
            p1 = p0 + QPoint(random.bounded(-120, 120), random.bounded(-120, 120));
            p2 = p3 + QPoint(random.bounded(-120, 120), random.bounded(-120, 120));
        }
        const QPoint shift(random.bounded(-500, 500), random.bounded(-500, 500));
        const QPoint nudge(random.bounded(-2, 3), random.bounded(-2, 3));
        for (const auto& [a, b, c, d] : {std::array{p0, p1, p2, p3}, std::array{p0 + shift, p1 + shift, p2 + shift, p3 + shift},
                                        std::array{p0, p1, p2, p3 == p0 ? p3 : p3 + nudge}}) {
            const std::optional<QPoint> found = search.LabelPoint(a, b, c, d);
            // Control points near the chord's middle (in the box's coordinates) are not searched.
            const QPoint origin(std::min({a.x(), b.x(), c.x(), d.x()}), std::min({a.y(), b.y(), c.y(), d.y()}));
            const QPoint m((a.x() - origin.x() + d.x() - origin.x()) / 2, (a.y() - origin.y() + d.y() - origin.y()) / 2);
            const QPoint f = m - (b - origin);
            if (std::abs(f.y()) <= 10 && (a == d || std::abs(f.x()) <= 10))
                continue;
            ++searched;
            ASSERT_EQ(found, WholeBoxLabelPoint(a, b, c, d)) << ::testing::PrintToString(std::array{a, b, c, d});
        }
    }
    EXPECT_GT(searched, 6000); // most curves were drawn and searched
}
