#include "model/ModelConstants.h"
#include "view/TEgoNetGraphDisplay.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

// A picture exactly the node's size, so that no scaling is involved; with a see-through part
// when transparent.
QImage Picture(int size, QRgb colour, bool transparent)
{
    QImage picture(size, size, transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    picture.fill(colour);
    if (transparent)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size / 2; ++x)
                picture.setPixel(x, y, 0);
    return picture;
}

// Large enough for the nodes and the last links to go on a layer painted by the second core:
// every look that painting has, scattered over a network that moves between frames.
class LayeredPaintingTest : public ::testing::Test
{
protected:
    LayeredPaintingTest()
    {
        view.resize(700, 500);
        view.SetShowShape(true);
        view.SetShowImage(true);
        view.SetShowCaption(true);
        view.SetShowEdges(true);
        view.SetShowDirections(true);
        view.SetShowEdgeType(true);
        view.SetShowBorders(true);
        TEgoNetModel& model = view.Model();
        for (int i = 0; i < 500; ++i) {
            TOrganizedNode* node = model.NewNode(RandomPoint(), QString("P%1").arg(i));
            node->Size = 12 + 2 * random.bounded(6);
            node->Shape = uint8_t(random.bounded(kShapeCross + 1));
            if (i % 17 == 0)
                node->Shape = kNoShape;
            node->LabelOrientation = uint8_t(random.bounded(4));
            node->Color = random.generate() & 0x00FFFFFF;
            node->HideLabel = i % 11 == 0;
            node->SetSelected(i % 13 == 0);
            node->Enabled = i % 29 != 0;
            node->IsGroup = i % 31 == 0;
            // The default picture would be scaled, which the smooth scaling of the painting one
            // by one would change.
            node->Image = QImage();
            if (i % 7 == 0) {
                node->Image = Picture(node->Size, 0xFF000000 | random.generate(), false);
                if (i % 14 == 0) {
                    // See-through by mask, as a file gives it.
                    node->BuildImageMasks();
                    node->ImageTransparent = true;
                }
            }
        }
        for (int i = 0; i < 900; ++i) {
            TEgoNetNode* a = model.GetNode(random.bounded(500));
            TEgoNetNode* b = model.GetNode(i % 97 == 0 ? model.IndexOfNode(a) : random.bounded(500));
            TEgoNetEdge* link = model.NewLink(a, b, i % 3 ? "friend" : "family", QString());
            link->Width = 1 + random.bounded(3);
            link->PenStyle = uint8_t(random.bounded(5));
            link->Directed = i % 4 != 0;
            link->HideLabel = i % 10 == 0;
            if (i % 5 == 0)
                link->Offset = 25;
            if (i % 83 == 0)
                link->Bends.Add(RandomPoint());
            link->UpdateMidPoint(link->Offset);
        }
    }

    QPoint RandomPoint() { return QPoint(10 + random.bounded(680), 10 + random.bounded(480)); }

    void Move()
    {
        for (TEgoNetNode* node : view.Model().Nodes())
            node->Position += QPoint(random.bounded(-3, 4), random.bounded(-3, 4));
        for (TEgoNetEdge* link : view.Model().ShownLinks())
            link->UpdateMidPoint(link->Offset);
    }

    // Smooth picture scaling keeps the nodes off a layer: painting one by one, as before layers.
    QImage Paint(bool oneByOne)
    {
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, oneByOne);
        view.Paint(painter, image.rect());
        return image;
    }

    QRandomGenerator random{17};
    TEgoNetGraphDisplay view;
};

TEST_F(LayeredPaintingTest, PaintsTheSamePixelsAsOneByOneWhileTheNetworkMoves)
{
    // The threads' share of the links follows their times from frame to frame; whatever it is,
    // the picture must not change. One link is selected alone, so its handle shows.
    view.Model().ShownLinks()[450]->SetSelected(true);
    for (int frame = 0; frame < 12; ++frame) {
        SCOPED_TRACE(frame);
        if (frame % 4 == 3)
            Move();
        const QImage layered = Paint(false);
        ASSERT_EQ(layered, Paint(true));
    }
}

TEST_F(LayeredPaintingTest, StoresInTheNodesWhatPaintingOneByOneStores)
{
    // Label corners and group shapes are stored once both threads are done.
    std::vector<TOrganizedNode*> groups;
    for (TOrganizedNode* node : view.Model().Nodes()) {
        node->LabelPos = QPoint(-1, -1);
        if (node->IsGroup && node->Enabled && node->Shape != kNoShape && node->Shape != kGroupShape)
            groups.push_back(node);
    }
    ASSERT_FALSE(groups.empty());
    Paint(false);
    for (TOrganizedNode* group : groups)
        EXPECT_EQ(group->Shape, kGroupShape);
    std::vector<QPoint> layered;
    for (TOrganizedNode* node : view.Model().Nodes()) {
        layered.push_back(node->LabelPos);
        node->LabelPos = QPoint(-1, -1);
    }
    Paint(true);
    for (qsizetype i = 0; i < view.Model().NodeCount(); ++i)
        EXPECT_EQ(layered[size_t(i)], view.Model().GetNode(int(i))->LabelPos) << i;
}

} // namespace
