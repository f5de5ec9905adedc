#include "foundation/Geometry.h"

#include "foundation/Rounding.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// Saturated at the largest int64: points near opposite ends of the coordinate range are farther
// apart than it holds, and such distances need only be huge, not exact.
int64_t SquaredDistance(QPoint p, QPoint q)
{
    const uint64_t dx = uint64_t(std::abs(int64_t(q.x()) - p.x()));
    const uint64_t dy = uint64_t(std::abs(int64_t(q.y()) - p.y()));
    constexpr uint64_t kMax = uint64_t(std::numeric_limits<int64_t>::max());
    const uint64_t xx = dx * dx;
    const uint64_t yy = dy * dy;
    return int64_t(xx > kMax || yy > kMax - std::min(xx, kMax) ? kMax : xx + yy);
}

// The direction p -> q divided by d, as 32-bit floats.
struct TDirection
{
    float X;
    float Y;
};

TDirection DirectionOver(QPoint p, QPoint q, float d)
{
    return {float(int64_t(q.x()) - p.x()) / d, float(int64_t(q.y()) - p.y()) / d};
}

int32_t RoundedTimes(int32_t factor, float unit)
{
    return RoundHalfEven(double(factor) * double(unit));
}

// Segment intersection works in 32-bit integers that wrap on overflow; unsigned arithmetic
// gives that wraparound without undefined behaviour.
int32_t Wrap(uint32_t value)
{
    return int32_t(value);
}

int32_t Mul32(int32_t a, int32_t b)
{
    return Wrap(uint32_t(a) * uint32_t(b));
}

int32_t Add32(int32_t a, int32_t b)
{
    return Wrap(uint32_t(a) + uint32_t(b));
}

int32_t Sub32(int32_t a, int32_t b)
{
    return Wrap(uint32_t(a) - uint32_t(b));
}

// x * u + y * v
int32_t Side32(QPoint p, int32_t u, int32_t v)
{
    return Add32(Mul32(p.x(), u), Mul32(p.y(), v));
}

} // namespace

float FastSqrt(float x)
{
    if (x < 0)
        return -1;
    // Infinity would never leave the reduction loop.
    if (x == 0 || x == 1 || std::isinf(x))
        return x;
    // Divided by 4 until below 2 (for x above 2), n times: with x = m * 2^e and 1/2 <= m < 1
    // that is n = e / 2, read from the float's exponent bits, and scaling by powers of two is
    // exact. Every factor here (2^-n, 2^n with n <= 64) is a normal float.
    const auto powerOfTwo = [](int k) { return std::bit_cast<float>(uint32_t(127 + k) << 23); };
    int n = 0;
    if (x > 2) {
        n = (int((std::bit_cast<uint32_t>(x) >> 23) & 0xFF) - 126) / 2;
        x = x * powerOfTwo(-n) * powerOfTwo(-n);
    }
    // Every intermediate is stored as a 32-bit float: the layouts' results depend on these bits.
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
    return r * powerOfTwo(n);
}

float IntSqrt(int64_t n)
{
    if (n < 0)
        return -1;
    if (n <= 1)
        return float(n);
    return FastSqrt(float(n));
}

float Distance(QPoint p, QPoint q)
{
    if (p.x() == q.x())
        return float(std::abs(int64_t(q.y()) - p.y()));
    if (p.y() == q.y())
        return float(std::abs(int64_t(q.x()) - p.x()));
    return IntSqrt(SquaredDistance(p, q));
}

bool SameSign(int64_t a, int64_t b)
{
    return (a >= 0) == (b >= 0);
}

QPoint Middle(QPoint p, QPoint q)
{
    return QPoint(int32_t((int64_t(p.x()) + q.x()) / 2), int32_t((int64_t(p.y()) + q.y()) / 2));
}

QPoint OffsetPoint(QPoint p, int32_t dx, int32_t dy)
{
    return QPoint(p.x() + dx, p.y() + dy);
}

QPoint SaturatedOffset(QPoint p, QPoint d)
{
    const auto move = [](int32_t v, int32_t by) {
        return int32_t(std::clamp<int64_t>(int64_t(v) + by, std::numeric_limits<int32_t>::min(),
                                           std::numeric_limits<int32_t>::max()));
    };
    return QPoint(move(p.x(), d.x()), move(p.y(), d.y()));
}

TRect SaturatedOffset(const TRect& r, QPoint d)
{
    const QPoint topLeft = SaturatedOffset(QPoint(r.Left, r.Top), d);
    const QPoint bottomRight = SaturatedOffset(QPoint(r.Right, r.Bottom), d);
    return TRect{topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()};
}

TRect SquareAround(QPoint p, int32_t size)
{
    const int32_t left = p.x() - size / 2;
    const int32_t top = p.y() - size / 2;
    return TRect{left, top, left + size, top + size};
}

TRect BoundsOfPoints(std::span<const QPoint> points)
{
    TRect bounds{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(), -2147483647,
                 -2147483647};
    for (const QPoint& p : points) {
        bounds.Left = std::min(bounds.Left, p.x());
        bounds.Top = std::min(bounds.Top, p.y());
        bounds.Right = std::max(bounds.Right, p.x());
        bounds.Bottom = std::max(bounds.Bottom, p.y());
    }
    return bounds;
}

