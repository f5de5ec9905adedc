#include "model/TEgoNetEdgeDrawer.h"

#include "foundation/Colors.h"

#include <QLocale>
#include <QPaintEngine>
#include <QPen>
#include <QPolygon>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Links to paint before the helper shares their label searches.
constexpr size_t kSharedSearchLinks = 64;

Qt::PenStyle LinePenStyle(uint8_t style)
{
    switch (style) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF nearest = a + t * ab;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

// PointNearCurve draws the curve off-screen for every point inside its bounding box; in a large
// network most links' boxes hold the point while the curve passes far from it. The flattened curve
// tells those apart cheaply, and the pixel test decides the rest, so hits agree with the drawing.
// The margin covers the pen's rounding to pixels and the flattening. It also keeps a straight
// vertical or horizontal link from being hit beyond its ends.
bool NearCurve(QPoint p0, QPoint p1, QPoint p2, QPoint p3, int32_t width, QPoint point)
{
    const double reach = std::max(width, 5) / 2.0 + 3;
    const std::array<QPoint, 4> points{p0, p1, p2, p3};
    const TRect box = BoundsOfPoints(points);
    if (point.x() < box.Left - reach || point.x() > box.Right + reach || point.y() < box.Top - reach
        || point.y() > box.Bottom + reach)
        return false;
    double nearest = std::numeric_limits<double>::infinity();
    for (const QPolygonF& line : BezierPath(p0, p1, p2, p3).toSubpathPolygons())
        for (qsizetype i = 1; i < line.size(); ++i)
            nearest = std::min(nearest, DistanceToSegment(point, line[i - 1], line[i]));
    return nearest <= reach && PointNearCurve(p0, p1, p2, p3, width, point.x(), point.y());
}

bool LinkInDrawingRange(const TEgoNetEdge& link)
{
    if (!InDrawingRange(*link.Source) || !InDrawingRange(*link.Target) || !InDrawingRange(link.MidPoint)
        || !InDrawingRange(link.CurvePoint) || !InDrawingRange(link.Width) || !InDrawingRange(link.HeadLength)
        || !InDrawingRange(link.HeadWidth))
        return false;
    for (int32_t i = 0; i < link.Bends.Count(); ++i)
        if (!InDrawingRange(link.Bends.Get(i)))
            return false;
    return true;
}

// The square around a link's middle control point that the user drags, with the current brush.
void DrawHandleSquare(QPainter& canvas, QPoint middle)
{
    canvas.setPen(QPen(Qt::black, 1));
    canvas.drawRect(QRect(middle.x() - 3, middle.y() - 3, 5, 5));
}

} // namespace

TEgoNetEdgeDrawer::TEgoNetEdgeDrawer(bool searchBeside)
    : FSearchBeside(searchBeside)
{
}

QString TEgoNetEdgeDrawer::LinkLabelText(const TEgoNetEdge& link, bool withType, bool withCaption, bool withStrength)
{
    QString text;
    if (withType)
        text = link.TypeName();
    if (withCaption) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += link.Caption();
    }
    if (withStrength) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        text += locale.toString(double(link.Strength), 'g', 4);
    }
    return text;
}

void TEgoNetEdgeDrawer::DrawLink(QPainter& canvas, TEgoNetEdge* link, bool singleSelected,
                                 const TLinkDrawOptions& options)
{
    DrawLinks(canvas, std::span(&link, 1), singleSelected ? link : nullptr, options);
}

