#include "model/TSpriteCache.h"

#include <QPaintEngine>

#include <cmath>
#include <memory>

bool TSpriteCache::CanCopy(const QPainter& canvas)
{
    const QPaintEngine* engine = canvas.paintEngine();
    const QTransform& transform = canvas.deviceTransform();
    const Qt::BrushStyle brush = canvas.brush().style();
    const QPen& pen = canvas.pen();
    return engine && engine->type() == QPaintEngine::Raster && !canvas.testRenderHint(QPainter::Antialiasing) &&
           canvas.compositionMode() == QPainter::CompositionMode_SourceOver && canvas.opacity() == 1.0 &&
           transform.type() <= QTransform::TxTranslate && transform.dx() == std::floor(transform.dx()) &&
           transform.dy() == std::floor(transform.dy()) && (brush == Qt::NoBrush || brush == Qt::SolidPattern) &&
           pen.brush().style() == Qt::SolidPattern && pen.style() != Qt::CustomDashLine;
}

void TSpriteCache::Draw(QPainter& canvas, QPoint origin, const TShape& shape, const QRect& bounds,
                        const std::function<void(QPainter&, QPoint)>& render)
{
    const qsizetype cost = qsizetype(bounds.width()) * bounds.height() * 4 / 1024 + 1;
    if (!CanCopy(canvas) || bounds.isEmpty() || cost > FSprites.maxCost()) {
        render(canvas, origin);
        return;
    }
    const QPen& pen = canvas.pen();
    const QBrush& brush = canvas.brush();
    const TKey key{shape, pen.color().rgba(), brush.color().rgba(), pen.widthF(), int32_t(pen.style()),
                   int32_t(pen.capStyle()), int32_t(pen.joinStyle()), int32_t(brush.style())};
    const QImage* sprite = FSprites.object(key);
    if (!sprite && !FSeen.contains(key)) {
        // A figure seen once may never come back (a layout moving every node): draw it, and make
        // a sprite only when it shows up again.
        if (FSeen.size() >= kMaxSeen)
            FSeen.clear();
        FSeen.insert(key);
        render(canvas, origin);
        return;
    }
    if (!sprite) {
        auto image = std::make_unique<QImage>(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        image->fill(Qt::transparent);
        QPainter painter(image.get());
        painter.setPen(pen);
        painter.setBrush(brush);
        render(painter, -bounds.topLeft());
        painter.end();
        sprite = image.get();
        FSprites.insert(key, image.release(), cost);
    }
    canvas.drawImage(origin + bounds.topLeft(), *sprite);
}
