#pragma once

#include "foundation/Geometry.h"

#include <QPainterPath>
#include <QPoint>

#include <cstdint>

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

// A width x height rectangle centred on the label point; (0, 0, 0, 0) when there is none.
TRect CurveLabelRect(QPoint p0, QPoint p1, QPoint p2, QPoint p3, int32_t width, int32_t height);
