#include "model/TEgoNetEdgeDrawer.h"
#include "model/TEgoNetNodeDrawer.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// Shapes and arrow heads are copied from sprites on raster images. A QPicture is no raster
// device, so a picture played back onto an image shows the figures as drawn directly: the two
// images must agree pixel for pixel.
void ExpectSpritesMatchDirectDrawing(const std::function<void(QPainter&)>& draw)
{
    QImage copied(220, 220, QImage::Format_RGB32);
    copied.fill(Qt::white);
    {
        QPainter painter(&copied);
        draw(painter); // fills the caches
        copied.fill(Qt::white);
        draw(painter);
    }
    QPicture picture;
    {
        QPainter recorder(&picture);
        draw(recorder);
    }
    QImage direct(220, 220, QImage::Format_RGB32);
    direct.fill(Qt::white);
    {
        QPainter painter(&direct);
        picture.play(&painter);
    }
    int differing = 0;
    for (int y = 0; y < direct.height(); ++y)
        for (int x = 0; x < direct.width(); ++x)
            differing += copied.pixel(x, y) != direct.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST(SpriteCacheTest, ShapesFromSpritesMatchDirectDrawing)
{
    TEgoNetNodeDrawer drawer;
    for (bool borders : {false, true}) {
        for (int size : {1, 5, 14, 21, 40}) {
            for (int shape = 0; shape < 12; ++shape) {
                TEgoNetNode node(QPoint(101, 97), QString());
                node.Shape = uint8_t(shape);
                node.Size = size;
                node.Color = 0x00336699;
                node.Enabled = shape % 3 != 0;
                SCOPED_TRACE(testing::Message() << "shape " << shape << " size " << size << " borders " << borders);
                ExpectSpritesMatchDirectDrawing([&](QPainter& painter) {
                    drawer.DrawNode(painter, &node, {.ShowBorders = borders, .ShowShape = true});
                });
            }
        }
    }
}

TEST(SpriteCacheTest, ArrowHeadsFromSpritesMatchDirectDrawing)
{
    TEgoNetNodeDrawer nodes;
    TEgoNetEdgeDrawer drawer(nodes);
    TEgoNetNode source(QPoint(110, 110), QString());
    TEgoNetNode target(QPoint(0, 0), QString());
    TEgoNetEdge link(&source, &target);
    link.HeadColor = 0x000000C0;
    for (int width : {1, 3}) {
        link.Width = width;
        for (int step = 0; step < 24; ++step) {
            const double angle = step * M_PI / 12 + 0.1;
            target.Position = QPoint(110 + int(std::lround(90 * std::cos(angle))), 110 + int(std::lround(90 * std::sin(angle))));
            link.UpdateMidPoint(step % 2 ? 20 : 0);
            SCOPED_TRACE(testing::Message() << "step " << step << " width " << width);
            ExpectSpritesMatchDirectDrawing([&](QPainter& painter) {
                drawer.DrawLink(painter, &link, false, {.ShowDirections = true});
            });
        }
    }
}

} // namespace
