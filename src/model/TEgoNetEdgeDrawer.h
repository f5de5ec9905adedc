#pragma once

#include "foundation/Curves.h"
#include "foundation/Geometry.h"
#include "foundation/THelperThread.h"
#include "model/TEgoNetEdge.h"
#include "model/TEgoNetNodeDrawer.h"
#include "model/TSpriteCache.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPoint>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// The view's display switches that a link's painting depends on.
struct TLinkDrawOptions
{
    uint32_t SelectionColor = 0;
    bool ShowDirections = false;
    bool ShowStrength = false;
    bool ShowCaption = false;
    bool ShowType = false;
};

// Draws links and answers whether a point lies on one. Links end at their nodes' borders.
class TEgoNetEdgeDrawer
{
public:
    // searchBeside: new label points are searched on a helper thread while links are painted;
    // a drawer that itself runs on a helper searches where it paints.
    explicit TEgoNetEdgeDrawer(bool searchBeside = true);


    // Type, caption and strength ("%1.4g", the locale's decimal separator), each on request, one
    // blank between them.
    static QString LinkLabelText(const TEgoNetEdge& link, bool withType, bool withCaption, bool withStrength);

    // Updates the link's Enabled and Visible from its ends, then draws line or curve, arrow head
    // and label. singleSelected draws the handle with its guides first.
    void DrawLink(QPainter& canvas, TEgoNetEdge* link, bool singleSelected, const TLinkDrawOptions& options);
    // DrawLink for each link in order, singleSelected (or none) being the one with the handle.
    // Pen and brush come back once at the end, so that links which look alike share one pen:
    // changing the pen twice per link costs more than drawing it.
    // alongside, when given, runs on a second thread meanwhile, after the search for new label
    // points; it must leave the links and this drawer alone.
    void DrawLinks(QPainter& canvas, std::span<TEgoNetEdge* const> links, const TEgoNetEdge* singleSelected,
                   const TLinkDrawOptions& options, const std::function<void()>& alongside = {});
    // While changes is set, the label corners of shapeless nodes, which painting stores, go there.
    void KeepNodeChanges(TNodeChanges* changes) { FChanges = changes; }
    // The handle square of the one selected link, drawn over the nodes.
    void DrawHandle(QPainter& canvas, TEgoNetEdge* link);
    // labelText is the label as drawn; labels of links with bends are not hit.
    THitResult HitTestLink(const TEgoNetEdge& link, const QPaintDevice& canvas, QPoint point, const QString& labelText);

private:
    // The w x h rectangle of a curved link's label, centred on the curve's label point. index is
    // the link's place in the links being drawn, -1 outside DrawLinks.
    std::optional<TRect> CurveLabelBox(const TEgoNetEdge& link, int32_t w, int32_t h, qsizetype index);
    // Where the segment from p towards the node's centre crosses the node's border grown by 2;
    // the centre when it does not.
    QPoint BorderPoint(QPoint p, TEgoNetNode& node, const QPaintDevice& canvas);
    // The canvas brush as the caller left it is the label's background.
    void PaintLink(QPainter& canvas, TEgoNetEdge* link, qsizetype index, bool singleSelected,
                   const TLinkDrawOptions& options, const QBrush& background);
    void DrawLabel(QPainter& canvas, const TEgoNetEdge& link, qsizetype index, const TLinkDrawOptions& options,
                   const QBrush& background);

    TLabelPainter FLabels;
    TSpriteCache FArrows;
    // Finding a curve's label point draws the curve off-screen; links of a known shape reuse the
    // answer. Only read while the helper searches.
    TCurveLabelSearch FLabelPoints;

    // While links are painted, the helper searches the label points of the curves of a new
    // shape, from the last link backwards; a link that painting reaches first is searched where
    // it is painted. So both threads share the searches without being told how.
    enum TSearchState : uint8_t { kFree, kTaken, kFound };
    // Whether painting the link will search its label point; reads the link and its ends only.
    bool NeedsLabelSearch(const TEgoNetEdge& link, const TLinkDrawOptions& options) const;
    void SearchLabelsBackwards(std::span<TEgoNetEdge* const> links, const TLinkDrawOptions& options);
    // The searched label point of the link at index, searched here unless the helper has it.
    std::optional<QPoint> SharedLabelPoint(qsizetype index, QPoint p0, QPoint p1, QPoint p2, QPoint p3);
    // Per link being drawn; empty when painting does not share the searches.
    std::vector<std::atomic<uint8_t>> FStates;
    std::vector<std::optional<QPoint>> FFound;
    TCurveLabelSearch FPaintLabelPoints;
    TCurveLabelSearch FHelperLabelPoints;
    bool FSearchBeside;
    TNodeChanges* FChanges = nullptr;
    THelperThread FHelper;
};
