#include "model/TEgoNetNodeDrawer.h"

#include "foundation/GeometryPrinters.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBackground = qRgb(0xE0, 0xFF, 0xE0); // the brush the view leaves on the canvas
const QRgb kFill = qRgb(0x99, 0x66, 0x33); // 0x00336699: swapped channels would show
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGrey = qRgb(0xC8, 0xC8, 0xC8);
const QRgb kDimmed = qRgb(0xA0, 0xA0, 0xA0);

// A white canvas of the given logical size, painted by draw with a brush, pen and font that every
// drawer call must hand back unchanged.
QImage Render(const std::function<void(QPainter&)>& draw, QSize size = QSize(200, 200), qreal ratio = 1)
{
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QPen pen(Qt::darkCyan, 3, Qt::DashLine);
    const QBrush brush{QColor(kBackground)};
    const QFont font("Serif", 21);
    painter.setPen(pen);
    painter.setBrush(brush);
    painter.setFont(font);
    draw(painter);
    EXPECT_EQ(painter.pen(), pen);
    EXPECT_EQ(painter.brush(), brush);
    EXPECT_EQ(painter.font(), font);
    return image;
}

struct NodeDrawerTest : ::testing::Test
{
    NodeDrawerTest()
    {
        node.Color = 0x00336699;
        node.Image = QImage();
    }

    QImage Draw(TNodeDrawOptions options, QSize size = QSize(200, 200), qreal ratio = 1)
    {
        return Render([&](QPainter& p) { drawer.DrawNode(p, &node, options); }, size, ratio);
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

} // namespace

TEST_F(NodeDrawerTest, RectangleWithTwoPixelSelectionFrame)
{
    node.Shape = 0;
    node.SetSelected(true);
    EXPECT_EQ(drawer.NodeBounds(node, device), (TRect{93, 93, 107, 107}));
    const QImage image = Draw(kShapes);
    EXPECT_EQ(image.pixel(100, 100), kFill);
    for (const int x : {93, 106})
        EXPECT_EQ(image.pixel(x, 100), kBlack) << x;
    // Frames (92, 92, 108, 108) and (91, 91, 109, 109).
    for (const QPoint p : {QPoint(92, 92), QPoint(107, 107), QPoint(91, 100), QPoint(108, 91)})
        EXPECT_EQ(image.pixel(p), kRed) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixel(109, 100), kWhite);
    EXPECT_EQ(drawer.HitTestNode(node, device, QPoint(93, 106)), (THitResult{true, false}));
    EXPECT_EQ(drawer.HitTestNode(node, device, QPoint(107, 100)), THitResult{});
    // Without borders the outline is white.
    node.SetSelected(false);
    EXPECT_EQ(Draw({.ShowShape = true}).pixel(93, 100), kWhite);
}

TEST_F(NodeDrawerTest, EveryShapeFillsItsInsideOnly)
{
    // Size 20: l = t = 90, r = b = 110. Per shape a filled point and a point left blank.
    struct Case { uint8_t shape; QPoint in; QPoint out; };
    const Case cases[] = {
        {0, {91, 91}, {110, 100}},  {1, {100, 93}, {93, 93}},   {2, {100, 100}, {91, 91}},
        {3, {89, 100}, {88, 92}},   {4, {100, 105}, {92, 93}},  {5, {100, 93}, {92, 106}},
        {6, {106, 92}, {92, 92}},   {7, {93, 92}, {107, 92}},   {9, {100, 95}, {100, 109}},
        {10, {100, 105}, {91, 91}}, {11, {100, 107}, {106, 107}},
    };
    node.Size = 20;
    for (const Case& c : cases) {
        node.Shape = c.shape;
        const QImage image = Draw({.ShowShape = true});
        EXPECT_EQ(image.pixel(c.in), kFill) << int(c.shape);
        EXPECT_EQ(image.pixel(c.out), kWhite) << int(c.shape);
    }
    node.Shape = 8;
    EXPECT_EQ(Draw(kShapes), Draw({})); // no figure, and no label without captions
}

