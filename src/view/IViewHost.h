#pragma once

// What the graph view asks of the scrolling host it lives in: zooming on its keys, the keyboard
// focus on a press, and the host's own click events.
class IViewHost
{
public:
    virtual ~IViewHost() = default;

    virtual void ZoomIn() = 0;
    virtual void ZoomOut() = 0;
    // The host takes the focus when it is enabled and can take it.
    virtual void TakeFocus() = 0;
    virtual void ViewClicked() = 0;
    virtual void ViewDoubleClicked() = 0;
};