void TEgoNetEdgeDrawer::DrawLinks(QPainter& canvas, std::span<TEgoNetEdge* const> links,
                                  const TEgoNetEdge* singleSelected, const TLinkDrawOptions& options,
                                  const std::function<void()>& alongside)
{
    if (!canvas.isActive()) {
        if (alongside)
            alongside();
        return;
    }
    const QPen savedPen = canvas.pen();
    const QBrush savedBrush = canvas.brush();
    const auto paint = [&] {
        for (size_t i = 0; i < links.size(); ++i)
            if (links[i])
                PaintLink(canvas, links[i], qsizetype(i), links[i] == singleSelected, options, savedBrush);
    };
    // A few links are not worth handing over.
    if ((FSearchBeside && links.size() >= kSharedSearchLinks) || alongside) {
        FStates = std::vector<std::atomic<uint8_t>>(links.size());
        FFound.assign(links.size(), std::nullopt);
        FHelper.Run(
            [&] {
                SearchLabelsBackwards(links, options);
                if (alongside)
                    alongside();
            },
            paint);
        for (size_t i = 0; i < links.size(); ++i)
            if (FStates[i].load(std::memory_order_relaxed) == kFound) {
                const TEgoNetEdge& link = *links[i];
                FLabelPoints.Remember(link.Source->Position, link.MidPoint, link.CurvePoint, link.Target->Position,
                                      FFound[i]);
            }
        FStates.clear();
    } else {
        paint();
    }
    canvas.setPen(savedPen);
    canvas.setBrush(savedBrush);
}

bool TEgoNetEdgeDrawer::NeedsLabelSearch(const TEgoNetEdge& link, const TLinkDrawOptions& options) const
{
    // As PaintLink and DrawLabel decide, without storing the link's visibility.
    if ((!options.ShowType && !options.ShowCaption && !options.ShowStrength) || link.HideLabel
        || link.Bends.Count() > 0 || !link.Source || !link.Target || !link.Source->Visible || !link.Target->Visible
        || !LinkInDrawingRange(link))
        return false;
    return !FLabelPoints.Knows(link.Source->Position, link.MidPoint, link.CurvePoint, link.Target->Position)
           && !LinkLabelText(link, options.ShowType, options.ShowCaption, options.ShowStrength).isEmpty();
}

void TEgoNetEdgeDrawer::SearchLabelsBackwards(std::span<TEgoNetEdge* const> links, const TLinkDrawOptions& options)
{
    for (size_t i = links.size(); i-- > 0;) {
        const TEgoNetEdge* link = links[i];
        if (!link || !NeedsLabelSearch(*link, options))
            continue;
        uint8_t free = kFree;
        // Taken by the painting thread, which has passed every link before it.
        if (!FStates[i].compare_exchange_strong(free, kTaken, std::memory_order_acq_rel))
            return;
        FFound[i] = FHelperLabelPoints.LabelPoint(link->Source->Position, link->MidPoint, link->CurvePoint,
                                                  link->Target->Position);
        FStates[i].store(kFound, std::memory_order_release);
        FStates[i].notify_one();
    }
}

std::optional<QPoint> TEgoNetEdgeDrawer::SharedLabelPoint(qsizetype index, QPoint p0, QPoint p1, QPoint p2,
                                                          QPoint p3)
{
    std::atomic<uint8_t>& state = FStates[size_t(index)];
    uint8_t free = kFree;
    if (state.compare_exchange_strong(free, kTaken, std::memory_order_acq_rel)) {
        FFound[size_t(index)] = FPaintLabelPoints.LabelPoint(p0, p1, p2, p3);
        state.store(kFound, std::memory_order_relaxed);
    } else {
        for (uint8_t now = state.load(std::memory_order_acquire); now != kFound;
             now = state.load(std::memory_order_acquire))
            state.wait(now, std::memory_order_acquire);
    }
    return FFound[size_t(index)];
}

