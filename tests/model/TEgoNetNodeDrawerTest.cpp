#include "model/TEgoNetNodeDrawer.h"

#include "foundation/GeometryPrinters.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBackground = qRgb(0xE0, 0xFF, 0xE0); // the brush the view leaves on the canvas
const QRgb kFill = qRgb(0x99, 0x66, 0x33); // 0x00336699: swapped channels would show
const QRgb kRed = qRgb(255, 0, 0);

struct NodeDrawerTest : ::testing::Test
{
    NodeDrawerTest()
    {
        node.Color = 0x00336699;
        node.Image = QImage();
    }

    // A white canvas; the brush, pen and font set on it must come back unchanged.
    QImage Draw(TNodeDrawOptions options, qreal ratio = 1, const QBrush& brush = QColor(kBackground))
    {
        QImage image(QSize(200, 200) * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        QPainter painter(&image);
        const QPen pen(Qt::darkCyan, 3, Qt::DashLine);
        const QFont font("Serif", 21);
        painter.setPen(pen);
        painter.setBrush(brush);
        painter.setFont(font);
        drawer.DrawNode(painter, &node, options);
        EXPECT_EQ(painter.pen(), pen);
        EXPECT_EQ(painter.brush(), brush);
        EXPECT_EQ(painter.font(), font);
        return image;
    }

    // The box around the dark text pixels inside the rectangle.
    static QRect InkBox(const QImage& image, const TRect& r)
    {
        QRect box;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (qGray(image.pixel(x, y)) < 100)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    TEgoNetNodeDrawer drawer;
    TEgoNetNode node{QPoint(100, 100), "Ann."};
    QImage device{1, 1, QImage::Format_RGB32}; // 96 dpi: 8 points are 11 pixels
};

const TNodeDrawOptions kShapes{.SelectionColor = 0x000000FF, .ShowBorders = true, .ShowShape = true};
const TNodeDrawOptions kLabels{.ShowCaption = true, .ShowShape = true};

} // namespace

TEST_F(NodeDrawerTest, RectangleWithTwoPixelSelectionFrame)
{
    node.Shape = 0;
    node.SetSelected(true);
    EXPECT_EQ(drawer.NodeBounds(node, device), (TRect{93, 93, 107, 107}));
    QImage image = Draw(kShapes);
    EXPECT_EQ(image.pixel(100, 100), kFill);
    EXPECT_EQ(image.pixel(93, 100), kBlack);
    EXPECT_EQ(image.pixel(106, 100), kBlack);
    // Frames (92, 92, 108, 108) and (91, 91, 109, 109).
    for (const QPoint p : {QPoint(92, 92), QPoint(107, 107), QPoint(91, 100), QPoint(108, 91)})
        EXPECT_EQ(image.pixel(p), kRed) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixel(109, 100), kWhite);
    EXPECT_EQ(drawer.HitTestNode(node, device, QPoint(93, 106)), (THitResult{true, false}));
    EXPECT_EQ(drawer.HitTestNode(node, device, QPoint(107, 100)), THitResult{});
    EXPECT_EQ(Draw({.ShowShape = true}).pixel(93, 100), kWhite); // no borders: a white outline

    // Size 0: no shape, but the frames (99, 99, 101, 101) and (98, 98, 102, 102) and the label.
    node.Size = 0;
    image = Draw({.SelectionColor = 0x000000FF, .ShowCaption = true, .ShowShape = true});
    EXPECT_EQ(image.pixel(100, 100), kRed);
    EXPECT_EQ(image.pixel(98, 101), kRed);
    EXPECT_GT(InkBox(image, drawer.LabelRect(node, device)).width(), 5);
}

