#include "model/TEgoNetEdgeDrawer.h"
#include "model/TEgoNetNodeDrawer.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// How a painter maps figures onto its image: figures are drawn Shift away from where they
// show, Prepare sets up the painter, Ratio is the image's pixel ratio.
struct TSetup
{
    const char* Name;
    QPoint Shift;
    std::function<void(QPainter&)> Prepare;
    qreal Ratio = 1;
};

// Shapes and arrow heads are copied from sprites on raster images. A QPicture is no raster
// device, so a picture played back onto an image shows the figures as drawn directly: the two
// images must agree pixel for pixel.
void ExpectSpritesMatchDirectDrawing(const std::function<void(QPainter&)>& draw,
                                     const TSetup& setup = {"plain", {}, [](QPainter&) {}})
{
    const auto blank = [&] {
        QImage image(QSize(220, 220) * setup.Ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(setup.Ratio);
        image.fill(Qt::white);
        return image;
    };
    QImage copied = blank();
    {
        QPainter painter(&copied);
        setup.Prepare(painter);
        draw(painter); // fills the caches
        copied.fill(Qt::white);
        draw(painter);
    }
    QPicture picture;
    {
        QPainter recorder(&picture);
        setup.Prepare(recorder);
        draw(recorder);
    }
    QImage direct = blank();
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
    TEgoNetEdgeDrawer drawer;
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

TEST(SpriteCacheTest, CopiesOnlyWherePixelsStayTheSame)
{
    // A whole-pixel shift keeps a copy's pixels; half pixels, scaling and a pixel ratio of 2 would
    // not, so there the figures are drawn.
    const TSetup setups[] = {
        {"far away", QPoint(1000000, -3000), [](QPainter& p) { p.translate(-1000000, 3000); }},
        {"half-pixel shift", {}, [](QPainter& p) { p.translate(0.5, 0); }},
        {"scaled", {}, [](QPainter& p) { p.scale(1.5, 1.5); }},
        {"clipped", {}, [](QPainter& p) { p.setClipRect(95, 90, 12, 40); }},
        {"pixel ratio 2", {}, [](QPainter&) {}, 2},
    };
    TEgoNetNodeDrawer nodes;
    TEgoNetEdgeDrawer links;
    for (const TSetup& setup : setups) {
        SCOPED_TRACE(setup.Name);
        TEgoNetNode source(QPoint(30, 100) + setup.Shift, QString());
        TEgoNetNode target(QPoint(100, 100) + setup.Shift, QString());
        TEgoNetEdge link(&source, &target);
        link.UpdateMidPoint(0);
        for (int shape : {2, 3, 9}) {
            target.Shape = uint8_t(shape);
            target.Size = 21;
            ExpectSpritesMatchDirectDrawing(
                [&](QPainter& painter) {
                    links.DrawLink(painter, &link, false, {.ShowDirections = true});
                    nodes.DrawNode(painter, &target, {.ShowBorders = true, .ShowShape = true});
                },
                setup);
        }
    }
}

// Draws a figure through the cache with the pen and brush given: a filled triangle and an open
// line with a bend, so that joins, caps and the fill all show.
void DrawThrough(TSpriteCache& cache, QPainter& painter, QPoint at, const QPen& pen, const QBrush& brush)
{
    painter.setPen(pen);
    painter.setBrush(brush);
    cache.Draw(painter, at, {7}, QRect(-12, -12, 40, 40), [](QPainter& p, QPoint origin) {
        const QPoint corners[] = {origin, origin + QPoint(12, 0), origin + QPoint(12, 12)};
        p.drawPolygon(corners, 3);
        const QPoint line[] = {origin + QPoint(0, 8), origin + QPoint(4, 20), origin + QPoint(20, 20)};
        p.drawPolyline(line, 3);
    });
}

TEST(SpriteCacheTest, FiguresAlikeButForCapsJoinsWidthsOrPatternsAreNotConfused)
{
    // Each pair shares colours, integer width, pen style and brush style; the second figure of
    // a pair must not be copied from the first one's sprite.
    const auto pen = [](qreal width, Qt::PenCapStyle cap, Qt::PenJoinStyle join) {
        return QPen(Qt::black, width, Qt::SolidLine, cap, join);
    };
    const QBrush plain(Qt::red);
    const QBrush dotted(Qt::red, Qt::Dense4Pattern);
    TSpriteCache cache;
    ExpectSpritesMatchDirectDrawing([&](QPainter& painter) {
        DrawThrough(cache, painter, {20, 20}, pen(6, Qt::FlatCap, Qt::MiterJoin), plain);
        DrawThrough(cache, painter, {20, 70}, pen(6, Qt::FlatCap, Qt::RoundJoin), plain);
        DrawThrough(cache, painter, {20, 120}, pen(6, Qt::SquareCap, Qt::RoundJoin), plain);
        DrawThrough(cache, painter, {70, 20}, pen(5, Qt::SquareCap, Qt::BevelJoin), plain);
        DrawThrough(cache, painter, {70, 70}, pen(5.4, Qt::SquareCap, Qt::BevelJoin), plain);
        // A pattern is aligned to the canvas, not to the figure.
        DrawThrough(cache, painter, {120, 20}, pen(1, Qt::SquareCap, Qt::BevelJoin), dotted);
        DrawThrough(cache, painter, {121, 70}, pen(1, Qt::SquareCap, Qt::BevelJoin), dotted);
    });
}

} // namespace
