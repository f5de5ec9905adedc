#include "foundation/Curves.h"

#include "foundation/Rounding.h"

#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace {

constexpr int32_t kLabelPenWidth = 10;

// Control points closer than this to the chord's middle put the label there without a search.
constexpr int32_t kLabelNear = 10;

// One scratch image per call costs four bytes per pixel of the bounding box. Control points
// dragged far away could ask for gigabytes; beyond this limit (128 MB) a curve is not hit and
// gets no label instead.
constexpr int64_t kMaxScratchPixels = int64_t(1) << 25;

// A white image one pixel larger than box in each direction with the curve drawn black on it,
// box's top-left corner at (0, 0). Null when the image would be too large.
QImage DrawScratchCurve(const std::array<QPoint, 4>& points, const TRect& box, int32_t penWidth)
{
    const int64_t width = int64_t(box.Right) - box.Left + 1;
    const int64_t height = int64_t(box.Bottom) - box.Top + 1;
    if (width * height > kMaxScratchPixels)
        return QImage();
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    const QPoint origin(box.Left, box.Top);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(BezierPath(points[0] - origin, points[1] - origin, points[2] - origin, points[3] - origin));
    return image;
}

bool IsBlack(const QImage& image, QPoint p)
{
    return image.rect().contains(p) && (image.pixel(p) & 0x00FFFFFF) == 0;
}

// The first black pixel among at(i) for i running from 'from' to 'to', both included.
template <typename At>
std::optional<QPoint> FirstBlack(const QImage& image, int32_t from, int32_t to, At at)
{
    const int32_t step = to >= from ? 1 : -1;
    for (int32_t i = from;; i += step) {
        const QPoint p = at(i);
        if (IsBlack(image, p))
            return p;
        if (i == to)
            return std::nullopt;
    }
}

// The label point when the control point p1 (c) lies so near the chord's middle m that no search
// is made; none when the drawn curve must be searched. Taken relative to origin, the top-left
// corner of the points' box, where halving never meets a negative; in 64 bits, as points far
// apart lie more than 2^31 from that corner.
std::optional<QPoint> NearLabelPoint(QPoint p0, QPoint p1, QPoint p3, QPoint origin)
{
    const int64_t cx = int64_t(p1.x()) - origin.x();
    const int64_t cy = int64_t(p1.y()) - origin.y();
    const int64_t mx = (int64_t(p0.x()) - origin.x() + (int64_t(p3.x()) - origin.x())) / 2;
    const int64_t my = (int64_t(p0.y()) - origin.y() + (int64_t(p3.y()) - origin.y())) / 2;
    const int64_t fx = std::abs(mx - cx);
    const int64_t fy = std::abs(my - cy);
    // Both answers lie between the points, so they fit in 32 bits again.
    if (p0 == p3 && fy <= kLabelNear)
        return QPoint(int32_t((mx + cx) / 2 + origin.x()), int32_t(my + origin.y()));
    if (p0 != p3 && fx <= kLabelNear && fy <= kLabelNear)
        return QPoint(int32_t(mx + origin.x()), int32_t(my + origin.y()));
    return std::nullopt;
}

// In image coordinates: c is the control point p1, m the middle of the chord; the near cases
// are NearLabelPoint's.
std::optional<QPoint> FindLabelPoint(const QImage& image, QPoint c, QPoint m, bool selfLoop)
{
    const auto xOnLine = [&](int32_t y) {
        return QPoint(c.x() + RoundHalfEven(double(m.x() - c.x()) / (m.y() - c.y()) * (y - c.y())), y);
    };
    const auto yOnLine = [&](int32_t x) {
        return QPoint(x, c.y() + RoundHalfEven(double(m.y() - c.y()) / (m.x() - c.x()) * (x - c.x())));
    };
    const int32_t fx = std::abs(m.x() - c.x());
    const int32_t fy = std::abs(m.y() - c.y());

    if (selfLoop)
        return FirstBlack(image, c.y(), m.y(), xOnLine);

    const int32_t minX = std::min(c.x(), m.x());
    const int32_t maxX = std::max(c.x(), m.x());
    const int32_t minY = std::min(c.y(), m.y());
    const int32_t maxY = std::max(c.y(), m.y());
    if (fx <= kLabelNear)
        return FirstBlack(image, minY, maxY, [&](int32_t y) { return QPoint(m.x(), y); });
    if (fy <= kLabelNear)
        return FirstBlack(image, minX, maxX, [&](int32_t x) { return QPoint(x, m.y()); });
    if (fy < fx)
        return FirstBlack(image, minX, maxX, yOnLine);
    return FirstBlack(image, minY, maxY, xOnLine);
}

} // namespace

QPainterPath BezierPath(QPoint p0, QPoint p1, QPoint p2, QPoint p3)
{
    QPainterPath path;
    path.moveTo(p0);
    path.cubicTo(p1, p2, p3);
    return path;
}

bool PointNearCurve(QPoint p0, QPoint p1, QPoint p2, QPoint p3, int32_t width, int32_t x, int32_t y)
{
    const std::array<QPoint, 4> points{p0, p1, p2, p3};
    const TRect box = BoundsOfPoints(points);
    width = std::max(width, 5);
    const int64_t h = (int64_t(width) + 1) / 2;
    // A straight vertical or horizontal curve has an empty box; it is hit by nearness alone.
    if (box.Left == box.Right && std::abs(int64_t(x) - box.Left) <= h)
        return true;
    if (box.Top == box.Bottom && std::abs(int64_t(y) - box.Top) <= h)
        return true;
    if (!box.Contains(x, y))
        return false;
    const QImage image = DrawScratchCurve(points, box, width);
    return IsBlack(image, QPoint(x - box.Left, y - box.Top));
}

bool CurveLabelPoint(QPoint p0, QPoint p1, QPoint p2, QPoint p3, QPoint& point)
{
    const std::array<QPoint, 4> points{p0, p1, p2, p3};
    const TRect box = BoundsOfPoints(points);
    const QPoint origin(box.Left, box.Top);
    // Most links have no parallel twin: their label sits at the chord's middle without drawing.
    if (const std::optional<QPoint> near = NearLabelPoint(p0, p1, p3, origin)) {
        point = *near;
        return true;
    }
    point = QPoint(-1, -1);
    const QImage image = DrawScratchCurve(points, box, kLabelPenWidth);
    if (image.isNull())
        return false;
    // The search runs in the scratch image's coordinates, which the image's size keeps small.
    const QPoint c = p1 - origin;
    const QPoint m = Middle(p0 - origin, p3 - origin);
    const std::optional<QPoint> found = FindLabelPoint(image, c, m, p0 == p3);
    if (!found)
        return false;
    point = *found + origin;
    return true;
}

TRect CurveLabelRect(QPoint p0, QPoint p1, QPoint p2, QPoint p3, int32_t width, int32_t height)
{
    QPoint point;
    if (!CurveLabelPoint(p0, p1, p2, p3, point))
        return TRect{};
    const int32_t left = point.x() - width / 2;
    const int32_t top = point.y() - height / 2;
    return TRect{left, top, left + width, top + height};
}
