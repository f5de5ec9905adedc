#include "view/TClusterOutlines.h"

#include "model/TEgoNetModel.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBackground = qRgb(0xE0, 0xFF, 0xE0); // the brush the view leaves on the canvas
const uint32_t kHullColour = 0x00336699;
const QRgb kHull = qRgb(0x99, 0x66, 0x33); // swapped channels would show

void ExpectAt(const TRealVector& v, long double x, long double y)
{
    EXPECT_NEAR(double(v.X), double(x), 1e-9);
    EXPECT_NEAR(double(v.Y), double(y), 1e-9);
}

std::vector<QPoint> Walk(const TConvexHull& hull)
{
    std::vector<QPoint> result;
    for (const TConvexHillNode* node : hull)
        result.emplace_back(int(node->Position.X), int(node->Position.Y));
    return result;
}

struct ClusterOutlinesTest : ::testing::Test
{
    TOrganizedNode* AddNode(QPoint position, const QString& cluster, bool enabled = true)
    {
        TOrganizedNode* node = model.NewNode(position, "n");
        node->Clusters = QStringList{cluster};
        node->Enabled = enabled;
        return node;
    }

    // A white canvas; the pen, brush and font set on it must come back unchanged.
    QImage Render(bool showLabels = true, QSize size = QSize(400, 400))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(kWhite);
        QPainter painter(&image);
        const QPen pen(Qt::darkCyan, 5, Qt::DashLine);
        const QBrush brush(kBackground);
        const QFont font("Serif", 21);
        painter.setPen(pen);
        painter.setBrush(brush);
        painter.setFont(font);
        outlines.DrawClusterOutlines(painter, model, kHullColour, showLabels);
        EXPECT_EQ(painter.pen(), pen);
        EXPECT_EQ(painter.brush(), brush);
        EXPECT_EQ(painter.font(), font);
        return image;
    }

    // The pen is 3 pixels wide: a line through (x, y) inks the pixel or one of its neighbours.
    static bool InkNear(const QImage& image, int x, int y)
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.pixel(x + dx, y + dy) == kHull)
                    return true;
        return false;
    }

    static bool Blank(const QImage& image, QRect area)
    {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (image.pixel(x, y) != kWhite)
                    return false;
        return true;
    }

    // How far the label box starting at (x, y) reaches to the right.
    static int BoxWidth(const QImage& image, int x, int y)
    {
        int w = 0;
        while (x + w < image.width() && image.pixel(x + w, y) != kWhite)
            ++w;
        return w;
    }

    TEgoNetModel model;
    TClusterOutlines outlines;
};

} // namespace

TEST_F(ClusterOutlinesTest, TriangleIsWalkedClockwiseWithTangentPointsOnItsEdges)
{
    const std::vector<QPoint> points{{100, 100}, {200, 100}, {150, 200}};
    const TConvexHull hull = outlines.ConvexHull(points, 15);

    ASSERT_EQ(Walk(hull), (std::vector<QPoint>{{200, 100}, {150, 200}, {100, 100}, {200, 100}}));
    EXPECT_EQ(hull.front(), hull.back());
    // 15 / |(50, 100)| scales the outward normals of the slanted edges.
    const long double s = 15 / std::sqrt(12500.0L);
    ExpectAt(hull[0]->InPoint, 200, 85);
    ExpectAt(hull[0]->OutPoint, 200 + 100 * s, 100 + 50 * s);
    ExpectAt(hull[1]->InPoint, 150 + 100 * s, 200 + 50 * s);
    ExpectAt(hull[1]->OutPoint, 150 - 100 * s, 200 + 50 * s);
    ExpectAt(hull[2]->InPoint, 100 - 100 * s, 100 + 50 * s);
    ExpectAt(hull[2]->OutPoint, 100, 85);
}

