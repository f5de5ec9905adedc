#include "foundation/TPaintLayer.h"

#include "foundation/THelperThread.h"

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Figures that leave every pixel they touch opaque: opaque colours, no antialiasing, pictures
// that are see-through wholly or not at all, text on an opaque box.
void PaintOpaqueFigures(QPainter& painter, quint32 seed)
{
    QRandomGenerator random(seed);
    const auto point = [&] { return QPoint(random.bounded(-20, 260), random.bounded(-20, 180)); };
    const auto colour = [&] { return QColor::fromRgb(0xFF000000 | random.generate()); };
    QImage sprite(9, 9, QImage::Format_ARGB32_Premultiplied);
    sprite.fill(0);
    for (int i = 0; i < 9; ++i)
        sprite.setPixel(i, i, 0xFF204060);
    for (int i = 0; i < 150; ++i) {
        painter.setPen(QPen(colour(), random.bounded(4), Qt::PenStyle(1 + random.bounded(5))));
        painter.setBrush(i % 3 ? QBrush(colour()) : QBrush());
        switch (i % 5) {
        case 0:
            painter.drawLine(point(), point());
            break;
        case 1:
            painter.drawEllipse(QRect(point(), QSize(random.bounded(40), random.bounded(40))));
            break;
        case 2:
            painter.drawPolygon(QPolygon({point(), point(), point()}));
            break;
        case 3:
            painter.drawImage(point(), sprite);
            break;
        default: {
            const QRect box(point(), QSize(60, 16));
            painter.fillRect(box, colour());
            painter.drawText(box, "Label");
            break;
        }
        }
    }
}

QImage Background(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    PaintOpaqueFigures(painter, 1);
    return image;
}

TEST(PaintLayer, LaidOverGivesThePixelsOfPaintingStraightOn)
{
    // Painted on the helper thread, with and without a clip.
    THelperThread helper;
    TPaintLayer layer;
    for (const QRect clip : {QRect(10, 5, 200, 140), QRect(0, 0, 240, 160)}) {
        QImage straight = Background(QSize(240, 160));
        QImage layered = straight;
        {
            QPainter painter(&straight);
            painter.setClipRect(clip);
            PaintOpaqueFigures(painter, 2);
        }
        QPainter painter(&layered);
        painter.setClipRect(clip);
        ASSERT_TRUE(layer.Prepare(painter));
        helper.Run([&] { layer.Paint([](QPainter& on) { PaintOpaqueFigures(on, 2); }); }, [] {});
        layer.LayOver(painter);
        painter.end();
        EXPECT_EQ(layered, straight);
    }
}

TEST(PaintLayer, RefusesCanvasesThatPaintPartialPixelsOrAreNotRaster)
{
    QImage image(50, 50, QImage::Format_ARGB32_Premultiplied);
    TPaintLayer layer;
    const std::function<void(QPainter&)> setups[] = {
        [](QPainter& p) { p.setRenderHint(QPainter::Antialiasing); },
        [](QPainter& p) { p.setRenderHint(QPainter::SmoothPixmapTransform); },
        [](QPainter& p) { p.setOpacity(0.5); },
        [](QPainter& p) { p.setCompositionMode(QPainter::CompositionMode_Multiply); },
        [](QPainter& p) { p.scale(2, 2); },
    };
    for (const auto& setup : setups) {
        QPainter painter(&image);
        setup(painter);
        EXPECT_FALSE(layer.Prepare(painter));
    }
    QImage sharp(QSize(100, 100), QImage::Format_ARGB32_Premultiplied);
    sharp.setDevicePixelRatio(2);
    QPainter highResolution(&sharp);
    EXPECT_FALSE(layer.Prepare(highResolution));
    QPicture picture;
    QPainter recording(&picture);
    EXPECT_FALSE(layer.Prepare(recording));
    QPainter plain(&image);
    EXPECT_TRUE(layer.Prepare(plain));
}

} // namespace
