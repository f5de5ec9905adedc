#pragma once

#include "foundation/Geometry.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Curved links are cubic Bezier curves with the control points p0 .. p3. Their hit test and
// label placement look at pixels of the curve drawn on a scratch image with the same path the
// link painter draws, so what the user sees is what is hit.

// The curve from p0 to p3 with the control points p1 and p2.
QPainterPath BezierPath(QPoint p0, QPoint p1, QPoint p2, QPoint p3);

// True when the pixel (x, y) is painted by the curve drawn with a pen of the given width (at
// least 5). Outside the bounding box of the four points, right and bottom edges excluded,
// nothing is hit, except that a straight vertical or horizontal curve is hit anywhere within
// half the pen width of its column or row.
bool PointNearCurve(QPoint p0, QPoint p1, QPoint p2, QPoint p3, int32_t width, int32_t x, int32_t y);

// Where a link's label goes: the first pixel of the curve, drawn 10 pixels wide, met on the line
// between p1 and the middle of the chord p0 p3. False and (-1, -1) when there is none.
bool CurveLabelPoint(QPoint p0, QPoint p1, QPoint p2, QPoint p3, QPoint& point);

// CurveLabelPoint for one curve after another, as painting asks: one scratch image serves every
// search and is painted only where the search looks. Answers are remembered by the curve's shape
// relative to the top-left corner of its points' box, where the search draws it, so a curve
// moved as a whole is not searched again. One per thread.
class TCurveLabelSearch
{
public:
    TCurveLabelSearch();
    ~TCurveLabelSearch();
    TCurveLabelSearch(const TCurveLabelSearch&) = delete;
    TCurveLabelSearch& operator=(const TCurveLabelSearch&) = delete;

    // The label point; none when CurveLabelPoint finds none.
    std::optional<QPoint> LabelPoint(QPoint p0, QPoint p1, QPoint p2, QPoint p3);
    // Whether LabelPoint answers without drawing: near the middle, too large, or a known shape.
    bool Knows(QPoint p0, QPoint p1, QPoint p2, QPoint p3) const;
    // Takes an answer that another search found, as if this one had found it.
    void Remember(QPoint p0, QPoint p1, QPoint p2, QPoint p3, std::optional<QPoint> point);

private:
    struct TShape
    {
        QPoint P0, P1, P2, P3;

        bool operator==(const TShape&) const = default;
        friend size_t qHash(const TShape& shape, size_t seed = 0)
        {
            return qHashMulti(seed, shape.P0.x(), shape.P0.y(), shape.P1.x(), shape.P1.y(), shape.P2.x(),
                              shape.P2.y(), shape.P3.x(), shape.P3.y());
        }
    };

    // The curve relative to its box's corner, when it must be drawn and the box is small enough.
    static std::optional<TShape> ShapeToDraw(const std::array<QPoint, 4>& points, const TRect& box);
    void Remember(const TShape& shape, std::optional<QPoint> point);
    // The search of a curve that must be drawn, in the box's coordinates.
    std::optional<QPoint> Search(const std::array<QPoint, 4>& points, const TRect& box);

    QHash<TShape, std::optional<QPoint>> FKnown;
    std::vector<QPoint> FPixels;
    QImage FImage;
    // Stays on FImage; ends before it goes.
    std::unique_ptr<QPainter> FPainter;
};

// A width x height rectangle centred on the label point; (0, 0, 0, 0) when there is none.
TRect CurveLabelRect(QPoint p0, QPoint p1, QPoint p2, QPoint p3, int32_t width, int32_t height);