TEST_F(ClusterOutlinesTest, HullEdgeCases)
{
    EXPECT_TRUE(outlines.ConvexHull({}, 15).empty());

    // Collinear: of equal turns the nearer point comes first, whatever the input order.
    const std::vector<QPoint> row{{100, 100}, {200, 100}, {150, 100}};
    TConvexHull hull = outlines.ConvexHull(row, 15);
    ASSERT_EQ(Walk(hull), (std::vector<QPoint>{{200, 100}, {150, 100}, {100, 100}, {200, 100}}));
    ExpectAt(hull[1]->InPoint, 150, 115);
    ExpectAt(hull[1]->OutPoint, 150, 115);
    ExpectAt(hull[2]->InPoint, 100, 115);
    ExpectAt(hull[2]->OutPoint, 100, 85);

    // Coincident: the place twice, both tangent points on it.
    const std::vector<QPoint> pile{{80, 80}, {80, 80}, {80, 80}};
    hull = outlines.ConvexHull(pile, 15);
    ASSERT_EQ(hull.size(), 2u);
    EXPECT_EQ(hull[0], hull[1]);
    ExpectAt(hull[0]->InPoint, 80, 80);
    ExpectAt(hull[0]->OutPoint, 80, 80);

    // A copy of the start point, listed before it, used to be stepped onto in place of the
    // start, and the walk never closed.
    const std::vector<QPoint> copied{{202, 4}, {68, 1}, {220, 3}, {68, 1}};
    EXPECT_EQ(Walk(outlines.ConvexHull(copied, 15)),
              (std::vector<QPoint>{{220, 3}, {202, 4}, {68, 1}, {220, 3}}));
}

TEST_F(ClusterOutlinesTest, NodesAboveOrLeftOfTheOriginAreWalkedClockwiseToo)
{
    // Round the origin the walk used to run counter-clockwise, tangent points inside the hull.
    const std::vector<QPoint> around{{-50, -50}, {50, -50}, {0, 40}};
    TConvexHull hull = outlines.ConvexHull(around, 15);
    ASSERT_EQ(Walk(hull), (std::vector<QPoint>{{50, -50}, {0, 40}, {-50, -50}, {50, -50}}));
    ExpectAt(hull[0]->InPoint, 50, -65);

    // The triangle moved up and left by 300 keeps its walk; the point inside stays out of it.
    const std::vector<QPoint> moved{{-200, -200}, {-100, -200}, {-150, -170}, {-150, -100}};
    hull = outlines.ConvexHull(moved, 15);
    ASSERT_EQ(Walk(hull), (std::vector<QPoint>{{-100, -200}, {-150, -100}, {-200, -200}, {-100, -200}}));
    ExpectAt(hull[2]->OutPoint, -200, -215);
}

TEST_F(ClusterOutlinesTest, TriangleOutlineRunsAtTheRadiusFromTheHull)
{
    AddNode(QPoint(100, 100), "0");
    AddNode(QPoint(200, 100), "0");
    AddNode(QPoint(150, 200), "0");
    const QImage image = Render(false);

    // The three straight pieces, 15 out from the middle of each edge.
    EXPECT_TRUE(InkNear(image, 150, 85));
    EXPECT_TRUE(InkNear(image, 188, 157));
    EXPECT_TRUE(InkNear(image, 112, 157));
    // The three bends, each on its outer side.
    EXPECT_TRUE(InkNear(image, 213, 92));
    EXPECT_TRUE(InkNear(image, 150, 215));
    EXPECT_TRUE(InkNear(image, 85, 100));
    // Nothing on the hull or inside it, nothing where a bend the long way round would pass,
    // nothing farther out.
    EXPECT_TRUE(Blank(image, QRect(102, 89, 96, 40)));
    EXPECT_TRUE(Blank(image, QRect(185, 100, 1, 1)));
    EXPECT_TRUE(Blank(image, QRect(200, 115, 1, 1)));
    EXPECT_TRUE(Blank(image, QRect(0, 0, 400, 80)));
    EXPECT_TRUE(Blank(image, QRect(0, 220, 400, 180)));
    EXPECT_TRUE(Blank(image, QRect(220, 0, 180, 400)));
}

TEST_F(ClusterOutlinesTest, CollinearNodesGetARoundedBar)
{
    AddNode(QPoint(100, 100), "0");
    AddNode(QPoint(200, 100), "0");
    AddNode(QPoint(150, 100), "0");
    const QImage image = Render(false);

    EXPECT_TRUE(InkNear(image, 150, 85));
    EXPECT_TRUE(InkNear(image, 150, 115));
    EXPECT_TRUE(InkNear(image, 85, 100));
    EXPECT_TRUE(InkNear(image, 215, 100));
    EXPECT_TRUE(Blank(image, QRect(90, 90, 120, 20)));
}

