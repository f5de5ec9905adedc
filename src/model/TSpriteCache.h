#pragma once

#include <QCache>
#include <QHashFunctions>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSet>

#include <array>
#include <cstdint>
#include <functional>

// Node shapes and arrow heads come in a handful of looks but in thousands of places. Without
// antialiasing Qt rasterises integer geometry the same wherever it lies, so such a figure is
// rendered once into a transparent sprite and copied from then on, at a fraction of the cost of
// filling and stroking it again. Painters that are not plain raster ones (printers, PDF,
// transformed, antialiased or mixing) get the figure drawn directly, as do patterned, gradient
// or textured brushes and pens (their look depends on where they are drawn) and a figure the
// first time it is seen.
class TSpriteCache
{
public:
    // What makes two figures look alike besides pen and brush: a kind and the figure's geometry
    // relative to the point it is drawn at. Unused values stay 0.
    using TShape = std::array<int32_t, 8>;

    // Draws the figure at origin with the canvas's pen and brush. render draws it on the painter
    // it is given, whose pen and brush are the canvas's, with origin moved to the given point;
    // bounds is the area the figure may cover, relative to origin.
    void Draw(QPainter& canvas, QPoint origin, const TShape& shape, const QRect& bounds,
              const std::function<void(QPainter&, QPoint)>& render);

private:
    struct TKey
    {
        TShape Shape{};
        QRgb Pen = 0;
        QRgb Brush = 0;
        qreal PenWidth = 0;
        int32_t PenStyle = 0;
        int32_t PenCap = 0;
        int32_t PenJoin = 0;
        int32_t BrushStyle = 0;

        bool operator==(const TKey&) const = default;
        friend size_t qHash(const TKey& key, size_t seed = 0)
        {
            return qHashMulti(seed, qHashRange(key.Shape.begin(), key.Shape.end()), key.Pen, key.Brush, key.PenWidth,
                              key.PenStyle, key.PenCap, key.PenJoin, key.BrushStyle);
        }
    };

    static bool CanCopy(const QPainter& canvas);

    static constexpr qsizetype kMaxSeen = 20000;

    // Costs are kilobytes of sprite.
    QCache<TKey, QImage> FSprites{8192};
    // Figures drawn once so far.
    QSet<TKey> FSeen;
};
