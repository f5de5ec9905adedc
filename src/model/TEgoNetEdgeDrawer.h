#pragma once

#include "foundation/Curves.h"
#include "foundation/Geometry.h"
#include "foundation/THelperThread.h"
#include "model/TEgoNetEdge.h"
#include "model/TEgoNetNodeDrawer.h"
#include "model/TSpriteCache.h"

#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QPoint>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
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

// Draws links and answers whether a point lies on one. Links end at their nodes' borders, which the
// node drawer knows.
class TEgoNetEdgeDrawer
{
public:
    explicit TEgoNetEdgeDrawer(TEgoNetNodeDrawer& nodes);

    // Type, caption and strength ("%1.4g", the locale's decimal separator), each on request, one
    // blank between them.
    static QString LinkLabelText(const TEgoNetEdge& link, bool withType, bool withCaption, bool withStrength);

    // Updates the link's Enabled and Visible from its ends, then draws line or curve, arrow head
    // and label. singleSelected draws the handle with its guides first.
    void DrawLink(QPainter& canvas, TEgoNetEdge* link, bool singleSelected, const TLinkDrawOptions& options);
    // DrawLink for each link in order, singleSelected (or none) being the one with the handle.
    // Pen and brush come back once at the end, so that links which look alike share one pen:
    // changing the pen twice per link costs more than drawing it.
    void DrawLinks(QPainter& canvas, std::span<TEgoNetEdge* const> links, const TEgoNetEdge* singleSelected,
                   const TLinkDrawOptions& options);
    // The handle square of the one selected link, drawn over the nodes.
    void DrawHandle(QPainter& canvas, TEgoNetEdge* link);
    // labelText is the label as drawn; labels of links with bends are not hit.
    THitResult HitTestLink(const TEgoNetEdge& link, const QPaintDevice& canvas, QPoint point, const QString& labelText);

private:
    // The w x h rectangle of a curved link's label, centred on the curve's label point.
    std::optional<TRect> CurveLabelBox(const TEgoNetEdge& link, int32_t w, int32_t h);
    // Where the segment from p towards the node's centre crosses the node's border grown by 2;
    // the centre when it does not.
    QPoint BorderPoint(QPoint p, TEgoNetNode& node, const QPaintDevice& canvas);
    // The canvas brush as the caller left it is the label's background.
    void PaintLink(QPainter& canvas, TEgoNetEdge* link, bool singleSelected, const TLinkDrawOptions& options,
                   const QBrush& background);
    void DrawLabel(QPainter& canvas, const TEgoNetEdge& link, const TLinkDrawOptions& options,
                   const QBrush& background);

    TEgoNetNodeDrawer& FNodes;
    TLabelPainter FLabels;
    TSpriteCache FArrows;
    // Finding a curve's label point draws the curve off-screen; links of a known shape reuse the answer.
    TCurveLabelSearch FLabelPoints;

    // While links are painted, the helper searches the label points of the curves whose shape is
    // new, in painting order; a label waits for its own point only.
    struct TPendingLabel
    {
        std::array<QPoint, 4> Points;
        std::optional<QPoint> Point;
    };
    // The curves of the links about to be painted whose labels need a search; their count.
    qsizetype CollectPendingLabels(std::span<TEgoNetEdge* const> links, const TLinkDrawOptions& options);
    void SearchPendingLabels();
    std::vector<TPendingLabel> FPending;
    QHash<const TEgoNetEdge*, qsizetype> FPendingOf;
    // How many of FPending the helper has searched.
    std::atomic<qsizetype> FSearched = 0;
    TCurveLabelSearch FHelperLabelPoints;
    THelperThread FHelper;
};
