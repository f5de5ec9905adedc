#pragma once

#include <QPoint>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// Integer pixel geometry with y growing downwards. Distances use FastSqrt rather than an exact
// square root: the layouts call them in their inner loops. Squared distances are taken in 64
// bits, so they stay exact for any two points whose coordinates differ by less than 2^31.

// A rectangle holds (x, y) when Left <= x < Right and Top <= y < Bottom; QRect's inclusive
// right and bottom edges would put every test off by one.
struct TRect
{
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    bool Contains(int32_t x, int32_t y) const { return Left <= x && x < Right && Top <= y && y < Bottom; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect&) const = default;
};

// Fifth-order series of sqrt(1 + t) after dividing x by 4 until it lies below 2; values below 1
// are not scaled up, so the result is coarse for small x (0.01 gives about 0.258). -1 for x < 0.
float FastSqrt(float x);

// -1 for n < 0, n itself for 0 and 1, otherwise FastSqrt(n).
float IntSqrt(int64_t n);

// Exact along a row or a column, FastSqrt of the squared distance otherwise.
float Distance(QPoint p, QPoint q);

// Zero counts as positive.
bool SameSign(int64_t a, int64_t b);

// Halves truncate towards zero.
QPoint Middle(QPoint p, QPoint q);
QPoint OffsetPoint(QPoint p, int32_t dx, int32_t dy);
// p moved by d, each coordinate held at the ends of the 32-bit range instead of wrapping round.
QPoint SaturatedOffset(QPoint p, QPoint d);
TRect SaturatedOffset(const TRect& r, QPoint d);
TRect SquareAround(QPoint p, int32_t size);

// (min x, min y, max x, max y): the largest point lies on the excluded right and bottom edges.
// With no points the result is (INT32_MAX, INT32_MAX, -2147483647, -2147483647).
TRect BoundsOfPoints(std::span<const QPoint> points);

// The point a pixels from p towards q; p itself for a <= 0. When p and q share a column the
// result lies below p, when they share a row to the right of p, wherever q is.
QPoint PointTowards(QPoint p, QPoint q, int32_t a);

// The middle of pq moved by offset to the left of the direction p -> q (as seen on screen);
// (0, 0) when p and q are less than 2 pixels apart.
QPoint OffsetMiddle(QPoint p, QPoint q, int32_t offset);

// Crossing of the segments ab and cd, rounded to whole pixels; false and (-1, -1) when they do
// not cross or are parallel. Products wrap at 32 bits, so coordinates beyond a few ten
// thousand give meaningless answers.
bool SegmentIntersection(QPoint a, QPoint b, QPoint c, QPoint d, QPoint& point);

// The first crossing of pq with the sides of rect, tried top, right, bottom, left.
bool LineRectIntersection(QPoint p, QPoint q, const TRect& rect, QPoint& point);

// True when point lies on the same side of each of the first edgeCount edges vertex i -> i + 1,
// a point on an edge counting as on its positive side. An edge count equal to the number of
// vertices closes the polygon.
bool PointInConvexPolygon(QPoint point, std::span<const QPoint> vertices, int32_t edgeCount);

// Hit test of a straight link p1 p2 drawn with the given pen width; the point must lie in the
// segment's bounding box, so a horizontal segment is hit on its own row only.
bool PointNearSegment(QPoint p1, QPoint p2, int32_t x, int32_t y, int32_t width);

// Head of an arrow from p pointing at q: the tip q, then the two corners of the base.
std::optional<std::array<QPoint, 3>> ArrowHead(QPoint p, QPoint q, int32_t length, int32_t halfWidth);