TEST_F(NodeDrawerTest, EveryShapeFillsItsInsideOnly)
{
    // Size 20: l = t = 90, r = b = 110. Per shape a filled point and a point left blank.
    const struct { uint8_t shape; QPoint in; QPoint out; } cases[] = {
        {0, {91, 91}, {110, 100}},  {1, {100, 93}, {93, 93}},   {2, {100, 100}, {91, 91}},
        {3, {89, 100}, {88, 92}},   {4, {100, 105}, {92, 93}},  {5, {100, 93}, {92, 106}},
        {6, {106, 92}, {92, 92}},   {7, {93, 92}, {107, 92}},   {9, {100, 95}, {100, 109}},
        {10, {100, 105}, {91, 91}}, {11, {100, 107}, {106, 107}},
    };
    node.Size = 20;
    for (const auto& c : cases) {
        node.Shape = c.shape;
        const QImage image = Draw({.ShowShape = true});
        EXPECT_EQ(image.pixel(c.in), kFill) << int(c.shape);
        EXPECT_EQ(image.pixel(c.out), kWhite) << int(c.shape);
    }
}

TEST_F(NodeDrawerTest, LabelPlacementPerOrientation)
{
    node.Size = 20;
    const TRect right = drawer.LabelRect(node, device);
    const int w = right.Right - right.Left;
    const int h = right.Bottom - right.Top;
    ASSERT_GT(w, 10);
    ASSERT_GE(h, 11);
    // Beside the node the top is y - f div 2 - 3, with f = round(8 * 96 / 72) = 11.
    const int centred = 100 - w / 2;
    const TRect expected[] = {{87 - w, 92, 87, 92 + h}, {centred, 90 - h, centred + w, 90},
                              {113, 92, 113 + w, 92 + h}, {centred, 110, centred + w, 110 + h}};
    for (uint8_t orientation = 0; orientation < 4; ++orientation) {
        node.LabelOrientation = orientation;
        const TRect rect = drawer.LabelRect(node, device);
        EXPECT_EQ(rect, expected[orientation]) << int(orientation);
        EXPECT_EQ(node.LabelPos, QPoint(rect.Left, rect.Top));
        EXPECT_EQ(drawer.HitTestNode(node, device, QPoint(rect.Left, rect.Top)), (THitResult{true, true}));
    }
    // The label box is the brush colour with the text inside it.
    node.LabelOrientation = 2;
    const QImage image = Draw(kLabels);
    EXPECT_EQ(image.pixel(right.Right - 1, right.Top), kBackground);
    EXPECT_EQ(image.pixel(right.Right, right.Top), kWhite);
    EXPECT_GT(InkBox(image, right).width(), 10);
    node.HideLabel = true;
    EXPECT_EQ(Draw(kLabels).pixel(right.Right - 1, right.Top), kWhite);
    EXPECT_EQ(drawer.HitTestNode(node, device, QPoint(right.Left, right.Top)), THitResult{});
}

TEST_F(NodeDrawerTest, NoShapeIsItsFramedLabel)
{
    node.Shape = 8;
    const TRect label = drawer.LabelRect(node, device);
    const TRect bounds = drawer.NodeBounds(node, device);
    EXPECT_EQ(bounds, GrownRect(label, 2));
    EXPECT_EQ(label.Top, 100 - 11 / 2 - 3 - 2);
    const QImage image = Draw({.ShowBorders = true, .ShowCaption = true, .ShowShape = true});
    EXPECT_EQ(image.pixel(label.Left, label.Top), kBlack);
    EXPECT_EQ(image.pixel(label.Right - 1, label.Bottom - 1), kBlack);
    // Framed, the text moves in by (2, 1).
    EXPECT_EQ(InkBox(image, GrownRect(label, -1)), InkBox(Draw(kLabels), label).translated(2, 1));
    EXPECT_EQ(drawer.HitTestNode(node, device, QPoint(bounds.Left, bounds.Top)), (THitResult{true, true}));
    EXPECT_EQ(drawer.HitTestNode(node, device, QPoint(bounds.Left - 1, bounds.Top)), THitResult{});
    node.Visible = false;
    EXPECT_EQ(drawer.HitTestNode(node, device, node.Position), THitResult{});
}

