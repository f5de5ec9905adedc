#pragma once

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRegion>

#include <functional>

// A transparent picture the size of a canvas, painted (on another thread, say) while the canvas
// is painted, then laid over it. The result is exactly that of painting both on the canvas in
// turn as long as every pixel the layer's painting touches ends opaque: such a pixel replaces
// what lies below, an untouched one lets it through. Keeping to that is the caller's part.
class TPaintLayer
{
public:
    // Takes the canvas's size, resolution, clip, pen, brush and font for the next layer; on the
    // canvas's thread, before the canvas is painted further. False when the canvas cannot take a
    // layer: not raster, transformed (a device pixel ratio other than 1 included), or painting
    // partial pixels of its own (antialiasing, smooth picture scaling, opacity, a mode other than
    // plain drawing over).
    bool Prepare(const QPainter& canvas);
    // Clears the prepared layer and paints it; on any one thread.
    void Paint(const std::function<void(QPainter&)>& paint);
    // Lays the painted layer over the canvas.
    void LayOver(QPainter& canvas) const;

private:
    QImage FImage;
    bool FClipping = false;
    QRegion FClip;
    QPen FPen;
    QBrush FBrush;
    QPoint FBrushOrigin;
    QFont FFont;
    QPainter::RenderHints FHints;
};
