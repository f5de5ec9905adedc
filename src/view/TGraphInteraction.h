#pragma once

#include "foundation/Geometry.h"
#include "model/TObjectRef.h"

#include <QObject>
#include <QPoint>
#include <QRegion>

class IViewHost;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class TEgoNetEdge;
class TEgoNetGraphDisplay;
class TGraphCommands;
class TGraphPopupMenu;
class TOrganizedNode;

// Turns the mouse and the keys into selections, moves and edits of the graph view: clicks and
// the rubber band, node drags (with a drop onto a group), the handle drag of the one selected
// link, link drags with the right button, double clicks, the shortcut keys, tooltips and the
// cursor. It watches the view's events; the host passes its keys on through KeyDown.
//
// At most one gesture runs at a time; its feedback (band, drag rectangles, link lines) is state
// that PaintFeedback draws over the picture, so repaints in between never wipe it.
class TGraphInteraction : public QObject
{
    Q_OBJECT

public:
    TGraphInteraction(TEgoNetGraphDisplay& view, TGraphCommands& commands, TGraphPopupMenu& menu);

    void SetHost(IViewHost* host) { FHost = host; }
    IViewHost* Host() const { return FHost; }

    struct TLinkHit
    {
        int Index = -1;
        bool OnLabel = false;
    };

    // Hit tests in view coordinates. NodeAt walks from the top node down; a label counts only
    // while captions are shown.
    int NodeAt(QPoint p) const;
    TLinkHit LinkAt(QPoint p) const;
    // The link whose handle lies under the point: only the one selected shown link has one.
    TEgoNetEdge* HandleAt(QPoint p) const;
    // The first group node in model order whose bounds hold the point.
    TOrganizedNode* GroupAt(QPoint p) const;

    void KeyDown(QKeyEvent* event);
    void PaintFeedback(QPainter& canvas) const;
    // Ends every gesture's flags.
    void ResetDragState();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MousePress(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseRelease(QMouseEvent* event);
    void DoubleClick(QMouseEvent* event);
    // What every press does first.
    void PressStart(QPoint p);
    void LeftPress(QPoint p, Qt::KeyboardModifiers modifiers);
    void RightPress(QPoint p);
    void LeftRelease(QPoint p);
    void RightRelease(QPoint p);
    void LinkDragEnd(QPoint p);
    void Hover(QPoint p, QPoint globalPos);
    void DragNodes(QPoint p);
    void DropNodes(QPoint p);
    // Moves the drag rectangles of the selected movable nodes; returns the area to repaint.
    QRegion MoveDragRects(QPoint by);
    // The screen area that the feedback now covers.
    QRegion FeedbackRegion() const;
    void SetCursor(Qt::CursorShape shape);
    void HideTip();
    void RaiseSelect();
    // Forgets current objects and the drop group that an event handler deleted.
    void ForgetDeleted();
    void TakeFocus();

    TEgoNetGraphDisplay& FView;
    TGraphCommands& FCommands;
    TGraphPopupMenu& FMenu;
    IViewHost* FHost = nullptr;

    bool FDragging = false;
    bool FShiftClick = false;
    bool FCtrlClick = false;
    bool FAltClick = false;
    bool FWasSelected = false;
    bool FRightDrag = false;
    bool FHandleDrag = false;
    // The handle has left its place at least once in this drag, so its guides show.
    bool FHandleMoved = false;
    bool FRubberBand = false;
    bool FPausedByDrag = false;
    // Between the second press of a double click and its release.
    bool FSecondPress = false;
    QPoint FBandAnchor;
    TRect FBandRect{};
    QPoint FLastDragPoint{-1, -1};
    TObjectRef<TOrganizedNode> FDropGroup;
};
