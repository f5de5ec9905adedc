#include "foundation/TPaintLayer.h"

#include <QPaintDevice>
#include <QPaintEngine>

#include <cmath>
#include <cstring>

bool TPaintLayer::Prepare(const QPainter& canvas)
{
    const QPaintEngine* engine = canvas.paintEngine();
    const QPaintDevice* device = canvas.device();
    if (!canvas.isActive() || !engine || engine->type() != QPaintEngine::Raster || !device
        || !canvas.worldTransform().isIdentity() || canvas.testRenderHint(QPainter::Antialiasing)
        || canvas.testRenderHint(QPainter::SmoothPixmapTransform) || canvas.opacity() != 1.0
        || canvas.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    // Device pixels only: at other ratios Qt scales pictures by filtering, which leaves pixels
    // part transparent.
    if (device->devicePixelRatio() != 1 || device->width() <= 0 || device->height() <= 0)
        return false;
    const QSize size(device->width(), device->height());
    // Label fonts are sized by the device's resolution, which the layer must report alike.
    const int dpiX = device->logicalDpiX();
    const int dpiY = device->logicalDpiY();
    if (FImage.size() != size || FImage.logicalDpiX() != dpiX || FImage.logicalDpiY() != dpiY) {
        FImage = QImage(size, QImage::Format_ARGB32_Premultiplied);
        if (FImage.isNull())
            return false;
        FImage.setDotsPerMeterX(int(std::lround(dpiX / 0.0254)));
        FImage.setDotsPerMeterY(int(std::lround(dpiY / 0.0254)));
        if (FImage.logicalDpiX() != dpiX || FImage.logicalDpiY() != dpiY) {
            FImage = QImage();
            return false;
        }
    }
    FClipping = canvas.hasClipping();
    FClip = FClipping ? canvas.clipRegion() : QRegion();
    FPen = canvas.pen();
    FBrush = canvas.brush();
    FBrushOrigin = canvas.brushOrigin();
    FFont = canvas.font();
    FHints = canvas.renderHints();
    return true;
}

void TPaintLayer::Paint(const std::function<void(QPainter&)>& paint)
{
    // Only what the clip lets through is laid over, so only that needs clearing.
    const QRect area = FClipping ? FClip.boundingRect().intersected(FImage.rect()) : FImage.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memset(FImage.scanLine(y) + area.left() * 4, 0, size_t(area.width()) * 4);

    QPainter painter(&FImage);
    // A single rectangle is set as one, as the canvas has it: lines are drawn alike only under
    // the same kind of clip.
    if (FClipping && FClip.rectCount() == 1)
        painter.setClipRect(FClip.boundingRect());
    else if (FClipping)
        painter.setClipRegion(FClip);
    painter.setRenderHints(FHints);
    painter.setPen(FPen);
    painter.setBrush(FBrush);
    painter.setBrushOrigin(FBrushOrigin);
    painter.setFont(FFont);
    paint(painter);
}

void TPaintLayer::LayOver(QPainter& canvas) const
{
    canvas.drawImage(QPoint(0, 0), FImage);
}
