#include "foundation/Geometry.h"

#include "GeometryPrinters.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

// Square roots below are worked out by hand: x is divided by 4 while it is at least 2, then
// t = x - 1 and r = 1 + t/2 - t^2/8 + t^3/16 - 5 t^4/128 + 0.027343 t^5. FastSqrt(2500) =
// 50.0067 makes the unit vector towards (30, 40) (0.59992, 0.79989).

TEST(GeometrySqrt, SeriesAndReduction)
{
    EXPECT_EQ(FastSqrt(0.0f), 0.0f);
    EXPECT_EQ(FastSqrt(1.0f), 1.0f);
    EXPECT_EQ(FastSqrt(-0.001f), -1.0f);
    EXPECT_EQ(FastSqrt(4.0f), 2.0f); // reduced to 1
    // t = 1; 7/256 as the last coefficient would give 1.42578125, six float steps away.
    EXPECT_EQ(FastSqrt(2.0f), 1.4257805f);
    EXPECT_EQ(FastSqrt(9.0f), 3.0008843f); // 0.5625, doubled twice
    EXPECT_EQ(FastSqrt(8.0f), 2.8305664f); // 2 after one division is divided again: 0.5
    EXPECT_NEAR(FastSqrt(0.01f), 0.2583176f, 5e-8f); // not reduced, hence coarse
    EXPECT_EQ(FastSqrt(std::numeric_limits<float>::infinity()), std::numeric_limits<float>::infinity());
    EXPECT_EQ(IntSqrt(-5), -1.0f);
    EXPECT_EQ(IntSqrt(1), 1.0f);
    EXPECT_EQ(IntSqrt(2), 1.4257805f);
}

TEST(GeometrySqrt, TheReductionByExponentMatchesRepeatedDivisionToTheBit)
{
    // The reduction as the series' comment describes it, step by step.
    const auto stepwise = [](float x) {
        int n = 0;
        if (x > 2) {
            do {
                x = x / 4;
                ++n;
            } while (x >= 2);
        }
        const float t = x - 1;
        const float t2 = t * t;
        const float t3 = t2 * t;
        const float t4 = t3 * t;
        const float t5 = t4 * t;
        float r = float(1 + 0.5 * t);
        r = float(r - 0.125 * t2);
        r = float(r + 0.0625 * t3);
        r = float(r - 0.0390625 * t4);
        r = float(r + 0.027343 * t5);
        for (; n > 0; --n)
            r = r * 2;
        return r;
    };
    std::vector<float> values{2.0f, std::nextafter(2.0f, 3.0f), 4.0f, 8.0f, 16.0f, 1e30f,
                              std::numeric_limits<float>::max()};
    QRandomGenerator random(23);
    for (int i = 0; i < 200000; ++i) {
        const float x = float(random.generateDouble()) * std::ldexp(1.0f, random.bounded(-10, 128));
        values.push_back(x);
    }
    for (const float x : values)
        ASSERT_EQ(FastSqrt(x), stepwise(x)) << x;
}

TEST(GeometrySqrt, DistanceIsExactOnRowsAndColumnsOnly)
{
    EXPECT_EQ(Distance(QPoint(7, 7), QPoint(7, 7)), 0.0f);
    EXPECT_EQ(Distance(QPoint(5, 1), QPoint(5, -9)), 10.0f);
    EXPECT_EQ(Distance(QPoint(-3, 2), QPoint(4, 2)), 7.0f);
    EXPECT_EQ(Distance(QPoint(10, 10), QPoint(7, 6)), 5.0018082f); // 25 reduced to 1.5625
}

TEST(GeometrySqrt, DistancesAcrossTheWholeRangeStayHugeInsteadOfOverflowing)
{
    constexpr int32_t lo = std::numeric_limits<int32_t>::min();
    constexpr int32_t hi = std::numeric_limits<int32_t>::max();
    const float far = Distance(QPoint(lo, lo), QPoint(hi, hi));
    EXPECT_TRUE(std::isfinite(far));
    EXPECT_GT(far, 3e9f);
    EXPECT_FLOAT_EQ(Distance(QPoint(0, 0), QPoint(3, 4)), Distance(QPoint(10, 10), QPoint(13, 14)));
}