TEST_F(ClusterOutlinesTest, APointJustInsideAnEdgeBendsTheOutlineTheShortWay)
{
    // The tolerance takes (640, 151), just below the top edge, before (650, 150); the walk turns
    // back there by 6 degrees, and a bend counter-clockwise from its outgoing tangent point would
    // circle it.
    AddNode(QPoint(50, 152), "0");
    AddNode(QPoint(350, 150), "0");
    AddNode(QPoint(650, 150), "0");
    AddNode(QPoint(640, 151), "0");
    AddNode(QPoint(350, 400), "0");
    const QImage image = Render(false, QSize(700, 450));

    EXPECT_TRUE(InkNear(image, 640, 136));
    EXPECT_TRUE(Blank(image, QRect(622, 140, 23, 25)));
}

TEST_F(ClusterOutlinesTest, OneNodeGetsACircleAndItsLabel)
{
    AddNode(QPoint(50, 60), "0")->Size = 10;
    const QImage image = Render();

    EXPECT_TRUE(InkNear(image, 35, 60));
    EXPECT_TRUE(InkNear(image, 65, 60));
    EXPECT_TRUE(InkNear(image, 50, 45));
    EXPECT_TRUE(InkNear(image, 50, 75));
    EXPECT_TRUE(Blank(image, QRect(42, 52, 17, 17)));
    // The label box has its top-left corner at (65, 63), r and r div 4 from the node.
    EXPECT_NE(image.pixel(65, 70), kWhite);
    EXPECT_NE(image.pixel(70, 63), kWhite);
    EXPECT_EQ(image.pixel(64, 70), kWhite);
    EXPECT_EQ(image.pixel(70, 62), kWhite);
    // On the canvas brush, in the hull colour.
    const QRect box(65, 63, BoxWidth(image, 65, 70), 10);
    bool background = false;
    bool text = false;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            background = background || image.pixel(x, y) == kBackground;
            text = text || image.pixel(x, y) == kHull;
        }
    EXPECT_TRUE(background);
    EXPECT_TRUE(text);
}

TEST_F(ClusterOutlinesTest, SizeWidensTheRadius)
{
    AddNode(QPoint(100, 100), "0")->Size = 30;
    AddNode(QPoint(100, 100), "0");
    const QImage image = Render(false);

    // All at one place: a circle of the largest size, not a dot.
    EXPECT_TRUE(InkNear(image, 130, 100));
    EXPECT_TRUE(InkNear(image, 70, 100));
    EXPECT_TRUE(Blank(image, QRect(85, 85, 31, 31)));
}

TEST_F(ClusterOutlinesTest, LabelsShowTheValuePlusOne)
{
    // Digits are equally wide: "9" is one of them, "10" two, so value 8 gets a narrow label,
    // 9 a label twice as wide.
    AddNode(QPoint(50, 60), "8");
    AddNode(QPoint(50, 160), "9");
    const QImage image = Render();

    const int nine = BoxWidth(image, 65, 70);
    const int ten = BoxWidth(image, 65, 170);
    EXPECT_GT(nine, 4);
    EXPECT_NEAR(ten, 2 * nine, 2);
}

TEST_F(ClusterOutlinesTest, OutlinesWithoutLabels)
{
    AddNode(QPoint(50, 60), "4");
    AddNode(QPoint(50, 160), "not a number");
    const QImage image = Render(false);
    EXPECT_TRUE(InkNear(image, 65, 60));
    EXPECT_TRUE(InkNear(image, 65, 160));
    EXPECT_TRUE(Blank(image, QRect(67, 0, 333, 400)));

    // With labels on, the number gets its label and the word still none.
    const QImage labelled = Render(true);
    EXPECT_NE(labelled.pixel(65, 70), kWhite);
    EXPECT_TRUE(InkNear(labelled, 65, 160));
    EXPECT_TRUE(Blank(labelled, QRect(67, 130, 333, 70)));
}

TEST_F(ClusterOutlinesTest, DisabledNodesCountOnlyInClustersOfEnabledNodes)
{
    AddNode(QPoint(100, 100), "1");
    AddNode(QPoint(200, 100), "1");
    AddNode(QPoint(150, 200), "1", false);
    AddNode(QPoint(300, 300), "2", false);
    const QImage image = Render();

    // The disabled node widens its cluster's outline to the triangle.
    EXPECT_TRUE(InkNear(image, 150, 215));
    EXPECT_TRUE(Blank(image, QRect(140, 110, 21, 10)));
    // A cluster that only disabled nodes carry has no outline and no label.
    EXPECT_TRUE(Blank(image, QRect(260, 260, 140, 140)));
}