TEST_F(NodeDrawerTest, DisabledNodesAreGrey)
{
    node.Enabled = false;
    node.IsGroup = true;
    node.Shape = 0;
    node.SetSelected(true);
    node.Image = QImage(4, 4, QImage::Format_RGB32);
    node.Image.fill(Qt::blue);
    const QImage image = Draw({.SelectionColor = 0x000000FF, .ShowBorders = true, .ShowCaption = true,
                               .ShowImage = true, .ShowShape = true});
    const QRgb grey = qRgb(0xC8, 0xC8, 0xC8);
    const QRgb dimmed = qRgb(0xA0, 0xA0, 0xA0);
    EXPECT_EQ(image.pixel(100, 100), grey); // no picture
    EXPECT_EQ(image.pixel(93, 100), grey);
    EXPECT_EQ(image.pixel(92, 100), dimmed);
    // Antialiased text of 11 pixels rarely covers a pixel fully: its darkest pixel is near the grey.
    const TRect label = drawer.LabelRect(node, device);
    int darkest = 255;
    for (int y = label.Top; y < label.Bottom; ++y)
        for (int x = label.Left; x < label.Right; ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    EXPECT_NEAR(darkest, qGray(dimmed), 16);
    node.Shape = 2;
    Draw(kShapes);
    EXPECT_EQ(node.Shape, 2) << "a disabled group keeps its shape";
    node.Enabled = true;
    Draw(kShapes);
    EXPECT_EQ(node.Shape, 0);
}

TEST_F(NodeDrawerTest, PicturesKeepTheirProportionsAndTransparency)
{
    node.Size = 30;
    node.Image = QImage(40, 20, QImage::Format_RGB32);
    node.Image.fill(Qt::red);
    QImage image = Draw({.ShowBorders = true, .ShowImage = true});
    // 30 x 15 at (85, 92), centred vertically in (85, 85, 115, 115), which is framed.
    EXPECT_EQ(image.pixel(86, 92), kRed);
    EXPECT_EQ(image.pixel(113, 106), kRed);
    EXPECT_EQ(image.pixel(100, 91), kWhite);
    EXPECT_EQ(image.pixel(100, 107), kWhite);
    EXPECT_EQ(image.pixel(100, 85), kBlack);
    node.Image = node.Image.transformed(QTransform().rotate(90));
    image = Draw({.ShowImage = true});
    EXPECT_EQ(image.pixel(92, 85), kRed); // 15 x 30, centred horizontally
    EXPECT_EQ(image.pixel(107, 100), kWhite);

    // The bottom-left colour is the transparent one: the shape shows through the white half.
    node.Shape = 0;
    node.Image = QImage(2, 2, QImage::Format_RGB32);
    node.Image.fill(Qt::white);
    node.Image.setPixel(1, 0, qRgb(0, 0, 255));
    node.Image.setPixel(1, 1, qRgb(0, 0, 255));
    node.BuildImageMasks();
    const TNodeDrawOptions both{.ShowImage = true, .ShowShape = true};
    EXPECT_EQ(Draw(both).pixel(92, 100), kWhite);
    node.ImageTransparent = true;
    image = Draw(both);
    EXPECT_EQ(image.pixel(92, 100), kFill);
    EXPECT_EQ(image.pixel(108, 100), qRgb(0, 0, 255));
}

TEST_F(NodeDrawerTest, CachedLabelsFollowColourBackgroundAndResolution)
{
    const QImage first = Draw(kLabels);
    EXPECT_EQ(Draw(kLabels), first); // from the cache
    node.Font.Color = 0x000000FF;
    EXPECT_NE(Draw(kLabels), first);
    const TRect rect = drawer.LabelRect(node, device);
    EXPECT_EQ(Draw(kLabels, 1, Qt::NoBrush).pixel(rect.Right - 1, rect.Top), kWhite);
    // Twice the pixels: the box still ends at the same logical place.
    const QImage sharp = Draw(kLabels, 2);
    EXPECT_EQ(sharp.pixel(2 * rect.Right - 1, 2 * rect.Top), kBackground);
    EXPECT_EQ(sharp.pixel(2 * rect.Right, 2 * rect.Top), kWhite);
    // A label of millions of pixels is written onto the canvas directly, with the same box.
    node.Font.Size = 2000;
    const TRect huge = drawer.LabelRect(node, device);
    node.Position.rx() -= huge.Right - 100;
    const QImage direct = Draw(kLabels);
    EXPECT_EQ(direct.pixel(99, 0), kBackground);
    EXPECT_EQ(direct.pixel(100, 0), kWhite);
}

TEST_F(NodeDrawerTest, NodesBeyondTheDrawingRangeAreNeitherDrawnNorHit)
{
    // Only a damaged file brings such numbers; the figure's arithmetic would leave 32 bits.
    node.Shape = 0;
    node.Size = std::numeric_limits<int32_t>::max();
    node.SetSelected(true);
    const QImage image = Draw(kShapes);
    for (const QPoint p : {QPoint(100, 100), QPoint(2, 2), QPoint(197, 197)})
        EXPECT_EQ(image.pixel(p), kWhite) << p.x() << "," << p.y();
    EXPECT_FALSE(drawer.HitTestNode(node, device, QPoint(100, 100)).Hit);
    // At the end of the range the label to the right would wrap round to the far left.
    node.Size = 20;
    node.Position = QPoint(std::numeric_limits<int32_t>::max() - 5, 100);
    EXPECT_FALSE(drawer.HitTestNode(node, device, QPoint(std::numeric_limits<int32_t>::min() + 10, 95)).Hit);
    node.Position = QPoint(MaxDrawingExtent, -MaxDrawingExtent);
    EXPECT_TRUE(drawer.HitTestNode(node, device, node.Position).Hit);
}

TEST_F(NodeDrawerTest, DrawsOpaqueUnlessAPictureOrTheLabelBackgroundIsSeeThrough)
{
    // What may go on a layer laid over the links: every pixel ends opaque or untouched.
    TEgoNetNode* nodes[] = {&node};
    const QBrush background(kBackground);
    const TNodeDrawOptions pictures{.ShowCaption = true, .ShowImage = true};
    EXPECT_TRUE(TEgoNetNodeDrawer::DrawsOpaque(nodes, pictures, background));
    EXPECT_FALSE(TEgoNetNodeDrawer::DrawsOpaque(nodes, pictures, QBrush()));
    EXPECT_FALSE(TEgoNetNodeDrawer::DrawsOpaque(nodes, pictures, QColor(0, 0, 0, 128)));

    QImage glassy(8, 8, QImage::Format_ARGB32_Premultiplied);
    glassy.fill(qRgba(40, 60, 80, 128));
    node.Image = glassy;
    EXPECT_FALSE(TEgoNetNodeDrawer::DrawsOpaque(nodes, pictures, background));
    // Not drawn: pictures off, or the person disabled.
    EXPECT_TRUE(TEgoNetNodeDrawer::DrawsOpaque(nodes, {.ShowCaption = true}, background));
    node.Enabled = false;
    EXPECT_TRUE(TEgoNetNodeDrawer::DrawsOpaque(nodes, pictures, background));
    // See-through by its mask: wholly or not at all.
    node.Enabled = true;
    node.BuildImageMasks();
    node.ImageTransparent = true;
    EXPECT_TRUE(TEgoNetNodeDrawer::DrawsOpaque(nodes, pictures, background));
}

TEST_F(NodeDrawerTest, LabelsRememberedWithTheirNodeFollowTextAndFont)
{
    // The label is remembered with the node's address: a new text or font, or another node at
    // the same address, must not bring back the old bitmap or width.
    const auto fresh = [&] {
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setBrush(QColor(kBackground));
        TEgoNetNodeDrawer().DrawNode(painter, &node, kLabels);
        return image;
    };
    Draw(kLabels);
    node.SetCaption("Bartholomew");
    EXPECT_EQ(Draw(kLabels), fresh());
    node.Font.Style = TFontData::fsBold;
    EXPECT_EQ(Draw(kLabels), fresh());
    node.Font.Name = "Serif";
    EXPECT_EQ(Draw(kLabels), fresh());
    node.SetCaption("Al");
    node.Font = TFontData();
    EXPECT_EQ(Draw(kLabels), fresh());
}
