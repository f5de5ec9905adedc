#pragma once

#include "model/TEgoNetNodeDrawer.h"

#include <QList>
#include <QPoint>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QPainter;
class TEgoNetModel;
class TOrganizedNode;

// A point or direction of the hull computation, in 80-bit floats.
struct TRealVector
{
    long double X = 0;
    long double Y = 0;

    friend TRealVector operator+(TRealVector a, TRealVector b) { return {a.X + b.X, a.Y + b.Y}; }
    friend TRealVector operator-(TRealVector a, TRealVector b) { return {a.X - b.X, a.Y - b.Y}; }
    friend TRealVector operator*(long double f, TRealVector v) { return {f * v.X, f * v.Y}; }
    bool operator==(const TRealVector&) const = default;
};

long double Length(TRealVector v);
// (y, -x): on the screen, with y downwards, a quarter turn counter-clockwise.
TRealVector QuarterTurn(TRealVector v);
// The cosine of the angle between a and b; 0 when either has length 0.
long double CosAngle(TRealVector a, TRealVector b);

// One hull candidate: a node's centre and the points where the outline touches the circle
// around it, on the incoming and on the outgoing hull edge.
struct TConvexHillNode
{
    TRealVector Position;
    TRealVector InPoint;
    TRealVector OutPoint;
};

// The candidates of one hull computation; clearing the list frees them.
class TNodeList
{
public:
    TConvexHillNode* Add(TRealVector position);
    void Clear() { FItems.clear(); }
    int32_t Count() const { return int32_t(FItems.size()); }
    TConvexHillNode* operator[](int32_t i) const { return FItems[size_t(i)].get(); }

private:
    std::vector<std::unique_ptr<TConvexHillNode>> FItems;
};

// The hull nodes in walking order, the first repeated at the end. They live in the work list of
// the TClusterOutlines that computed them, until its next computation.
using TConvexHull = std::vector<const TConvexHillNode*>;

// The outlines the graph view paints round the clusters of its nodes: the convex hull of a
// cluster's nodes grown by a radius, drawn as a thick rounded line and labelled with the cluster's
// number. One object serves every cluster of every repaint; it is not re-entrant.
class TClusterOutlines
{
public:
    static constexpr int32_t MinRadius = 15;

    // Gift wrapping from a start point above and left of every node, so that the walk runs
    // clockwise on the screen. Points of a hull edge are included, the nearer first. Every node
    // gets the tangent points at distance radius on its incoming and outgoing edge. Empty for no
    // points; a single place (one node, or all at one place) gives that node twice, both tangent
    // points on its centre.
    TConvexHull ConvexHull(std::span<const QPoint> points, int32_t radius);

    // One outline per cluster value of the enabled nodes, in sorted order, round every node of
    // that cluster, enabled or not. Labels show the value + 1 when showClusterLabels is on.
    void DrawClusterOutlines(QPainter& canvas, const TEgoNetModel& model, uint32_t hullColour,
                             bool showClusterLabels);
    // The outline round the nodes, with a radius of their largest size and at least MinRadius,
    // in colour (0x00BBGGRR) with a pen 3 wide; labelled number + 1 unless number is missing.
    void DrawClusterHull(QPainter& canvas, const QList<TOrganizedNode*>& nodes, uint32_t colour,
                         std::optional<int32_t> number);
    // number + 1 in bold 16-point "Tahoma" in colour, on a box of the canvas's brush colour whose
    // top-left corner is point.
    void DrawClusterLabel(QPainter& canvas, QPoint point, int32_t number, uint32_t colour);

private:
    TNodeList FWorkList;
    TLabelPainter FLabels;
};