TEST(GeometryBasics, SignsRectanglesAndMiddles)
{
    EXPECT_TRUE(SameSign(0, 5));
    EXPECT_TRUE(SameSign(-1, -7));
    EXPECT_FALSE(SameSign(0, -1));

    const TRect r{0, 10, 5, 20};
    EXPECT_TRUE(r.Contains(0, 10) && r.Contains(4, 19));
    EXPECT_FALSE(r.Contains(5, 15) || r.Contains(2, 20) || r.Contains(-1, 15));
    EXPECT_FALSE(r.IsEmpty());
    EXPECT_TRUE((TRect{5, 0, 5, 10}).IsEmpty() && (TRect{0, 3, 10, 2}).IsEmpty());

    // -1.5 and -2.5 truncate towards zero.
    EXPECT_EQ(Middle(QPoint(-3, 0), QPoint(0, -5)), QPoint(-1, -2));
    EXPECT_EQ(Middle(QPoint(2000000000, 0), QPoint(2000000000, 0)), QPoint(2000000000, 0));
    EXPECT_EQ(OffsetPoint(QPoint(3, 4), -5, 6), QPoint(-2, 10));
    EXPECT_EQ(SquareAround(QPoint(10, 10), 5), (TRect{8, 8, 13, 13}));
    EXPECT_EQ(SquareAround(QPoint(-1, -1), 4), (TRect{-3, -3, 1, 1}));
    EXPECT_EQ(BoundsOfPoints(std::vector<QPoint>{QPoint(3, -2), QPoint(-7, 5), QPoint(4, 9)}), (TRect{-7, -2, 4, 9}));
    EXPECT_EQ(BoundsOfPoints(std::vector<QPoint>{}),
              (TRect{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(), -2147483647, -2147483647}));
}

TEST(GeometryBasics, PointTowards)
{
    // On a row or column the side of q does not matter.
    EXPECT_EQ(PointTowards(QPoint(10, 10), QPoint(10, 0), 5), QPoint(10, 15));
    EXPECT_EQ(PointTowards(QPoint(10, 10), QPoint(0, 10), 5), QPoint(15, 10));
    EXPECT_EQ(PointTowards(QPoint(10, 10), QPoint(40, 50), 0), QPoint(10, 10));
    EXPECT_EQ(PointTowards(QPoint(0, 0), QPoint(30, 40), 10), QPoint(6, 8));
    EXPECT_EQ(PointTowards(QPoint(100, 100), QPoint(70, 60), 10), QPoint(94, 92));
    EXPECT_EQ(PointTowards(QPoint(0, 0), QPoint(30, 40), 5000), QPoint(3000, 3999)); // 2999.6, 3999.4
}

TEST(GeometryBasics, OffsetMiddle)
{
    // d = 1 and FastSqrt(2) = 1.43 are below 2; d = 2 is not.
    EXPECT_EQ(OffsetMiddle(QPoint(0, 0), QPoint(1, 0), 5), QPoint(0, 0));
    EXPECT_EQ(OffsetMiddle(QPoint(4, 4), QPoint(5, 5), 5), QPoint(0, 0));
    EXPECT_EQ(OffsetMiddle(QPoint(0, 0), QPoint(2, 0), 5), QPoint(1, -5));
    // Going right the offset points up, going down it points right.
    EXPECT_EQ(OffsetMiddle(QPoint(0, 0), QPoint(10, 0), 5), QPoint(5, -5));
    EXPECT_EQ(OffsetMiddle(QPoint(0, 0), QPoint(0, 10), 5), QPoint(5, 5));
    EXPECT_EQ(OffsetMiddle(QPoint(0, 0), QPoint(30, 40), 10), QPoint(23, 14));
}

namespace {

std::optional<QPoint> Crossing(QPoint a, QPoint b, QPoint c, QPoint d)
{
    QPoint point(7, 7);
    const bool found = SegmentIntersection(a, b, c, d, point);
    EXPECT_TRUE(found || point == QPoint(-1, -1));
    return found ? std::optional(point) : std::nullopt;
}

} // namespace

