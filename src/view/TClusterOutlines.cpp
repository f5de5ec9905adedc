#include "view/TClusterOutlines.h"

#include "foundation/Colors.h"
#include "foundation/Rounding.h"
#include "model/TEgoNetModel.h"

#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Of two turns whose cosines differ by less than this, the nearer point wins, so that points on a
// hull edge are taken in order.
constexpr long double kTurnTolerance = 0.0001L;
constexpr long double kMinDirectionLength = 0.0001L;
constexpr int32_t kPenWidth = 3;
constexpr int32_t kFullCircle = 360 * 16;

TRealVector ToReal(QPoint p)
{
    return {static_cast<long double>(p.x()), static_cast<long double>(p.y())};
}

QPoint RoundedPoint(TRealVector v)
{
    return QPoint(RoundHalfEven(double(v.X)), RoundHalfEven(double(v.Y)));
}

void SetTangents(TConvexHillNode& node, TRealVector in, TRealVector out, int32_t radius)
{
    const auto touch = [&](TRealVector direction) {
        const long double length = std::max(Length(direction), kMinDirectionLength);
        return node.Position + (radius / length) * QuarterTurn(direction);
    };
    node.InPoint = touch(in);
    node.OutPoint = touch(out);
}

// Angles in Qt's arcs run counter-clockwise on the screen, in sixteenths of a degree.
int32_t Sixteenths(long double radians)
{
    return RoundHalfEven(double(radians * 180 * 16 / std::numbers::pi_v<long double>));
}

// The bend of the outline round a hull node, from its outgoing tangent point counter-clockwise
// (on the screen) to its incoming one. Both are taken before rounding: rounded, the two points of
// a slight bend can swap sides and the arc would become a full circle. Where the tolerance has
// taken a point just inside an edge the walk turns back a little; that bend goes the short way,
// clockwise, instead of round the whole circle.
void DrawBend(QPainter& canvas, const TConvexHillNode& node, int32_t radius)
{
    const TRealVector out = node.OutPoint - node.Position;
    const TRealVector in = node.InPoint - node.Position;
    // With y downwards, counter-clockwise on the screen is the negative sense of the formulas.
    const long double cross = out.Y * in.X - out.X * in.Y;
    const long double dot = out.X * in.X + out.Y * in.Y;
    // Half a turn, at the ends of a row of nodes, goes round the outside whatever sign the
    // rounding errors of a slanted row leave on the cross product.
    const long double span = dot < 0 && std::fabs(cross) <= -dot * 1e-12L ? std::numbers::pi_v<long double>
                                                                           : std::atan2(cross, dot);
    const QPoint c = RoundedPoint(node.Position);
    canvas.drawArc(QRectF(qreal(c.x()) - radius, qreal(c.y()) - radius, 2.0 * radius, 2.0 * radius),
                   Sixteenths(std::atan2(-out.Y, out.X)), Sixteenths(span));
}

} // namespace

long double Length(TRealVector v)
{
    return std::sqrt(v.X * v.X + v.Y * v.Y);
}

TRealVector QuarterTurn(TRealVector v)
{
    return {v.Y, -v.X};
}

long double CosAngle(TRealVector a, TRealVector b)
{
    const long double lengths = Length(a) * Length(b);
    return lengths == 0 ? 0 : (a.X * b.X + a.Y * b.Y) / lengths;
}

TConvexHillNode* TNodeList::Add(TRealVector position)
{
    FItems.push_back(std::make_unique<TConvexHillNode>(TConvexHillNode{position, position, position}));
    return FItems.back().get();
}

