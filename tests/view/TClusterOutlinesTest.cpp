#include "view/TClusterOutlines.h"

#include "model/TEgoNetModel.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBackground = qRgb(0xE0, 0xFF, 0xE0); // the brush the view leaves on the canvas
const QRgb kHull = qRgb(0x99, 0x66, 0x33);       // 0x00336699: swapped channels would show

std::vector<QPoint> Walk(const TConvexHull& hull)
{
    std::vector<QPoint> result;
    for (const TConvexHillNode* node : hull)
        result.emplace_back(int(node->Position.X), int(node->Position.Y));
    return result;
}

void ExpectAt(TRealVector v, long double x, long double y)
{
    EXPECT_NEAR(double(v.X), double(x), 1e-9);
    EXPECT_NEAR(double(v.Y), double(y), 1e-9);
}

struct ClusterOutlinesTest : ::testing::Test
{
    void Add(QPoint position, const QString& cluster, bool enabled = true, int32_t size = 14)
    {
        TOrganizedNode* node = model.NewNode(position, "n");
        node->Clusters = QStringList{cluster};
        node->Enabled = enabled;
        node->Size = size;
    }

    // A white canvas; the pen, brush and font set on it must come back unchanged.
    QImage Render(bool showLabels, QSize size = QSize(400, 400))
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
        outlines.DrawClusterOutlines(painter, model, 0x00336699, showLabels);
        EXPECT_EQ(painter.pen(), pen);
        EXPECT_EQ(painter.brush(), brush);
        EXPECT_EQ(painter.font(), font);
        return image;
    }

    // Pixels of the area in colour, or with other set, in any other colour.
    static int Count(const QImage& image, QRect area, QRgb colour, bool other = false)
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += (image.pixel(x, y) == colour) != other;
        return n;
    }
    // The pen is 3 wide: an outline through (x, y) inks the pixel or a neighbour.
    static bool Ink(const QImage& image, int x, int y) { return Count(image, QRect(x - 1, y - 1, 3, 3), kHull) > 0; }
    static bool Blank(const QImage& image, QRect area) { return Count(image, area, kWhite, true) == 0; }

    static int BoxWidth(const QImage& image, int x, int y)
    {
        int w = 0;
        while (image.pixel(x + w, y) != kWhite)
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
    const long double s = 15 / std::sqrt(12500.0L); // 15 / |(50, 100)|
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

    const std::vector<QPoint> pile{{80, 80}, {80, 80}, {80, 80}};
    hull = outlines.ConvexHull(pile, 15);
    ASSERT_EQ(hull.size(), 2u);
    EXPECT_EQ(hull[0], hull[1]);
    ExpectAt(hull[0]->InPoint, 80, 80);
    ExpectAt(hull[0]->OutPoint, 80, 80);

    // The copy of (68, 1) listed first used to be stepped onto in place of the start; the walk
    // never closed.
    const std::vector<QPoint> copied{{202, 4}, {68, 1}, {220, 3}, {68, 1}};
    EXPECT_EQ(Walk(outlines.ConvexHull(copied, 15)), (std::vector<QPoint>{{220, 3}, {202, 4}, {68, 1}, {220, 3}}));

    // Round the origin, or above and left of it, the walk used to run the wrong way round.
    const std::vector<QPoint> around{{-50, -50}, {50, -50}, {0, 40}};
    hull = outlines.ConvexHull(around, 15);
    ASSERT_EQ(Walk(hull), (std::vector<QPoint>{{50, -50}, {0, 40}, {-50, -50}, {50, -50}}));
    ExpectAt(hull[0]->InPoint, 50, -65);
    const std::vector<QPoint> moved{{-200, -200}, {-100, -200}, {-150, -170}, {-150, -100}};
    EXPECT_EQ(Walk(outlines.ConvexHull(moved, 15)),
              (std::vector<QPoint>{{-100, -200}, {-150, -100}, {-200, -200}, {-100, -200}}));
}