QPoint PointTowards(QPoint p, QPoint q, int32_t a)
{
    if (a <= 0)
        return p;
    if (q.x() == p.x())
        return QPoint(p.x(), p.y() + a);
    if (q.y() == p.y())
        return QPoint(p.x() + a, p.y());
    // Both coordinates differ, so d >= FastSqrt(2) > 0.
    const TDirection u = DirectionOver(p, q, IntSqrt(SquaredDistance(p, q)));
    return QPoint(RoundedTimes(a, u.X) + p.x(), RoundedTimes(a, u.Y) + p.y());
}

QPoint OffsetMiddle(QPoint p, QPoint q, int32_t offset)
{
    const float d = IntSqrt(SquaredDistance(p, q));
    if (d < 2)
        return QPoint(0, 0);
    const QPoint m = Middle(p, q);
    const TDirection u = DirectionOver(p, q, d);
    return QPoint(m.x() + RoundedTimes(offset, u.Y), m.y() + RoundedTimes(offset, -u.X));
}

bool SegmentIntersection(QPoint a, QPoint b, QPoint c, QPoint d, QPoint& point)
{
    point = QPoint(-1, -1);

    // Line ab: c and d on the same side means no crossing.
    const int32_t u = Sub32(b.y(), a.y());
    const int32_t v = Sub32(a.x(), b.x());
    const int32_t sc = Side32(c, u, v);
    const int32_t sa = Side32(a, u, v);
    if (sc != sa) {
        const int32_t st = Sub32(Side32(d, u, v), sa);
        if (st != 0 && SameSign(Sub32(sc, sa), st))
            return false;
    }

    // Line cd: the same for a and b.
    const int32_t w = Sub32(d.y(), c.y());
    const int32_t z = Sub32(c.x(), d.x());
    const int32_t k = Side32(c, w, z);
    const int32_t ta = Sub32(Side32(a, w, z), k);
    if (ta != 0) {
        const int32_t tb = Sub32(Side32(b, w, z), k);
        if (tb != 0 && SameSign(ta, tb))
            return false;
    }

    const int32_t det = Sub32(Mul32(z, u), Mul32(w, v));
    if (det == 0)
        return false;
    const int32_t nx = Sub32(Mul32(z, sa), Mul32(k, v));
    const int32_t ny = Sub32(Mul32(u, k), Mul32(sa, w));
    point = QPoint(RoundHalfEven(double(nx) / det), RoundHalfEven(double(ny) / det));
    return true;
}

bool LineRectIntersection(QPoint p, QPoint q, const TRect& rect, QPoint& point)
{
    const QPoint topLeft(rect.Left, rect.Top);
    const QPoint topRight(rect.Right, rect.Top);
    const QPoint bottomRight(rect.Right, rect.Bottom);
    const QPoint bottomLeft(rect.Left, rect.Bottom);
    return SegmentIntersection(p, q, topLeft, topRight, point)
        || SegmentIntersection(p, q, topRight, bottomRight, point)
        || SegmentIntersection(p, q, bottomRight, bottomLeft, point)
        || SegmentIntersection(p, q, bottomLeft, topLeft, point);
}

bool PointInConvexPolygon(QPoint point, std::span<const QPoint> vertices, int32_t edgeCount)
{
    const size_t n = vertices.size();
    const size_t edges = std::min(size_t(std::max(edgeCount, 0)), n);
    int64_t firstSide = 0;
    for (size_t i = 0; i < edges; ++i) {
        const QPoint& from = vertices[i];
        const QPoint& to = vertices[(i + 1) % n];
        const int64_t side = (int64_t(point.y()) - from.y()) * (int64_t(to.x()) - from.x())
            - (int64_t(point.x()) - from.x()) * (int64_t(to.y()) - from.y());
        if (i == 0)
            firstSide = side;
        else if (!SameSign(firstSide, side))
            return false;
    }
    return true;
}

bool PointNearSegment(QPoint p1, QPoint p2, int32_t x, int32_t y, int32_t width)
{
    if (x < std::min(p1.x(), p2.x()) || x > std::max(p1.x(), p2.x()) || y < std::min(p1.y(), p2.y())
        || y > std::max(p1.y(), p2.y()))
        return false;
    const int32_t e = std::max(width / 2, 4);
    const QPoint point(x, y);
    // The segment widened vertically catches flat links, widened horizontally steep ones. The
    // fourth edge is left out: the bounding-box test above already closes the band.
    const std::array<QPoint, 4> widenedVertically{QPoint(p1.x(), p1.y() + e), QPoint(p2.x(), p2.y() + e),
                                                  QPoint(p2.x(), p2.y() - e), QPoint(p1.x(), p1.y() - e)};
    const std::array<QPoint, 4> widenedHorizontally{QPoint(p1.x() + e, p1.y()), QPoint(p2.x() + e, p2.y()),
                                                    QPoint(p2.x() - e, p2.y()), QPoint(p1.x() - e, p1.y())};
    return PointInConvexPolygon(point, widenedVertically, 3) || PointInConvexPolygon(point, widenedHorizontally, 3);
}

std::optional<std::array<QPoint, 3>> ArrowHead(QPoint p, QPoint q, int32_t length, int32_t halfWidth)
{
    if (length <= 0 || halfWidth <= 0)
        return std::nullopt;
    // Below 1 only when p = q.
    const float d = IntSqrt(SquaredDistance(p, q));
    if (d < 1)
        return std::nullopt;
    const TDirection u = DirectionOver(p, q, d);
    const QPoint base(q.x() - RoundedTimes(length, u.X), q.y() - RoundedTimes(length, u.Y));
    const QPoint offset(RoundedTimes(halfWidth, u.Y), RoundedTimes(halfWidth, -u.X));
    return std::array<QPoint, 3>{q, base + offset, base - offset};
}