TConvexHull TClusterOutlines::ConvexHull(std::span<const QPoint> points, int32_t radius)
{
    FWorkList.Clear();
    // A second node at the start's place could be stepped onto instead of the start, and the walk
    // would never close; one candidate per place gives the same outline.
    QSet<QPoint> places;
    long double left = 0;
    long double top = 0;
    for (const QPoint p : points) {
        if (places.contains(p))
            continue;
        places.insert(p);
        FWorkList.Add(ToReal(p));
        left = std::min(left, p.x() - 1.0L);
        top = std::min(top, p.y() - 1.0L);
    }
    const int32_t count = FWorkList.Count();
    if (count == 0)
        return {};

    // The walk starts at the node seen at the smallest angle below the x axis from a point above
    // and left of all nodes, and then always turns as little as possible. That point is the
    // origin; nodes above or left of it would leave it inside the hull and the walk would run the
    // wrong way round, so it moves out past them.
    TConvexHillNode origin{TRealVector{left, top}, {}, {}};
    TConvexHillNode* current = &origin;
    const TConvexHillNode* start = nullptr;
    std::vector<TConvexHillNode*> walk;
    TRealVector dir{1, 0};
    std::vector<bool> inHull(size_t(count), false);
    for (;;) {
        long double best = -2;
        long double bestLength = 0;
        int32_t chosenIndex = -1;
        TRealVector out;
        for (int32_t i = 0; i < count; ++i) {
            const TConvexHillNode* e = FWorkList[i];
            if (inHull[size_t(i)] && e != start)
                continue;
            const TRealVector v = e->Position - current->Position;
            const long double length = Length(v);
            if (length == 0)
                continue;
            const long double cs = CosAngle(dir, v);
            const bool turnsLess = cs > best + kTurnTolerance;
            if (!turnsLess && !(cs > best - kTurnTolerance && length < bestLength))
                continue;
            if (turnsLess)
                best = cs;
            bestLength = length;
            chosenIndex = i;
            out = v;
        }
        SetTangents(*current, dir, out, radius);

        // Nothing left to step to happens only at a single place, where current is the start.
        TConvexHillNode* chosen = chosenIndex < 0 ? current : FWorkList[chosenIndex];
        if (chosenIndex >= 0)
            inHull[size_t(chosenIndex)] = true;
        walk.push_back(chosen);
        dir = chosen->Position - current->Position;
        if (!start)
            start = chosen;
        else if (chosen == start)
            break;
        current = chosen;
    }

    // The start's tangents were taken from the walk's first step; its real edges are known now.
    TConvexHillNode& head = *walk.front();
    SetTangents(head, head.Position - walk[walk.size() - 2]->Position, walk[1]->Position - head.Position, radius);
    return TConvexHull(walk.begin(), walk.end());
}

void TClusterOutlines::DrawClusterOutlines(QPainter& canvas, const TEgoNetModel& model, uint32_t hullColour,
                                           bool showClusterLabels)
{
    QStringList ids;
    model.ClusterValues(ids);
    QList<TOrganizedNode*> nodes;
    for (const QString& id : std::as_const(ids)) {
        model.NodesInCluster(id, nodes);
        bool isNumber = false;
        const int32_t number = id.toInt(&isNumber, 10);
        // Only a graph file can bring a cluster value that is not a decimal integer: the cluster
        // is outlined, but there is no number to label it with.
        DrawClusterHull(canvas, nodes, hullColour,
                        showClusterLabels && isNumber ? std::optional<int32_t>(number) : std::nullopt);
    }
}

void TClusterOutlines::DrawClusterHull(QPainter& canvas, const QList<TOrganizedNode*>& nodes, uint32_t colour,
                                       std::optional<int32_t> number)
{
    if (nodes.isEmpty())
        return;
    QList<QPoint> points;
    int32_t radius = MinRadius;
    for (const TOrganizedNode* node : nodes) {
        points.append(node->Position);
        radius = std::max(radius, node->Size);
    }
    const TConvexHull hull = ConvexHull(points, radius);

    canvas.save();
    canvas.setPen(QPen(ToQColor(colour), kPenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPoint labelPoint;
    if (hull.size() <= 2) {
        // Nodes all at one place, one node or several on top of each other, get a circle.
        const TRealVector c = hull[0]->Position;
        canvas.drawArc(QRectF(double(c.X) - radius, double(c.Y) - radius, 2.0 * radius, 2.0 * radius), 0,
                       kFullCircle);
        labelPoint = RoundedPoint(c + ToReal(QPoint(radius, radius / 4)));
    } else {
        std::optional<QPoint> rightmost;
        for (size_t k = 0; k + 1 < hull.size(); ++k) {
            const TConvexHillNode& a = *hull[k];
            const QPoint in = RoundedPoint(a.InPoint);
            const QPoint out = RoundedPoint(a.OutPoint);
            if (in != out)
                DrawBend(canvas, a, radius);
            canvas.drawLine(out, RoundedPoint(hull[k + 1]->InPoint));
            if (!rightmost || in.x() > rightmost->x())
                rightmost = in;
        }
        labelPoint = RoundedPoint(ToReal(*rightmost) + ToReal(QPoint(0, radius)));
    }
    canvas.restore();

    if (number)
        DrawClusterLabel(canvas, labelPoint, *number, colour);
}

void TClusterOutlines::DrawClusterLabel(QPainter& canvas, QPoint point, int32_t number, uint32_t colour)
{
    const QString text = QString::number(int64_t(number) + 1);
    const TFontData font{QStringLiteral("Tahoma"), 16, colour, TFontData::fsBold};
    const int32_t dpi = canvas.device()->logicalDpiY();
    const int32_t w = FLabels.TextWidth(text, font, dpi);
    const int32_t h = FLabels.TextHeight(font, dpi);

    // The label is written on a box one pixel larger each way than the text, which is then
    // squeezed into the text's own size.
    canvas.save();
    canvas.translate(point);
    canvas.scale(qreal(w) / (w + 1), qreal(h) / (h + 1));
    FLabels.Draw(canvas, TRect{0, 0, w + 1, h + 1}, QPoint(0, 0), text, font, colour, canvas.brush());
    canvas.restore();
}