TEST_F(NodeDrawerTest, SizeZeroStillGetsLabelAndFrame)
{
    node.Size = 0;
    node.SetSelected(true);
    const QImage image = Draw({.SelectionColor = 0x000000FF, .ShowCaption = true, .ShowShape = true});
    EXPECT_EQ(image.pixel(100, 100), kRed); // frames (99, 99, 101, 101) and (98, 98, 102, 102)
    EXPECT_EQ(image.pixel(98, 101), kRed);
    EXPECT_GT(InkBox(image, drawer.LabelRect(node, device)).width(), 5);
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
    const TRect rect = drawer.LabelRect(node, device);
    const QImage image = Draw({.ShowCaption = true, .ShowShape = true});
    EXPECT_EQ(image.pixel(rect.Right - 1, rect.Top), kBackground);
    EXPECT_EQ(image.pixel(rect.Right, rect.Top), kWhite);
    EXPECT_GT(InkBox(image, rect).width(), 10);
    node.HideLabel = true;
    EXPECT_TRUE(InkBox(Draw({.ShowCaption = true, .ShowShape = true}), rect).isEmpty());
    EXPECT_EQ(drawer.HitTestNode(node, device, QPoint(rect.Left, rect.Top)), THitResult{});
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
    const QRect plain = InkBox(Draw({.ShowCaption = true, .ShowShape = true}), label);
    EXPECT_EQ(InkBox(image, GrownRect(label, -1)), plain.translated(2, 1));
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
    EXPECT_EQ(image.pixel(100, 100), kGrey); // no picture
    EXPECT_EQ(image.pixel(93, 100), kGrey);
    EXPECT_EQ(image.pixel(92, 100), kDimmed);
    // Antialiased text of 11 pixels rarely covers a pixel fully: its darkest pixel is near the grey.
    const TRect label = drawer.LabelRect(node, device);
    int darkest = 255;
    for (int y = label.Top; y < label.Bottom; ++y)
        for (int x = label.Left; x < label.Right; ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    EXPECT_NEAR(darkest, qGray(kDimmed), 16);
    node.Shape = 2;
    Draw(kShapes);
    EXPECT_EQ(node.Shape, 2) << "a disabled group keeps its shape";
    node.Enabled = true;
    Draw(kShapes);
    EXPECT_EQ(node.Shape, 0);
}

TEST_F(NodeDrawerTest, PicturesKeepTheirProportions)
{
    node.Size = 30;
    node.Image = QImage(40, 20, QImage::Format_RGB32);
    node.Image.fill(Qt::red);
    QImage image = Draw({.ShowBorders = true, .ShowImage = true});
    // 30 x 15 at (85, 92): centred vertically in (85, 85, 115, 115), which is framed.
    EXPECT_EQ(image.pixel(86, 92), kRed);
    EXPECT_EQ(image.pixel(113, 106), kRed);
    EXPECT_EQ(image.pixel(100, 91), kWhite);
    EXPECT_EQ(image.pixel(100, 107), kWhite);
    EXPECT_EQ(image.pixel(100, 85), kBlack);
    node.Image = node.Image.transformed(QTransform().rotate(90));
    image = Draw({.ShowImage = true});
    EXPECT_EQ(image.pixel(92, 85), kRed);
    EXPECT_EQ(image.pixel(106, 114), kRed);
    EXPECT_EQ(image.pixel(91, 100), kWhite);
    EXPECT_EQ(image.pixel(107, 100), kWhite);
}

TEST_F(NodeDrawerTest, TransparentPictureShowsTheShapeThrough)
{
    node.Shape = 0;
    node.Size = 20;
    node.Image = QImage(2, 2, QImage::Format_RGB32);
    node.Image.fill(Qt::white); // the bottom-left colour is the transparent one
    node.Image.setPixel(1, 0, qRgb(0, 0, 255));
    node.Image.setPixel(1, 1, qRgb(0, 0, 255));
    node.BuildImageMasks();
    const TNodeDrawOptions both{.ShowImage = true, .ShowShape = true};
    EXPECT_EQ(Draw(both).pixel(94, 100), kWhite);
    node.ImageTransparent = true;
    const QImage image = Draw(both);
    EXPECT_EQ(image.pixel(94, 100), kFill);
    EXPECT_EQ(image.pixel(106, 100), qRgb(0, 0, 255));
}

TEST_F(NodeDrawerTest, CachedLabelsFollowColourBackgroundAndResolution)
{
    const TNodeDrawOptions labels{.ShowCaption = true, .ShowShape = true};
    const QImage first = Draw(labels);
    EXPECT_EQ(Draw(labels), first);
    TEgoNetNodeDrawer fresh;
    EXPECT_EQ(Render([&](QPainter& p) { fresh.DrawNode(p, &node, labels); }), first);
    node.Font.Color = 0x000000FF;
    EXPECT_NE(Draw(labels), first);
    node.Font.Color = 0;
    const TRect rect = drawer.LabelRect(node, device);
    const QImage plain = Render([&](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        drawer.DrawNode(p, &node, labels);
        p.setBrush(QColor(kBackground));
    });
    EXPECT_EQ(plain.pixel(rect.Right - 1, rect.Top), kWhite);
    // Twice the pixels: the box still ends at the same logical place.
    const QImage sharp = Draw(labels, QSize(200, 200), 2);
    EXPECT_EQ(sharp.pixel(2 * rect.Right - 1, 2 * rect.Top), kBackground);
    EXPECT_EQ(sharp.pixel(2 * rect.Right, 2 * rect.Top), kWhite);
}

TEST_F(NodeDrawerTest, HugeFontIsWrittenStraightOntoTheCanvas)
{
    node.Font.Size = 2000;
    node.SetCaption("Hi");
    const TRect rect = drawer.LabelRect(node, device);
    ASSERT_GT(int64_t(rect.Right - rect.Left) * (rect.Bottom - rect.Top), int64_t(1) << 22);
    node.Position = QPoint(100 - rect.Right + 100, 100); // the box's right edge at x = 100
    const QImage image = Draw({.ShowCaption = true, .ShowShape = true});
    EXPECT_EQ(image.pixel(99, 0), kBackground);
    EXPECT_EQ(image.pixel(100, 0), kWhite);
}