TEST_F(ClusterOutlinesTest, OutlinesRunAtTheRadiusRoundTheirCluster)
{
    Add(QPoint(100, 100), "1");
    Add(QPoint(200, 100), "1");
    Add(QPoint(150, 200), "1", false); // disabled, but its cluster is outlined: inside it
    Add(QPoint(100, 300), "2");
    Add(QPoint(200, 300), "2");
    Add(QPoint(150, 300), "2");
    Add(QPoint(320, 100), "3", true, 30); // all at one place: a circle of the largest size
    Add(QPoint(320, 100), "3");
    Add(QPoint(320, 300), "4", false); // no enabled node: no outline
    const QImage image = Render(false);

    // Straight pieces 15 out from the middle of each edge, bends on the outer side of each corner.
    for (const QPoint p : {QPoint(150, 85), QPoint(188, 157), QPoint(112, 157), QPoint(213, 92), QPoint(150, 215),
                           QPoint(85, 100), QPoint(150, 285), QPoint(150, 315), QPoint(85, 300), QPoint(215, 300),
                           QPoint(350, 100), QPoint(290, 100)})
        EXPECT_TRUE(Ink(image, p.x(), p.y())) << p.x() << "," << p.y();
    // Nothing on or inside a hull (no bend goes the long way round), nothing farther out.
    EXPECT_TRUE(Blank(image, QRect(102, 89, 96, 30)));
    EXPECT_TRUE(Blank(image, QRect(90, 290, 120, 20)));
    EXPECT_TRUE(Blank(image, QRect(305, 85, 31, 31)));
    EXPECT_TRUE(Blank(image, QRect(280, 260, 120, 140)));
    EXPECT_TRUE(Blank(image, QRect(0, 0, 400, 65)));
}

TEST_F(ClusterOutlinesTest, APointJustInsideAnEdgeBendsTheOutlineTheShortWay)
{
    // The tolerance takes (640, 151), just below the top edge, before (650, 150): the walk turns
    // back by 6 degrees there, and the bend counter-clockwise would circle the node.
    for (const QPoint p : {QPoint(50, 152), QPoint(350, 150), QPoint(650, 150), QPoint(640, 151), QPoint(350, 400)})
        Add(p, "0");
    const QImage image = Render(false, QSize(700, 450));

    EXPECT_TRUE(Ink(image, 640, 136));
    EXPECT_TRUE(Blank(image, QRect(622, 140, 23, 25)));
}

TEST_F(ClusterOutlinesTest, LabelsShowTheValuePlusOne)
{
    Add(QPoint(50, 60), "0", true, 10);
    Add(QPoint(50, 160), "8");
    Add(QPoint(50, 260), "9");
    Add(QPoint(250, 60), "not a number");
    QImage image = Render(true);

    EXPECT_TRUE(Ink(image, 35, 60) && Ink(image, 65, 60) && Ink(image, 50, 45) && Ink(image, 50, 75));
    EXPECT_TRUE(Blank(image, QRect(42, 52, 17, 17)));
    // The box's top-left corner is r and r div 4 from the node; canvas brush, text in hull colour.
    EXPECT_TRUE(Blank(image, QRect(64, 70, 1, 3)) && Blank(image, QRect(68, 62, 5, 1)));
    EXPECT_NE(image.pixel(70, 63), kWhite);
    const QRect box(65, 63, BoxWidth(image, 65, 70), 10);
    EXPECT_GT(box.width(), 4);
    EXPECT_GT(Count(image, box, kBackground), 0);
    EXPECT_GT(Count(image, box, kHull), 0);
    // Digits are equally wide: 8 is labelled "9", 9 "10".
    EXPECT_GT(BoxWidth(image, 65, 170), 4);
    EXPECT_NEAR(BoxWidth(image, 65, 270), 2 * BoxWidth(image, 65, 170), 2);
    // A value that is not a number is outlined without a label.
    EXPECT_TRUE(Ink(image, 265, 60));
    EXPECT_TRUE(Blank(image, QRect(267, 40, 133, 60)));

    image = Render(false);
    EXPECT_TRUE(Ink(image, 65, 260));
    EXPECT_TRUE(Blank(image, QRect(67, 0, 100, 400)));
}
