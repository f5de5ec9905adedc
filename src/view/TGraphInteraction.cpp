#include "view/TGraphInteraction.h"

#include "foundation/DateTime.h"
#include "foundation/TNumericVector.h"
#include "foundation/UserDialogs.h"
#include "model/ModelConstants.h"
#include "view/IViewHost.h"
#include "view/TEgoNetGraphDisplay.h"
#include "view/TGraphCommands.h"
#include "view/TGraphPopupMenu.h"
#include "view/ViewEvents.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

const QPoint kNoPoint(-1, -1);
// A drag has begun once the pointer is this far from where it started.
constexpr float kDragThreshold = 4;
constexpr int kHandleHalf = 3;
constexpr int kBlinkPeriod = 100;
// Self-loops whose handle was dragged keep at least this length.
// A link made by dragging counts its start node as selected this many days earlier.
constexpr double kEarlierSelection = 3;
const QColor kLineColour(0x80, 0x80, 0x80);

QRect ToQRect(const TRect& r)
{
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
}

// The four edges of a rectangle outline, one pixel wider each way.
QRegion OutlineRegion(const TRect& r)
{
    if (r.IsEmpty())
        return {};
    const QRect q = ToQRect(r).adjusted(-1, -1, 1, 1);
    QRegion region(q.left(), q.top(), q.width(), 3);
    region += QRect(q.left(), q.bottom() - 2, q.width(), 3);
    region += QRect(q.left(), q.top(), 3, q.height());
    region += QRect(q.right() - 2, q.top(), 3, q.height());
    return region;
}

// A line as a chain of small boxes, so that a long diagonal does not repaint its whole square.
QRegion LineRegion(QPoint a, QPoint b)
{
    const QPoint d = b - a;
    const int steps = std::max(1, std::max(std::abs(d.x()), std::abs(d.y())) / 32);
    QRegion region;
    QPoint from = a;
    for (int i = 1; i <= steps; ++i) {
        const QPoint to = a + d * i / steps;
        region += QRect(from, to).normalized().adjusted(-2, -2, 2, 2);
        from = to;
    }
    return region;
}

} // namespace

TGraphInteraction::TGraphInteraction(TEgoNetGraphDisplay& view, TGraphCommands& commands, TGraphPopupMenu& menu)
    : FView(view)
    , FCommands(commands)
    , FMenu(menu)
{
    view.setMouseTracking(true);
    view.installEventFilter(this);
}

// Hit tests

int TGraphInteraction::NodeAt(QPoint p) const
{
    const QList<TOrganizedNode*>& nodes = FView.Model().Nodes();
    for (qsizetype i = nodes.size() - 1; i >= 0; --i) {
        const THitResult hit = FView.NodeDrawer().HitTestNode(*nodes[i], FView, p);
        if (hit.Hit && (!hit.OnLabel || FView.ShowCaption()))
            return int(i);
    }
    return -1;
}

TGraphInteraction::TLinkHit TGraphInteraction::LinkAt(QPoint p) const
{
    const bool labelled = FView.ShowEdgeType() || FView.ShowEdgeLabel() || FView.ShowStress();
    const QList<TEgoNetEdge*>& links = FView.Model().ShownLinks();
    for (qsizetype i = 0; i < links.size(); ++i) {
        const TEgoNetEdge& link = *links[i];
        const QString label = labelled ? TEgoNetEdgeDrawer::LinkLabelText(link, FView.ShowEdgeType(),
                                                                          FView.ShowEdgeLabel(), FView.ShowStress())
                                       : QString();
        const THitResult hit = FView.EdgeDrawer().HitTestLink(link, FView, p, label);
        if (hit.Hit)
            return {int(i), hit.OnLabel};
    }
    return {};
}

TEgoNetEdge* TGraphInteraction::HandleAt(QPoint p) const
{
    TEgoNetEdge* single = nullptr;
    for (TEgoNetEdge* link : FView.Model().ShownLinks()) {
        if (!link->Selected())
            continue;
        if (single)
            return nullptr;
        single = link;
    }
    if (!single)
        return nullptr;
    const QPoint m = single->MidPoint;
    const TRect handle{m.x() - kHandleHalf, m.y() - kHandleHalf, m.x() + kHandleHalf, m.y() + kHandleHalf};
    return handle.Contains(p.x(), p.y()) ? single : nullptr;
}

