#include "view/TEgoNetGraphEx.h"

#include "foundation/Rounding.h"
#include "view/TGraphInteraction.h"
#include "view/ViewEvents.h"

#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// One notch of an ordinary mouse wheel.
constexpr int kWheelNotch = 120;

double Snapped(double zoom)
{
    return std::fabs(zoom - 1.0) < 0.0001 ? 1.0 : zoom;
}

} // namespace

TEgoNetGraphEx::TEgoNetGraphEx(QWidget* parent)
    : QScrollArea(parent)
    , FGraph(new TEgoNetGraphDisplay)
{
    resize(150, 150);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Window);
    setWidget(FGraph);
    FGraph->SetColor(0x00FFFFFF);
    FGraph->Interaction().SetHost(this);

    using E = TGraphEvents;
    Forward(&E::OnSelectEdgeTypes, &E::OnSelect, &E::OnChangeSettings, &E::OnAddingNode, &E::OnAddNode,
            &E::OnDeletingNodes, &E::OnDeleteNodes, &E::OnDisablingNodes, &E::OnDisableNodes, &E::OnAddingLink,
            &E::OnAddLink, &E::OnDeletingLinks, &E::OnDeleteLinks, &E::OnGroupingNodes, &E::OnGroupNodes,
            &E::OnUnGroupNodes, &E::OnAddingToGroup, &E::OnEditNodeRequest, &E::OnEditLinkRequest, &E::OnCombine,
            &E::OnDisplaySettingsRequest, &E::OnOrganizeIteration, &E::OnOrganizeDone, &E::OnEdited);

    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { UserScrolled(true); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { UserScrolled(false); });
    ResetView();
}

template <typename... Events>
void TEgoNetGraphEx::Forward(Events TGraphEvents::*... events)
{
    // Every argument but the sender passes through, a Handled flag by reference.
    const auto forward = [this](auto TGraphEvents::*event) {
        TGraphEvents& view = *FGraph;
        (view.*event) = [this, event](QObject*, auto&&... args) {
            Raise(this->*event, this, std::forward<decltype(args)>(args)...);
        };
    };
    (forward(events), ...);
}

void TEgoNetGraphEx::UserScrolled(bool horizontal)
{
    if (FAdjusting)
        return;
    SaveScrollState();
    Raise(horizontal ? OnHScroll : OnVScroll, this);
}

// Scrolling

void TEgoNetGraphEx::SaveScrollState()
{
    FSaved = {FHRange, horizontalScrollBar()->value(), FVRange, verticalScrollBar()->value()};
}

void TEgoNetGraphEx::ResetScroll(bool resetPositions)
{
    FHRange = 0;
    FVRange = 0;
    if (resetPositions) {
        FAdjusting = true;
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
        FAdjusting = false;
    }
    SaveScrollState();
}

void TEgoNetGraphEx::FitGraphToClient()
{
    FAdjusting = true;
    // The area the view has once the scroll bars are gone.
    FGraph->setGeometry(QRect(QPoint(0, 0), maximumViewportSize()));
    FAdjusting = false;
}

void TEgoNetGraphEx::ResetView()
{
    ResetScroll(true);
    FitGraphToClient();
}

void TEgoNetGraphEx::ClearGraph()
{
    FGraph->Clear(true);
    ResetView();
}

// Zooming

void TEgoNetGraphEx::ZoomIn()
{
    const QScreen* display = screen();
    if (display && FGraph->width() >= MaxScreens * display->geometry().width())
        return;
    FZoom = Snapped(FZoom * ZoomStep);
    if (FZoom > 1)
        ZoomCanvas(RoundHalfEven(FGraph->width() * ZoomStep), RoundHalfEven(FGraph->height() * ZoomStep), true, true);
    else
        ZoomPositions(ZoomStep);
    // Zooming moves the persons, which a save writes.
    FGraph->Edited(QStringLiteral("Zoom"));
}

void TEgoNetGraphEx::ZoomOut()
{
    if (FZoom <= MinZoom)
        return;
    FZoom = Snapped(FZoom / ZoomStep);
    if (FZoom >= 1)
        ZoomCanvas(RoundHalfEven(FGraph->width() / ZoomStep), RoundHalfEven(FGraph->height() / ZoomStep), true,
                   false);
    else
        ZoomPositions(ZoomOutFactor);
    FGraph->Edited(QStringLiteral("Zoom"));
}

int TEgoNetGraphEx::ScrolledPosition(int newExtent, int client, int savedRange, int savedPosition)
{
    // The relative place of the last scroll; the middle when nothing was scrolled (or a range
    // no larger than the area, which has no place to keep).
    double place = 0.5;
    if (savedRange != 0 && savedRange > client)
        place = std::clamp(double(savedPosition) / (savedRange - client), 0.0, 1.0);
    return RoundHalfEven((newExtent - client) * place);
}

void TEgoNetGraphEx::ZoomCanvas(int newWidth, int newHeight, bool scalePositions, bool zoomingIn)
{
    // One repaint for the whole change.
    setUpdatesEnabled(false);
    FAdjusting = true;
    FHRange = newWidth;
    FVRange = newHeight;
    FGraph->resize(newWidth, newHeight);
    horizontalScrollBar()->setValue(ScrolledPosition(newWidth, viewport()->width(), FSaved.HRange, FSaved.HPosition));
    verticalScrollBar()->setValue(ScrolledPosition(newHeight, viewport()->height(), FSaved.VRange, FSaved.VPosition));
    if (scalePositions)
        FGraph->Model().ScaleAll(zoomingIn ? ZoomStep : ZoomOutFactor);
    FAdjusting = false;
    setUpdatesEnabled(true);
    FGraph->update();
    TakeFocus();
}

void TEgoNetGraphEx::ZoomPositions(double factor)
{
    setUpdatesEnabled(false);
    const QSize client = maximumViewportSize();
    FGraph->Model().ScaleAround(QPoint(client.width() / 2, client.height() / 2), factor);
    ResetScroll(true);
    FitGraphToClient();
    setUpdatesEnabled(true);
    FGraph->update();
    TakeFocus();
}

void TEgoNetGraphEx::BestFit()
{
    setUpdatesEnabled(false);
    ResetScroll(true);
    FitGraphToClient();
    FZoom = 1.0;
    FGraph->BestFit();
    FGraph->Edited(QStringLiteral("Best Fit"));
    setUpdatesEnabled(true);
    FGraph->update();
    TakeFocus();
}

// What the view asks of its host

void TEgoNetGraphEx::TakeFocus()
{
    if (isEnabled() && focusPolicy() != Qt::NoFocus)
        setFocus();
}

void TEgoNetGraphEx::ViewClicked()
{
    Raise(OnClick, this);
}

void TEgoNetGraphEx::ViewDoubleClicked()
{
    Raise(OnDblClick, this);
}

// Events

void TEgoNetGraphEx::keyPressEvent(QKeyEvent* event)
{
    QScrollArea::keyPressEvent(event);
    FGraph->Interaction().KeyDown(event);
}

void TEgoNetGraphEx::wheelEvent(QWheelEvent* event)
{
    // The wheel zooms and never scrolls.
    FWheelDelta += event->angleDelta().y();
    for (; FWheelDelta >= kWheelNotch; FWheelDelta -= kWheelNotch)
        ZoomIn();
    for (; FWheelDelta <= -kWheelNotch; FWheelDelta += kWheelNotch)
        ZoomOut();
    event->accept();
}

void TEgoNetGraphEx::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    FitGraphToClient();
}
