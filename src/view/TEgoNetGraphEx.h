#pragma once

#include "view/IViewHost.h"
#include "view/TEgoNetGraphDisplay.h"

#include <QScrollArea>

// The scroll box the graph view lives in, and the only graph control the main window deals
// with. It owns the view, raises every view event again with itself as the sender (its
// TGraphEvents), passes its
// keys on to the view and zooms on the wheel. Above factor 1 the view grows beyond the visible
// area and is scrolled, the nodes moving apart with it; at or below 1 the view fills the area
// and the nodes are pulled together or pushed apart around its centre.
class TEgoNetGraphEx : public QScrollArea, public TGraphEvents, public IViewHost
{
    Q_OBJECT

public:
    static constexpr double ZoomStep = 1.07;
    static constexpr double ZoomOutFactor = 0.934579439252336;
    static constexpr double MinZoom = 0.4;
    // Zooming in stops once the view is this many screens wide.
    static constexpr int MaxScreens = 4;

    explicit TEgoNetGraphEx(QWidget* parent = nullptr);

    TEgoNetGraphDisplay& Graph() const { return *FGraph; }
    double Zoom() const { return FZoom; }

    // The host's own.
    TNotifyEvent OnHScroll;
    TNotifyEvent OnVScroll;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    void SaveScrollState();
    void ResetScroll(bool resetPositions);
    void FitGraphToClient();
    void ResetView();
    void ClearGraph();
    void ZoomIn() override;
    void ZoomOut() override;
    void BestFit();
    void ZoomCanvas(int newWidth, int newHeight, bool scalePositions, bool zoomingIn);
    void ZoomPositions(double factor);

    // What the view asks of its host.
    void TakeFocus() override;
    void ViewClicked() override;
    void ViewDoubleClicked() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct TScrollState
    {
        int HRange = 0;
        int HPosition = 0;
        int VRange = 0;
        int VPosition = 0;
    };

    // Connects each view event to the host's event of the same name.
    template <typename... Events>
    void Forward(Events TGraphEvents::*... events);
    void UserScrolled(bool horizontal);
    // One axis of ZoomCanvas: the scroll position that keeps the relative place.
    static int ScrolledPosition(int newExtent, int client, int savedRange, int savedPosition);

    TEgoNetGraphDisplay* FGraph;
    double FZoom = 1.0;
    // The scrollable extents as last set, and the state of the last scroll or reset.
    int FHRange = 0;
    int FVRange = 0;
    TScrollState FSaved;
    // Wheel turns of fine-grained wheels add up to whole steps.
    int FWheelDelta = 0;
    // Scroll bar moves made by the host itself are no user scrolling.
    bool FAdjusting = false;
};
