#pragma once

#include <QSize>

class TEgoNetModel;
class TIntVector;
class TOrganizeThread;

// What a layout needs of the graph view it arranges. The view lives in a higher layer and
// implements this, so that layouts run without a widget.
class ILayoutView
{
public:
    virtual ~ILayoutView() = default;

    virtual TEgoNetModel& LayoutModel() = 0;
    // Width and height of the view's client area.
    virtual QSize ClientSize() const = 0;
    virtual int IdealLinkLength() const = 0;
    virtual void ArrangeIsolates(const TIntVector& isolates) = 0;
    virtual void StraightenLinks(bool prepare) = 0;
    virtual void Repaint() = 0;
    // Layout runs own the view's before-paint hook: preparing a run takes it away.
    virtual void ResetBeforePaint() = 0;
    // The layout is being freed; a view that has it installed must forget it.
    virtual void LayoutGone(TOrganizeThread*) {}
};
