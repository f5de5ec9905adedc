#include "foundation/Curves.h"

#include "foundation/Rounding.h"

#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

constexpr int32_t kLabelPenWidth = 10;

// Control points closer than this to the chord's middle put the label there without a search.
constexpr int32_t kLabelNear = 10;

// One scratch image per call costs four bytes per pixel of the bounding box. Control points
// dragged far away could ask for gigabytes; beyond this limit (128 MB) a curve is not hit and
// gets no label instead.
constexpr int64_t kMaxScratchPixels = int64_t(1) << 25;

// Shapes remembered by a label search before it forgets them all and starts again.
constexpr qsizetype kKnownShapes = 1 << 15;

// Strokes the curve black, relative to origin, as the link painter draws it but without
// antialiasing.
void StrokeCurve(QPainter& painter, const std::array<QPoint, 4>& points, QPoint origin, int32_t penWidth)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(BezierPath(points[0] - origin, points[1] - origin, points[2] - origin, points[3] - origin));
}

bool TooLargeToDraw(const TRect& box)
{
    return (int64_t(box.Right) - box.Left + 1) * (int64_t(box.Bottom) - box.Top + 1) > kMaxScratchPixels;
}

// A white image one pixel larger than box in each direction with the curve drawn black on it,
// box's top-left corner at (0, 0). Null when the image would be too large.
QImage DrawScratchCurve(const std::array<QPoint, 4>& points, const TRect& box, int32_t penWidth)
{
    if (TooLargeToDraw(box))
        return QImage();
    QImage image(box.Right - box.Left + 1, box.Bottom - box.Top + 1, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    StrokeCurve(painter, points, QPoint(box.Left, box.Top), penWidth);
    return image;
}

bool IsBlack(const QImage& image, QPoint p)
{
    return image.rect().contains(p) && (image.pixel(p) & 0x00FFFFFF) == 0;
}

// Appends at(i) for i running from 'from' to 'to', both included.
template <typename At>
void AppendPixels(std::vector<QPoint>& pixels, int32_t from, int32_t to, At at)
{
    const int32_t step = to >= from ? 1 : -1;
    for (int32_t i = from;; i += step) {
        pixels.push_back(at(i));
        if (i == to)
            return;
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

// The pixels the search looks at, in the order it looks: in the box's coordinates, c is the
// control point p1, m the middle of the chord; the near cases are NearLabelPoint's.
void SearchedPixels(QPoint c, QPoint m, bool selfLoop, std::vector<QPoint>& pixels)
{
    const auto xOnLine = [&](int32_t y) {
        return QPoint(c.x() + RoundHalfEven(double(m.x() - c.x()) / (m.y() - c.y()) * (y - c.y())), y);
    };
    const auto yOnLine = [&](int32_t x) {
        return QPoint(x, c.y() + RoundHalfEven(double(m.y() - c.y()) / (m.x() - c.x()) * (x - c.x())));
    };
    const int32_t fx = std::abs(m.x() - c.x());
    const int32_t fy = std::abs(m.y() - c.y());
    pixels.clear();
    if (selfLoop)
        return AppendPixels(pixels, c.y(), m.y(), xOnLine);

    const int32_t minX = std::min(c.x(), m.x());
    const int32_t maxX = std::max(c.x(), m.x());
    const int32_t minY = std::min(c.y(), m.y());
    const int32_t maxY = std::max(c.y(), m.y());
    if (fx <= kLabelNear)
        return AppendPixels(pixels, minY, maxY, [&](int32_t y) { return QPoint(m.x(), y); });
    if (fy <= kLabelNear)
        return AppendPixels(pixels, minX, maxX, [&](int32_t x) { return QPoint(x, m.y()); });
    if (fy < fx)
        return AppendPixels(pixels, minX, maxX, yOnLine);
    AppendPixels(pixels, minY, maxY, xOnLine);
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

TCurveLabelSearch::TCurveLabelSearch() = default;

TCurveLabelSearch::~TCurveLabelSearch() = default;

std::optional<TCurveLabelSearch::TShape> TCurveLabelSearch::ShapeToDraw(const std::array<QPoint, 4>& points,
                                                                          const TRect& box)
{
    const QPoint origin(box.Left, box.Top);
    if (NearLabelPoint(points[0], points[1], points[3], origin) || TooLargeToDraw(box))
        return std::nullopt;
    // Within a small enough box the coordinates fit in 32 bits.
    return TShape{points[0] - origin, points[1] - origin, points[2] - origin, points[3] - origin};
}

std::optional<QPoint> TCurveLabelSearch::LabelPoint(QPoint p0, QPoint p1, QPoint p2, QPoint p3)
{
    const std::array<QPoint, 4> points{p0, p1, p2, p3};
    const TRect box = BoundsOfPoints(points);
    const QPoint origin(box.Left, box.Top);
    // Most links have no parallel twin: their label sits at the chord's middle without drawing.
    if (const std::optional<QPoint> near = NearLabelPoint(p0, p1, p3, origin))
        return near;
    const std::optional<TShape> shape = ShapeToDraw(points, box);
    if (!shape)
        return std::nullopt;
    std::optional<QPoint> found;
    if (const auto known = FKnown.constFind(*shape); known != FKnown.cend()) {
        found = *known;
    } else {
        found = Search(points, box);
        Remember(*shape, found);
    }
    return found ? std::optional<QPoint>(*found + origin) : std::nullopt;
}

bool TCurveLabelSearch::Knows(QPoint p0, QPoint p1, QPoint p2, QPoint p3) const
{
    const std::array<QPoint, 4> points{p0, p1, p2, p3};
    const std::optional<TShape> shape = ShapeToDraw(points, BoundsOfPoints(points));
    return !shape || FKnown.contains(*shape);
}

void TCurveLabelSearch::Remember(QPoint p0, QPoint p1, QPoint p2, QPoint p3, std::optional<QPoint> point)
{
    const std::array<QPoint, 4> points{p0, p1, p2, p3};
    const TRect box = BoundsOfPoints(points);
    if (const std::optional<TShape> shape = ShapeToDraw(points, box))
        Remember(*shape, point ? std::optional<QPoint>(*point - QPoint(box.Left, box.Top)) : std::nullopt);
}

void TCurveLabelSearch::Remember(const TShape& shape, std::optional<QPoint> point)
{
    if (FKnown.size() >= kKnownShapes)
        FKnown.clear();
    FKnown.insert(shape, point);
}

std::optional<QPoint> TCurveLabelSearch::Search(const std::array<QPoint, 4>& points, const TRect& box)
{
    const QPoint origin(box.Left, box.Top);
    SearchedPixels(points[1] - origin, Middle(points[0] - origin, points[3] - origin), points[0] == points[3],
                   FPixels);
    // Only the pixels the search looks at are drawn: the part of the box they span.
    const QRect inBox(0, 0, box.Right - box.Left + 1, box.Bottom - box.Top + 1);
    QRect spanned;
    for (const QPoint& pixel : FPixels)
        if (inBox.contains(pixel))
            spanned |= QRect(pixel, QSize(1, 1));
    if (spanned.isEmpty())
        return std::nullopt;
    if (FImage.width() < spanned.width() || FImage.height() < spanned.height()) {
        FPainter.reset();
        FImage = QImage(std::max(FImage.width(), spanned.width()), std::max(FImage.height(), spanned.height()),
                        QImage::Format_RGB32);
        if (FImage.isNull())
            return std::nullopt;
        FPainter = std::make_unique<QPainter>(&FImage);
    }
    // The same curve in the box's coordinates, shifted by whole pixels, covers the same pixels.
    FPainter->resetTransform();
    FPainter->fillRect(QRect(QPoint(0, 0), spanned.size()), Qt::white);
    FPainter->translate(-spanned.topLeft());
    StrokeCurve(*FPainter, points, origin, kLabelPenWidth);
    for (const QPoint& pixel : FPixels)
        if (spanned.contains(pixel) && IsBlack(FImage, pixel - spanned.topLeft()))
            return pixel;
    return std::nullopt;
}

bool CurveLabelPoint(QPoint p0, QPoint p1, QPoint p2, QPoint p3, QPoint& point)
{
    TCurveLabelSearch search;
    const std::optional<QPoint> found = search.LabelPoint(p0, p1, p2, p3);
    point = found.value_or(QPoint(-1, -1));
    return found.has_value();
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