TEST(GeometrySegments, SegmentIntersection)
{
    EXPECT_EQ(Crossing(QPoint(0, 0), QPoint(10, 10), QPoint(0, 10), QPoint(10, 0)), QPoint(5, 5));
    // An end point on the other segment counts, either way round.
    EXPECT_EQ(Crossing(QPoint(0, 0), QPoint(10, 0), QPoint(5, 0), QPoint(5, 10)), QPoint(5, 0));
    EXPECT_EQ(Crossing(QPoint(5, 0), QPoint(5, 10), QPoint(0, 0), QPoint(10, 0)), QPoint(5, 0));
    // Crossings at 0.5, 1.5 and 2.5 round to even.
    EXPECT_EQ(Crossing(QPoint(0, 0), QPoint(1, 1), QPoint(0, 1), QPoint(1, 0)), QPoint(0, 0));
    EXPECT_EQ(Crossing(QPoint(1, 1), QPoint(2, 2), QPoint(1, 2), QPoint(2, 1)), QPoint(2, 2));
    EXPECT_EQ(Crossing(QPoint(2, 2), QPoint(3, 3), QPoint(2, 3), QPoint(3, 2)), QPoint(2, 2));
    // c and d on one side of ab; a and b on one side of cd; parallel; collinear.
    EXPECT_EQ(Crossing(QPoint(0, 0), QPoint(10, 0), QPoint(5, 1), QPoint(5, 10)), std::nullopt);
    EXPECT_EQ(Crossing(QPoint(0, 0), QPoint(4, 0), QPoint(5, -5), QPoint(5, 5)), std::nullopt);
    EXPECT_EQ(Crossing(QPoint(0, 0), QPoint(10, 0), QPoint(0, 5), QPoint(10, 5)), std::nullopt);
    EXPECT_EQ(Crossing(QPoint(0, 0), QPoint(10, 0), QPoint(5, 0), QPoint(15, 0)), std::nullopt);
    // Products wrap at 32 bits: det becomes 1389934592 and the x numerator -1799716864, so the
    // crossing (30000, 30000) is found at (-1, -1).
    EXPECT_EQ(Crossing(QPoint(0, 0), QPoint(60000, 60000), QPoint(0, 60000), QPoint(60000, 0)), QPoint(-1, -1));
}

TEST(GeometrySegments, LineRectIntersectionTriesTopRightBottomLeft)
{
    const TRect rect{10, 10, 30, 20};
    QPoint point;
    EXPECT_TRUE(LineRectIntersection(QPoint(20, 15), QPoint(20, 0), rect, point));
    EXPECT_EQ(point, QPoint(20, 10));
    EXPECT_TRUE(LineRectIntersection(QPoint(20, 15), QPoint(0, 15), rect, point));
    EXPECT_EQ(point, QPoint(10, 15));
    // Top before left, right before bottom.
    EXPECT_TRUE(LineRectIntersection(QPoint(5, 15), QPoint(25, 5), rect, point));
    EXPECT_EQ(point, QPoint(15, 10));
    EXPECT_TRUE(LineRectIntersection(QPoint(22, 25), QPoint(34, 13), rect, point));
    EXPECT_EQ(point, QPoint(30, 17));
    EXPECT_FALSE(LineRectIntersection(QPoint(15, 12), QPoint(25, 18), rect, point));
    EXPECT_EQ(point, QPoint(-1, -1));
}