void TEgoNetEdgeDrawer::PaintLink(QPainter& canvas, TEgoNetEdge* link, qsizetype index, bool singleSelected,
                                  const TLinkDrawOptions& options, const QBrush& background)
{
    link->UpdateEnabled();
    link->UpdateVisible();
    if (!link->Visible || !LinkInDrawingRange(*link))
        return;
    const QPaintDevice& device = *canvas.device();
    const QPoint source = link->Source->Position;
    const QPoint target = link->Target->Position;

    if (singleSelected) {
        const QPainter::CompositionMode savedMode = canvas.compositionMode();
        // Printers and PDF have no raster operations; there the guides are simply drawn.
        if (canvas.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
            canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        canvas.setPen(QPen(ToQColor(GuideGrey), 1));
        QPolygon guide{source, link->MidPoint};
        if (!link->IsSelfLoop())
            guide << target;
        canvas.drawPolyline(guide);
        canvas.setCompositionMode(savedMode);
        DrawHandleSquare(canvas, link->MidPoint);
    }

    const auto stateColour = [&](uint32_t own) {
        return ToQColor(!link->Enabled ? DisabledGrey : link->Selected() ? options.SelectionColor : own);
    };
    const int32_t penWidth = std::max(link->Width, 1);
    UsePen(canvas, stateColour(link->Color), penWidth, LinePenStyle(link->PenStyle), Qt::RoundCap, Qt::RoundJoin);
    const bool arrow = options.ShowDirections && link->Directed;
    QPoint arrowFrom;
    QPoint arrowTip;
    const int32_t bends = link->Bends.Count();
    if (bends > 0) {
        QPolygon line;
        line.reserve(bends + 2);
        line << BorderPoint(link->Bends.First(), *link->Source, device);
        for (int32_t i = 0; i < bends; ++i)
            line << link->Bends.Get(i);
        line << BorderPoint(link->Bends.Last(), *link->Target, device);
        canvas.drawPolyline(line);
        arrowFrom = link->Bends.Last();
        arrowTip = line.last();
    } else {
        // Both control points at the chord's middle (every link without parallel links) make
        // the curve the chord itself, which QPainter draws as a line far faster than as a curve.
        if (link->MidPoint == link->CurvePoint && link->MidPoint == Middle(source, target)) {
            canvas.drawLine(source, target);
        } else {
            canvas.setBrush(Qt::NoBrush);
            canvas.drawPath(BezierPath(source, link->MidPoint, link->CurvePoint, target));
        }
        if (arrow) {
            arrowFrom = link->MidPoint;
            arrowTip = BorderPoint(link->MidPoint, *link->Target, device);
        }
    }

    if (arrow) {
        if (const auto head = ArrowHead(arrowFrom, arrowTip, link->HeadLength, link->HeadWidth)) {
            const QColor headColour = stateColour(link->HeadColor);
            UsePen(canvas, headColour, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            UseBrush(canvas, headColour);
            // Arrows of one direction and size look alike wherever they point to.
            const QPoint tip = (*head)[0];
            const QPoint a = (*head)[1] - tip;
            const QPoint b = (*head)[2] - tip;
            const int32_t reach = penWidth + 2;
            const QRect bounds = QRect(QPoint(std::min({0, a.x(), b.x()}), std::min({0, a.y(), b.y()})),
                                       QPoint(std::max({0, a.x(), b.x()}), std::max({0, a.y(), b.y()})))
                                     .adjusted(-reach, -reach, reach, reach);
            FArrows.Draw(canvas, tip, {-1, a.x(), a.y(), b.x(), b.y()}, bounds, [&](QPainter& painter, QPoint at) {
                const QPoint corners[] = {at, at + a, at + b};
                painter.drawConvexPolygon(corners, 3);
            });
        }
    }
    if ((options.ShowType || options.ShowCaption || options.ShowStrength) && !link->HideLabel)
        DrawLabel(canvas, *link, index, options, background);
}

void TEgoNetEdgeDrawer::DrawLabel(QPainter& canvas, const TEgoNetEdge& link, qsizetype index,
                                  const TLinkDrawOptions& options, const QBrush& background)
{
    const QString text = LinkLabelText(link, options.ShowType, options.ShowCaption, options.ShowStrength);
    if (text.isEmpty())
        return;
    const int32_t dpi = canvas.device()->logicalDpiY();
    const auto [w, h] = FLabels.Metrics(&link, text, link.Font, dpi);
    TRect box;
    if (link.Bends.Count() > 0) {
        // Centred between the source and the first bend.
        const QPoint s = link.Source->Position;
        const QPoint b = link.Bends.First();
        const int32_t left = s.x() + (b.x() - s.x() - w) / 2;
        const int32_t top = s.y() + (b.y() - s.y() - h) / 2;
        box = TRect{left, top, left + w, top + h};
    } else if (const std::optional<TRect> onCurve = CurveLabelBox(link, w, h, index)) {
        box = *onCurve;
    } else {
        return;
    }
    FLabels.Draw(canvas, box, QPoint(0, 0), text, link.Font, link.Enabled ? link.Font.Color : DimmedGrey,
                 background, &link);
}

void TEgoNetEdgeDrawer::DrawHandle(QPainter& canvas, TEgoNetEdge* link)
{
    if (!link || !canvas.isActive())
        return;
    link->UpdateEnabled();
    link->UpdateVisible();
    if (!link->Visible || !LinkInDrawingRange(*link))
        return;
    const QPen savedPen = canvas.pen();
    const QPainter::CompositionMode savedMode = canvas.compositionMode();
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
    DrawHandleSquare(canvas, link->MidPoint);
    canvas.setCompositionMode(savedMode);
    canvas.setPen(savedPen);
}

THitResult TEgoNetEdgeDrawer::HitTestLink(const TEgoNetEdge& link, const QPaintDevice& canvas, QPoint point,
                                          const QString& labelText)
{
    if (!link.Visible || !link.Source || !link.Target || !LinkInDrawingRange(link))
        return {};
    const QPoint source = link.Source->Position;
    const QPoint target = link.Target->Position;
    const int32_t bends = link.Bends.Count();
    if (bends == 0) {
        if (NearCurve(source, link.MidPoint, link.CurvePoint, target, std::max(link.Width, 5), point))
            return {true, false};
        if (link.HideLabel || labelText.isEmpty())
            return {};
        const int32_t dpi = canvas.logicalDpiY();
        const std::optional<TRect> box =
            CurveLabelBox(link, FLabels.TextWidth(labelText, link.Font, dpi), FLabels.TextHeight(link.Font, dpi), -1);
        if (box && box->Contains(point.x(), point.y()))
            return {true, true};
        return {};
    }
    QPoint from = source;
    for (int32_t i = 0; i <= bends; ++i) {
        const QPoint to = i < bends ? link.Bends.Get(i) : target;
        if (PointNearSegment(from, to, point.x(), point.y(), link.Width))
            return {true, false};
        from = to;
    }
    return {};
}

std::optional<TRect> TEgoNetEdgeDrawer::CurveLabelBox(const TEgoNetEdge& link, int32_t w, int32_t h,
                                                     qsizetype index)
{
    const QPoint p0 = link.Source->Position;
    const QPoint p1 = link.MidPoint;
    const QPoint p2 = link.CurvePoint;
    const QPoint p3 = link.Target->Position;
    // While the helper searches, the known shapes are only read.
    const bool shared = index >= 0 && !FStates.empty() && !FLabelPoints.Knows(p0, p1, p2, p3);
    const std::optional<QPoint> point =
        shared ? SharedLabelPoint(index, p0, p1, p2, p3) : FLabelPoints.LabelPoint(p0, p1, p2, p3);
    if (!point)
        return std::nullopt;
    const int32_t left = point->x() - w / 2;
    const int32_t top = point->y() - h / 2;
    return TRect{left, top, left + w, top + h};
}

QPoint TEgoNetEdgeDrawer::BorderPoint(QPoint p, TEgoNetNode& node, const QPaintDevice& canvas)
{
    QPoint crossing;
    const TRect bounds = TEgoNetNodeDrawer::NodeBounds(node, canvas, FLabels, FChanges);
    if (LineRectIntersection(p, node.Position, GrownRect(bounds, 2), crossing))
        return crossing;
    return node.Position;
}