TOrganizedNode* TGraphInteraction::GroupAt(QPoint p) const
{
    for (TOrganizedNode* node : FView.Model().Nodes())
        if (node->IsGroup && FView.NodeDrawer().NodeBounds(*node, FView).Contains(p.x(), p.y()))
            return node;
    return nullptr;
}

// Events

bool TGraphInteraction::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &FView)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (FView.Interactive)
            MousePress(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseMove:
        if (FView.Interactive)
            MouseMove(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        MouseRelease(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonDblClick:
        DoubleClick(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::KeyPress:
        KeyDown(static_cast<QKeyEvent*>(event));
        return true;
    default:
        return false;
    }
}

void TGraphInteraction::ResetDragState()
{
    FDragging = false;
    FShiftClick = false;
    FCtrlClick = false;
    FAltClick = false;
    FRubberBand = false;
    FRightDrag = false;
    FHandleDrag = false;
    FHandleMoved = false;
    FPausedByDrag = false;
    FLastDragPoint = kNoPoint;
}

void TGraphInteraction::ForgetDeleted()
{
    FCommands.ForgetDeleted();
    if (!FDropGroup.Get(FView.Model()))
        FDropGroup = {};
}

void TGraphInteraction::RaiseSelect()
{
    Raise(FView.OnSelect, &FView);
    ForgetDeleted();
}

void TGraphInteraction::TakeFocus()
{
    if (FHost)
        FHost->TakeFocus();
}

void TGraphInteraction::SetCursor(Qt::CursorShape shape)
{
    if (FView.cursor().shape() != shape)
        FView.setCursor(shape);
}

void TGraphInteraction::HideTip()
{
    QToolTip::hideText();
}

// Presses

void TGraphInteraction::PressStart(QPoint p)
{
    FView.StopHoverPulse();
    FDropGroup = {};
    FView.InsertPoint = p;
    TakeFocus();
    ForgetDeleted();
}

void TGraphInteraction::MousePress(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    PressStart(p);
    FSecondPress = false;
    if (FView.Model().NodeCount() == 0)
        return;
    if (event->button() == Qt::LeftButton) {
        if (TEgoNetEdge* link = HandleAt(p)) {
            ResetDragState();
            FHandleDrag = true;
            FLastDragPoint = p;
            FView.CurrentLink = link;
            SetCursor(Qt::SizeAllCursor);
            return;
        }
        LeftPress(p, event->modifiers());
    } else if (event->button() == Qt::RightButton) {
        RightPress(p);
    }
}

void TGraphInteraction::RightPress(QPoint p)
{
    const int n = NodeAt(p);
    if (n < 0)
        return;
    ResetDragState();
    TEgoNetModel& model = FView.Model();
    TOrganizedNode* node = model.GetNode(n);
    if (!node->Visible)
        return;
    FView.CurrentNodeIndex = n;
    FView.CurrentNode = node;
    if (!node->Selected()) {
        model.SelectAll(false);
        node->SetSelected(true);
        model.UpdateLinkSelection();
    }
    FRightDrag = true;
    FView.update();
    if (node->Selected())
        RaiseSelect();
}

void TGraphInteraction::LeftPress(QPoint p, Qt::KeyboardModifiers modifiers)
{
    TEgoNetModel& model = FView.Model();
    FView.update(OutlineRegion(FBandRect));
    FBandRect = {};
    FBandAnchor = p;
    const int n = NodeAt(p);
    const int l = n < 0 ? LinkAt(p).Index : -1;
    if (n < 0 && l < 0) {
        const bool hadSelection = model.SelectedNodeCount() > 0 || model.SelectedLinkCount() > 0;
        model.SelectAll(false);
        FView.UpdateCurrent();
        ResetDragState();
        FRubberBand = true;
        if (hadSelection) {
            FView.update();
            RaiseSelect();
        }
        return;
    }
    if (n < 0) {
        FView.CurrentNodeIndex = -1;
        FView.CurrentNode = nullptr;
        ResetDragState();
        TEgoNetEdge* link = model.GetShownLink(l);
        FView.CurrentLink = link;
        if (link->Source->Visible && link->Target->Visible) {
            if (modifiers & Qt::ShiftModifier) {
                link->SetSelected(!link->Selected());
            } else {
                model.SelectAll(false);
                link->SetSelected(true);
            }
        }
        FView.update();
        RaiseSelect();
        return;
    }
    FView.CurrentLink = nullptr;
    // With Shift and Ctrl both held the flags keep what the previous click left.
    if (!(modifiers & Qt::ShiftModifier) || !(modifiers & Qt::ControlModifier)) {
        FAltClick = modifiers & Qt::AltModifier;
        FShiftClick = modifiers & Qt::ShiftModifier;
        FCtrlClick = modifiers & Qt::ControlModifier;
    }
    TOrganizedNode* node = model.GetNode(n);
    FView.CurrentNodeIndex = n;
    FView.CurrentNode = node;
    if (!FShiftClick && !node->Selected())
        model.SelectAll(false);
    FWasSelected = node->Selected();
    node->SetSelected(true);
    model.UpdateLinkSelection();
    // Alt-click freezes or unfreezes a node.
    if (FAltClick)
        node->Movable = !node->Movable;
    FDragging = true;
    FLastDragPoint = p;
    for (TOrganizedNode* each : model.Nodes())
        each->DragRect = TRect{};
    FView.update();
    RaiseSelect();
}

void TGraphInteraction::DoubleClick(QMouseEvent* event)
{
    const bool left = event->button() == Qt::LeftButton;
    if (FView.Interactive) {
        PressStart(event->position().toPoint());
        FSecondPress = true;
    }
    if (left && FHost)
        FHost->ViewDoubleClicked();
    if (!FView.Interactive || !left)
        return;
    // The first press has made the clicked node or link current, or cleared both.
    FView.PrepareEdit(true);
    ForgetDeleted();
    const TEgoNetModel& model = FView.Model();
    if (model.NodeCount() > 0 && FView.CurrentNode)
        Raise(FView.OnEditNodeRequest, &FView, FView.CurrentNode);
    else if (model.ShownLinkCount() > 0 && FView.CurrentLink)
        Raise(FView.OnEditLinkRequest, &FView, FView.CurrentLink);
    else
        FCommands.AddNode();
}

// Moves

void TGraphInteraction::MouseMove(QMouseEvent* event)
{
    if (FSecondPress)
        return;
    const QPoint p = event->position().toPoint();
    ForgetDeleted();
    const bool overHandle = HandleAt(p) != nullptr;
    if (overHandle)
        SetCursor(Qt::SizeAllCursor);
    if (FHandleDrag) {
        HideTip();
        SetCursor(Qt::SizeAllCursor);
        if (TEgoNetEdge* link = HandleAt(p))
            FView.CurrentLink = link;
        TEgoNetEdge* link = FView.CurrentLink;
        if (!link) {
            FHandleDrag = false;
            SetCursor(Qt::ArrowCursor);
            return;
        }
        if (Distance(p, link->MidPoint) > kDragThreshold) {
            link->MidPoint = p;
            link->UpdateCurvePoint();
            FLastDragPoint = p;
            FHandleMoved = true;
            // The link follows its handle, so the whole picture changes.
            FView.update();
        }
        return;
    }
    if ((event->buttons() & Qt::RightButton) && FRightDrag) {
        HideTip();
        if (FView.CurrentNode && Distance(p, FView.CurrentNode->Position) > kDragThreshold) {
            const QRegion before = FeedbackRegion();
            FLastDragPoint = p;
            FDragging = true;
            FView.update(before + FeedbackRegion());
        }
        return;
    }
    if (FRubberBand) {
        HideTip();
        const QRegion before = FeedbackRegion();
        FBandRect = TRect{std::min(FBandAnchor.x(), p.x()), std::min(FBandAnchor.y(), p.y()),
                          std::max(FBandAnchor.x(), p.x()), std::max(FBandAnchor.y(), p.y())};
        FView.update(before + FeedbackRegion());
        return;
    }
    if (!FDragging) {
        if (!overHandle)
            Hover(p, event->globalPosition().toPoint());
        else
            HideTip();
        return;
    }
    if (event->buttons() & Qt::LeftButton)
        DragNodes(p);
}

void TGraphInteraction::Hover(QPoint p, QPoint globalPos)
{
    const TEgoNetModel& model = FView.Model();
    const bool tips = FView.ShowToolTips();
    QString hint;
    const int n = NodeAt(p);
    if (n < 0) {
        const TLinkHit hit = LinkAt(p);
        if (hit.Index < 0) {
            SetCursor(Qt::ArrowCursor);
        } else {
            SetCursor(hit.OnLabel ? Qt::PointingHandCursor : Qt::CrossCursor);
            if (tips)
                hint = model.GetShownLink(hit.Index)->HintText(true);
        }
    } else {
        SetCursor(Qt::PointingHandCursor);
        const TOrganizedNode* node = model.GetNode(n);
        if (tips)
            hint = node->IsGroup ? model.GroupMemberText(node) : node->HintText(FView.ShowCaption());
    }
    if (tips && !hint.isEmpty())
        QToolTip::showText(globalPos, hint, &FView);
    else
        HideTip();
    if (FView.Settings().Animation && n >= 0 && n != FView.HoverIndex())
        FView.StartHoverPulse(n);
}

void TGraphInteraction::DragNodes(QPoint p)
{
    // The layout must not move nodes under the pointer; it goes on after the drop.
    if (FView.Organizer() && FView.Organizer()->Running()) {
        FView.Organize(false);
        FPausedByDrag = true;
    }
    HideTip();
    const QPoint by = p - FLastDragPoint;
    FLastDragPoint = p;
    // One rectangle: clipping the painting to a region of hundreds of thin edges costs more
    // than painting their bounds.
    FView.update(MoveDragRects(by).boundingRect());
    TOrganizedNode* group = GroupAt(p);
    if (!group) {
        FDropGroup = {};
    } else if (!FDropGroup.IsSet() && group->Visible && !group->Selected()) {
        FDropGroup = group;
        FView.StartBlink(group, 1);
        // Lets the blink show; input that arrives meanwhile is handled, so nothing may be
        // assumed about the gesture afterwards.
        FView.WaitProcessing(2 * kBlinkPeriod + 50);
        ForgetDeleted();
    }
}

QRegion TGraphInteraction::MoveDragRects(QPoint by)
{
    QRegion changed;
    const QList<TOrganizedNode*>& nodes = FView.Model().Nodes();
    for (qsizetype i = nodes.size() - 1; i >= 0; --i) {
        TOrganizedNode* node = nodes[i];
        // Nodes beyond the drawing range have no bounds to drag.
        if (!node->Selected() || !node->Movable || !InDrawingRange(*node))
            continue;
        TRect& rect = node->DragRect;
        if (rect.IsEmpty()) {
            const TRect b = FView.NodeDrawer().NodeBounds(*node, FView);
            rect = TRect{b.Left - 1, b.Top - 1, b.Right + 1, b.Bottom + 1};
        } else {
            changed += OutlineRegion(rect);
        }
        rect = SaturatedOffset(rect, by);
        changed += OutlineRegion(rect);
    }
    return changed;
}

// Releases

void TGraphInteraction::MouseRelease(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const bool left = event->button() == Qt::LeftButton;
    if (FView.Interactive) {
        if (FSecondPress) {
            // The double click has done its work; the gesture flags were cleared by the first click.
            FSecondPress = false;
            FView.update();
        } else {
            FView.StopHoverPulse();
            ForgetDeleted();
            if (event->button() == Qt::RightButton)
                RightRelease(p);
            else
                LeftRelease(p);
        }
    }
    if (left && FHost && FView.rect().contains(p))
        FHost->ViewClicked();
}

void TGraphInteraction::RightRelease(QPoint p)
{
    if (FDragging && FRightDrag)
        LinkDragEnd(p);
    else if (FView.ShowPopup)
        FMenu.Popup(FView.mapToGlobal(p));
    FRightDrag = false;
    FDragging = false;
}

void TGraphInteraction::LinkDragEnd(QPoint p)
{
    FView.update(FeedbackRegion());
    FLastDragPoint = kNoPoint;
    TOrganizedNode* start = FView.CurrentNode;
    if (!start)
        return;
    TEgoNetModel& model = FView.Model();
    int target = NodeAt(p);
    if (target < 0) {
        // Released on empty space: the link ends at a new node there.
        FView.PrepareEdit(true);
        target = model.IndexOfNode(FCommands.NewDefaultNode(p));
    }
    if (target != FView.CurrentNodeIndex) {
        FView.PrepareEdit(true);
        model.SelectAll(false);
        start->SetSelected(true);
        TOrganizedNode* end = model.GetNode(target);
        end->SetSelected(true);
        // The start node counts as selected first, so it becomes the new link's source.
        start->SelectTime = NowAsDays() - kEarlierSelection;
        if (!start->IsGroup && !end->IsGroup)
            FCommands.AddLink();
        RaiseSelect();
        return;
    }
    if (start->IsGroup)
        return;
    const QString question = QStringLiteral("Create self loop for %1?").arg(start->Caption());
    if (UserDialogs().Ask(question, TMessageKind::Confirmation, {QStringLiteral("OK"), QStringLiteral("Cancel")}) != 1)
        return;
    // The question's event loop may have let the node go.
    ForgetDeleted();
    if (FView.CurrentNode != start)
        return;
    FView.PrepareEdit(true);
    model.SelectAll(false);
    start->SetSelected(true);
    FCommands.AddSelfLoop(start);
    RaiseSelect();
}

void TGraphInteraction::LeftRelease(QPoint p)
{
    TEgoNetModel& model = FView.Model();
    if (FRubberBand) {
        FRubberBand = false;
        model.SelectAll(false);
        const int selected = model.SelectInRect(FBandRect);
        FBandRect = {};
        FView.UpdateCurrent();
        FView.update();
        if (selected > 0)
            RaiseSelect();
        return;
    }
    TOrganizedNode* node = FView.CurrentNode;
    if (FShiftClick) {
        FShiftClick = false;
        if (node) {
            node->SetSelected(!FWasSelected);
            model.UpdateLinkSelection();
        }
        if (FAltClick && node) {
            FAltClick = false;
            for (TEgoNetEdge* link : model.ShownLinks()) {
                if (link->Source == node)
                    link->Target->SetSelected(node->Selected());
                else if (link->Target == node)
                    link->Source->SetSelected(node->Selected());
            }
            model.UpdateLinkSelection();
            RaiseSelect();
        }
    } else if (FCtrlClick && node && !node->HasGroups()) {
        FView.PrepareEdit(true);
        if (!Cancelled(FView.OnDisablingNodes, &FView)) {
            ForgetDeleted();
            FCtrlClick = false;
            if (TOrganizedNode* current = FView.CurrentNode) {
                current->Enabled = !current->Enabled;
                current->Visible = current->Enabled || FView.ShowDisabledNodes();
            }
            // A Ctrl-click never moves its node.
            FDragging = false;
            FView.Edited(QStringLiteral("Disable Person"));
            Raise(FView.OnDisableNodes, &FView);
        }
        ForgetDeleted();
    }
    FAltClick = false;
    if (FHandleDrag) {
        FHandleDrag = false;
        FHandleMoved = false;
        if (TEgoNetEdge* link = FView.CurrentLink) {
            link->MidPoint = p;
            link->UpdateCurvePoint();
            if (link->IsSelfLoop())
                TEgoNetModel::PlaceSelfLoop(link, std::max(FView.IdealLinkLength(), kSelfLoopLength));
            FView.Edited(QStringLiteral("Bend Link"));
        }
        SetCursor(Qt::ArrowCursor);
    }
    if (FDragging)
        DropNodes(p);
    FPausedByDrag = false;
    FView.update();
}

void TGraphInteraction::DropNodes(QPoint p)
{
    FDragging = false;
    const QPoint by = p - FLastDragPoint;
    FLastDragPoint = p;
    TEgoNetModel& model = FView.Model();
    TOrganizedNode* group = GroupAt(p);
    int moved = 0;
    bool placed = false;
    const QList<TOrganizedNode*>& nodes = model.Nodes();
    for (qsizetype i = nodes.size() - 1; i >= 0; --i) {
        TOrganizedNode* node = nodes[i];
        if (!node->Selected())
            continue;
        ++moved;
        // A group dragged onto itself is no drop target.
        if (node == group)
            group = nullptr;
        if (node->DragRect.IsEmpty())
            continue;
        const TRect r = SaturatedOffset(node->DragRect, by);
        if (node->Shape == kNoShape)
            node->Position = QPoint(int32_t((int64_t(r.Left) + r.Right) / 2), int32_t((int64_t(r.Top) + r.Bottom) / 2));
        else
            node->Position = SaturatedOffset(QPoint(r.Left, r.Top), QPoint(node->Size / 2 + 1, node->Size / 2 + 1));
        node->DragRect = TRect{};
        placed = true;
    }
    if (placed)
        FView.Edited(QStringLiteral("Move Persons"));
    if (group && FDropGroup.Get(model) == group && moved > 0) {
        FView.update();
        // Without a handler that clears the flag, nothing joins the group.
        bool handled = true;
        Raise(FView.OnAddingToGroup, &FView, nullptr, group, handled);
        ForgetDeleted();
        if (!handled && FDropGroup.Get(model) == group) {
            for (TOrganizedNode* node : model.Nodes())
                if (node != group && node->Selected())
                    model.AddToGroup(node, group);
            group->SetSelected(true);
            model.UpdateLinkSelection();
            FView.Edited(QStringLiteral("Add to Group"));
        }
    }
    FDropGroup = {};
    if (FPausedByDrag || FView.AutoOrganize())
        FView.Organize(true);
}

// Keys

void TGraphInteraction::KeyDown(QKeyEvent* event)
{
    if (!FView.Interactive || FDragging)
        return;
    using enum TGraphMenuItem;
    const int key = event->key();
    if (event->modifiers() & Qt::ControlModifier) {
        if (key == Qt::Key_A)
            FCommands.SelectAll();
        else if ((key == Qt::Key_Plus || key == Qt::Key_Equal) && FHost)
            FHost->ZoomIn();
        else if (key == Qt::Key_Minus && FHost)
            FHost->ZoomOut();
    }
    TEgoNetModel& model = FView.Model();
    switch (key) {
    case Qt::Key_Delete:
        if (FMenu.Enabled(DisableNodes))
            FCommands.DisableNodes();
        break;
    case Qt::Key_F4:
        if (FMenu.Enabled(GeneralProperties) || FMenu.Enabled(ItemProperties))
            FCommands.DisplaySettings();
        break;
    case Qt::Key_F2: {
        TIntVector links;
        if (model.SelectedNodeCount() == 1) {
            FCommands.EditNode();
        } else if (model.SelectedLinks(&links) == 1) {
            FView.CurrentLink = model.GetShownLink(links.Items(0));
            FCommands.EditLink();
        }
        break;
    }
    case Qt::Key_F5:
        if (FMenu.Enabled(AddNode)) {
            FView.InsertPoint = QPoint(FView.width() / 2, FView.height() / 2);
            const int before = model.NodeCount();
            FCommands.AddNode();
            if (model.NodeCount() > before)
                FView.StartBlink(model.GetNode(model.NodeCount() - 1), 3);
        }
        break;
    case Qt::Key_F6:
        FCommands.StraightenLinks();
        break;
    case Qt::Key_F7:
        if (FMenu.Enabled(AddLink))
            FCommands.AddLink();
        break;
    case Qt::Key_F8:
        if (FMenu.Enabled(CreateGroup))
            FCommands.CreateGroup();
        break;
    default:
        break;
    }
}

// Feedback

QRegion TGraphInteraction::FeedbackRegion() const
{
    QRegion region;
    if (FRightDrag && FDragging && FLastDragPoint != kNoPoint && FView.CurrentNode)
        region += LineRegion(FView.CurrentNode->Position, FLastDragPoint);
    if (FRubberBand)
        region += OutlineRegion(FBandRect);
    return region;
}

void TGraphInteraction::PaintFeedback(QPainter& canvas) const
{
    const bool linkLine = FRightDrag && FDragging && FLastDragPoint != kNoPoint && FView.CurrentNode;
    const TEgoNetEdge* handleLink = FHandleDrag && FHandleMoved ? FView.CurrentLink : nullptr;
    if (!linkLine && !handleLink && !FRubberBand && !FDragging)
        return;
    canvas.save();
    // Drawn inverted, so that it shows on any background.
    canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    canvas.setBrush(Qt::NoBrush);
    canvas.setPen(QPen(kLineColour, 1));
    if (linkLine)
        canvas.drawLine(FView.CurrentNode->Position, FLastDragPoint);
    if (handleLink) {
        canvas.drawLine(handleLink->Source->Position, FLastDragPoint);
        canvas.drawLine(FLastDragPoint, handleLink->Target->Position);
        canvas.drawRect(QRect(FLastDragPoint - QPoint(kHandleHalf, kHandleHalf), QSize(2 * kHandleHalf - 1, 2 * kHandleHalf - 1)));
    }
    canvas.setPen(QPen(Qt::white, 1, Qt::DotLine));
    const auto focusRect = [&canvas](const TRect& r) {
        if (!r.IsEmpty())
            canvas.drawRect(QRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1));
    };
    if (FRubberBand)
        focusRect(FBandRect);
    if (FDragging && !FRightDrag)
        for (const TOrganizedNode* node : FView.Model().Nodes())
            focusRect(node->DragRect);
    canvas.restore();
}