TEST(GeometryPolygon, PointInConvexPolygon)
{
    // Clockwise on screen the inside has positive cross products, so the border, where one is
    // zero, is inside; the other way round it is outside.
    const std::vector<QPoint> clockwise{QPoint(0, 0), QPoint(10, 0), QPoint(10, 10), QPoint(0, 10), QPoint(0, 0)};
    const std::vector<QPoint> anticlockwise{QPoint(0, 0), QPoint(0, 10), QPoint(10, 10), QPoint(10, 0), QPoint(0, 0)};
    EXPECT_TRUE(PointInConvexPolygon(QPoint(5, 5), clockwise, 4));
    EXPECT_TRUE(PointInConvexPolygon(QPoint(5, 0), clockwise, 4));
    EXPECT_FALSE(PointInConvexPolygon(QPoint(11, 5), clockwise, 4));
    EXPECT_TRUE(PointInConvexPolygon(QPoint(5, 5), anticlockwise, 4));
    EXPECT_FALSE(PointInConvexPolygon(QPoint(5, 0), anticlockwise, 4));
    // Only the first edgeCount edges count; as many edges as vertices close the polygon.
    const std::vector<QPoint> square(clockwise.begin(), clockwise.end() - 1);
    EXPECT_TRUE(PointInConvexPolygon(QPoint(50, 50), square, 1));
    EXPECT_TRUE(PointInConvexPolygon(QPoint(-5, 5), square, 3));
    EXPECT_FALSE(PointInConvexPolygon(QPoint(-5, 5), square, 4));
}

TEST(GeometrySegments, PointNearSegment)
{
    // Only within the segment's bounding box.
    EXPECT_FALSE(PointNearSegment(QPoint(0, 0), QPoint(100, 0), 50, 1, 1));
    EXPECT_TRUE(PointNearSegment(QPoint(0, 0), QPoint(100, 0), 100, 0, 1));
    EXPECT_FALSE(PointNearSegment(QPoint(0, 0), QPoint(100, 0), 101, 0, 1));
    // Through (50, 25), e = max(width div 2, 4) rows up and down. Where a cross product is zero
    // the direction decides: drawn from (0, 0) the band's borders are outside, from (100, 50)
    // inside.
    EXPECT_TRUE(PointNearSegment(QPoint(0, 0), QPoint(100, 50), 50, 28, 1));
    EXPECT_FALSE(PointNearSegment(QPoint(0, 0), QPoint(100, 50), 50, 29, 1));
    EXPECT_TRUE(PointNearSegment(QPoint(0, 0), QPoint(100, 50), 50, 22, 1));
    EXPECT_FALSE(PointNearSegment(QPoint(0, 0), QPoint(100, 50), 50, 21, 1));
    EXPECT_TRUE(PointNearSegment(QPoint(0, 0), QPoint(100, 50), 50, 34, 20));
    EXPECT_FALSE(PointNearSegment(QPoint(0, 0), QPoint(100, 50), 50, 35, 20));
    EXPECT_TRUE(PointNearSegment(QPoint(100, 50), QPoint(0, 0), 50, 29, 1));
    EXPECT_TRUE(PointNearSegment(QPoint(100, 50), QPoint(0, 0), 50, 21, 1));
    EXPECT_FALSE(PointNearSegment(QPoint(100, 50), QPoint(0, 0), 50, 30, 1));
}

TEST(GeometryArrowHead, ArrowHead)
{
    using Head = std::array<QPoint, 3>;
    EXPECT_EQ(ArrowHead(QPoint(0, 0), QPoint(10, 0), 10, 3), (Head{QPoint(10, 0), QPoint(0, -3), QPoint(0, 3)}));
    // Base (30, 40) - round(10 * (0.59992, 0.79989)) = (24, 32), offset round(5 * (0.79989, -0.59992)).
    EXPECT_EQ(ArrowHead(QPoint(0, 0), QPoint(30, 40), 10, 5), (Head{QPoint(30, 40), QPoint(28, 29), QPoint(20, 35)}));
    EXPECT_EQ(ArrowHead(QPoint(0, 0), QPoint(10, 0), 0, 3), std::nullopt);
    EXPECT_EQ(ArrowHead(QPoint(0, 0), QPoint(10, 0), 10, -1), std::nullopt);
    EXPECT_EQ(ArrowHead(QPoint(4, 4), QPoint(4, 4), 10, 3), std::nullopt);
    EXPECT_NE(ArrowHead(QPoint(4, 4), QPoint(5, 4), 10, 3), std::nullopt);
}
