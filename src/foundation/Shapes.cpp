#include "foundation/Shapes.h"

#include "foundation/Colors.h"
#include "foundation/Rounding.h"

#include <QPainterPath>
#include <QPen>
#include <QPolygon>

#include <algorithm>
#include <initializer_list>

namespace {

// Conversion to an integer cuts the fraction towards zero.
int32_t Trunc(double value)
{
    return int32_t(value);
}

// The side of the pentagon (and the star's outer pentagon) that fills a square of side size,
// and its apex at the middle of the square's top side.
int32_t PentagonSide(int32_t size)
{
    return RoundHalfEven(size * 0.5878);
}

QPoint Apex(QPoint topLeft, int32_t size)
{
    return QPoint(topLeft.x() + size / 2, topLeft.y());
}

// Nonzero winding fills the star's inner pentagon too, where even-odd would leave a hole.
QPainterPath ClosedWindingPath(std::initializer_list<QPoint> corners)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addPolygon(QPolygonF(QPolygon(corners)));
    path.closeSubpath();
    return path;
}

} // namespace

std::array<QPoint, 5> PentagonPoints(int32_t x, int32_t y, int32_t s)
{
    const int32_t a = Trunc(s * 0.809);
    const int32_t b = Trunc(s * 0.5878);
    const int32_t h = Trunc(s * 3.0777 / 2);
    return {QPoint(x, y), QPoint(x - a, y + b), QPoint(x - s / 2, y + h), QPoint(x + s / 2, y + h),
            QPoint(x + a, y + b)};
}

void DrawStar(QPainter& canvas, QPoint topLeft, int32_t size, bool outline, uint32_t colour)
{
    const int32_t s = PentagonSide(size);
    if (s <= 0)
        return;
    const QPoint apex = Apex(topLeft, size);
    const std::array<QPoint, 5> p = PentagonPoints(apex.x(), apex.y(), s);
    canvas.fillPath(ClosedWindingPath({p[0], p[2], p[4], p[1], p[3]}), ToQColor(colour));
    if (!outline)
        return;
    // The inner corners, from an upside-down pentagon; the two upper ones are moved onto the
    // line through the arms' tips so the outline meets it exactly.
    std::array<QPoint, 5> q = PentagonPoints(apex.x(), apex.y() + Trunc(s * 2.3512 / 2), -Trunc(s * 0.5878 * 0.3249 * 2));
    q[2].setY(p[4].y());
    q[3].setY(p[1].y());
    std::array<QPoint, 11> edges;
    edges[0] = p[0];
    for (size_t i = 1; i <= 5; ++i) {
        edges[2 * i - 1] = q[(i + 2) % 5];
        edges[2 * i] = p[i % 5];
    }
    canvas.drawPolyline(edges.data(), int(edges.size()));
}

void DrawPentagon(QPainter& canvas, QPoint topLeft, int32_t size, bool outline, uint32_t colour)
{
    const int32_t s = PentagonSide(size);
    if (s <= 0)
        return;
    const QPoint apex = Apex(topLeft, size);
    const std::array<QPoint, 5> p = PentagonPoints(apex.x(), apex.y(), s);
    const QPainterPath path = ClosedWindingPath({p[0], p[1], p[2], p[3], p[4]});
    canvas.fillPath(path, ToQColor(colour));
    if (outline)
        canvas.strokePath(path, canvas.pen());
}

void DrawCross(QPainter& canvas, QPoint topLeft, int32_t size, bool shadow, uint32_t colour)
{
    if (size <= 0)
        return;
    const QPen saved = canvas.pen();
    QPen pen = saved;
    pen.setStyle(Qt::SolidLine);
    const int32_t w = std::max(size / 4, 1);
    pen.setWidth(w);
    const int32_t half = size / 2;
    const int32_t quarter = size / 4;
    const int32_t hw = w / 2;
    // The bars end half a pen width inside the square, so the pen's ends stay within it.
    const auto drawFigure = [&](QPoint corner, const QColor& penColour) {
        pen.setColor(penColour);
        canvas.setPen(pen);
        const int32_t x = corner.x();
        const int32_t y = corner.y();
        canvas.drawLine(x + half, y + hw, x + half, y + size - hw - 1);
        const int32_t barY = y + quarter + hw;
        canvas.drawLine(RoundHalfEven(x + size * 0.2), barY, RoundHalfEven(x + size * 0.8), barY);
    };
    if (shadow)
        drawFigure(topLeft + QPoint(1, 1), Qt::black);
    drawFigure(topLeft, ToQColor(colour));
    canvas.setPen(saved);
}
