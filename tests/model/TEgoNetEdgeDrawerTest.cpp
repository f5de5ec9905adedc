#include "model/TEgoNetEdgeDrawer.h"

#include "foundation/Curves.h"

#include <QImage>
#include <QLocale>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBackground = qRgb(0xE0, 0xFF, 0xE0);
const QRgb kLine = qRgb(0, 0, 0xC0); // 0x00C00000
const QRgb kHead = qRgb(0xC0, 0, 0); // 0x000000C0

enum class EWhat { Link, SingleSelected, Handle };

struct EdgeDrawerTest : ::testing::Test
{
    EdgeDrawerTest()
    {
        link.Color = 0x00C00000;
        link.HeadColor = 0x000000C0;
        link.SetTypeName("friend");
        link.UpdateMidPoint(0);
    }

    // A white canvas; the brush, pen, font and mix mode set on it must come back unchanged.
    QImage Draw(TLinkDrawOptions options, EWhat what = EWhat::Link)
    {
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        const QPen pen(Qt::darkCyan, 3, Qt::DashLine);
        const QBrush brush{QColor(kBackground)};
        const QFont font("Serif", 21);
        painter.setPen(pen);
        painter.setBrush(brush);
        painter.setFont(font);
        options.SelectionColor = 0x00008000;
        if (what == EWhat::Handle)
            drawer.DrawHandle(painter, &link);
        else
            drawer.DrawLink(painter, &link, what == EWhat::SingleSelected, options);
        EXPECT_EQ(painter.pen(), pen);
        EXPECT_EQ(painter.brush(), brush);
        EXPECT_EQ(painter.font(), font);
        EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
        return image;
    }

    THitResult Hit(int x, int y, const QString& label = QString())
    {
        return drawer.HitTestLink(link, device, QPoint(x, y), label);
    }

    TEgoNetNodeDrawer nodes;
    TEgoNetEdgeDrawer drawer;
    TEgoNetNode source{QPoint(40, 100)};
    TEgoNetNode target{QPoint(160, 100)};
    TEgoNetEdge link{&source, &target};
    QImage device{1, 1, QImage::Format_RGB32};
};

// Lengths of the painted runs along a row, from x = from up to x = to.
std::vector<int> Runs(const QImage& image, int y, int from, int to)
{
    std::vector<int> runs;
    for (int x = from, run = 0; x <= to; ++x) {
        if (x < to && image.pixel(x, y) != kWhite) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    return runs;
}

} // namespace

TEST(EdgeDrawer, LinkLabelText)
{
    TEgoNetEdge link;
    link.SetTypeName("friend");
    link.Strength = 0.5f;
    EXPECT_EQ(TEgoNetEdgeDrawer::LinkLabelText(link, true, true, true), "friend  0.5");
    EXPECT_EQ(TEgoNetEdgeDrawer::LinkLabelText(link, true, false, true), "friend 0.5");
    EXPECT_EQ(TEgoNetEdgeDrawer::LinkLabelText(link, false, true, false), "");
    // The locale's decimal separator, but no thousands separator.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German));
    link.SetCaption("best");
    link.Strength = 1234.56f;
    EXPECT_EQ(TEgoNetEdgeDrawer::LinkLabelText(link, false, true, true), "best 1235");
    link.Strength = 1.0f / 3;
    EXPECT_EQ(TEgoNetEdgeDrawer::LinkLabelText(link, false, false, true), "0,3333");
    QLocale::setDefault(saved);
}

TEST_F(EdgeDrawerTest, ArrowTipOnTheTargetsGrownSquareInTheStateColour)
{
    // Target square (153, 93, 167, 107) grown by 2: the tip sits on column 151.
    QImage image = Draw({.ShowDirections = true});
    EXPECT_EQ(image.pixel(151, 100), kHead);
    EXPECT_EQ(image.pixel(152, 100), kLine); // the line runs on, under the node drawn later
    EXPECT_EQ(image.pixel(142, 102), kHead);
    link.Directed = false;
    EXPECT_EQ(Draw({.ShowDirections = true}).pixel(151, 100), kLine);
    link.Directed = true;
    link.SetSelected(true);
    image = Draw({.ShowDirections = true});
    EXPECT_EQ(image.pixel(100, 100), qRgb(0, 0x80, 0));
    EXPECT_EQ(image.pixel(145, 100), qRgb(0, 0x80, 0));
    target.Enabled = false;
    image = Draw({.ShowDirections = true});
    EXPECT_EQ(image.pixel(100, 100), qRgb(0xC8, 0xC8, 0xC8));
    EXPECT_EQ(image.pixel(145, 100), qRgb(0xC8, 0xC8, 0xC8));
    target.Visible = false;
    EXPECT_TRUE(Runs(Draw({}), 100, 0, 200).empty());
    EXPECT_EQ(Hit(100, 100), THitResult{});
}

TEST_F(EdgeDrawerTest, FivePenStyles)
{
    // Painted runs from the line's start: one for solid, then the rhythms of the dashes and dots.
    std::vector<std::vector<int>> patterns;
    for (uint8_t style = 0; style <= 4; ++style) {
        link.PenStyle = style;
        const std::vector<int> runs = Runs(Draw({}), 100, 40, 140);
        ASSERT_GE(runs.size(), style ? 6u : 1u) << int(style);
        patterns.emplace_back(runs.begin(), runs.begin() + (style ? 6 : 1));
    }
    EXPECT_EQ(patterns[0], std::vector<int>{100});
    const int dash = patterns[1][0];
    const int dot = patterns[2][0];
    EXPECT_GT(dash, dot);
    EXPECT_EQ(patterns[1], std::vector<int>(6, dash));
    EXPECT_EQ(patterns[2], std::vector<int>(6, dot));
    EXPECT_EQ(patterns[3], (std::vector<int>{dash, dot, dash, dot, dash, dot}));
    EXPECT_EQ(patterns[4], (std::vector<int>{dash, dot, dot, dash, dot, dot}));
}

TEST_F(EdgeDrawerTest, BendsEndAtTheGrownSquaresWithTheLabelBesideTheFirstLeg)
{
    // Up from the source, along row 40 to the target: the grown squares are (31, 91, 49, 109) and
    // (151, 31, 169, 49).
    target.Position = QPoint(160, 40);
    link.Bends.Add(QPoint(40, 40));
    const QImage image = Draw({.ShowDirections = true, .ShowType = true});
    EXPECT_EQ(image.pixel(40, 92), kWhite);
    EXPECT_EQ(image.pixel(40, 91), kLine);
    EXPECT_EQ(image.pixel(151, 40), kHead);
    EXPECT_EQ(image.pixel(152, 40), kWhite);
    // "friend" centred between the source and the bend, in a box of the brush colour over the line.
    const std::vector<int> row = Runs(image, 70, 0, 200);
    ASSERT_EQ(row.size(), 1u);
    const int w = row[0];
    EXPECT_GT(w, 20);
    EXPECT_EQ(image.pixel(40 - w / 2 - 1, 70), kWhite);
    EXPECT_EQ(image.pixel(40, 62), kLine);
    // Every leg is hit; the label is not.
    EXPECT_TRUE(Hit(40, 60).Hit);
    EXPECT_TRUE(Hit(120, 40).Hit);
    EXPECT_FALSE(Hit(40 - w / 2 + 1, 70, "friend").Hit);
}

TEST_F(EdgeDrawerTest, CurvedLinkLabelAtTheCurveLabelPoint)
{
    link.UpdateMidPoint(40); // the middle control point 40 above the chord
    QPoint point;
    ASSERT_TRUE(CurveLabelPoint(source.Position, link.MidPoint, link.CurvePoint, target.Position, point));
    const QImage image = Draw({.ShowType = true});
    // The label box, w x h centred on the point; its last row lies below the text's baseline.
    TLabelPainter labels;
    const int w = labels.TextWidth("friend", link.Font, device.logicalDpiY());
    const int h = labels.TextHeight(link.Font, device.logicalDpiY());
    const QPoint corner = point - QPoint(w / 2, h / 2);
    const QPoint last = corner + QPoint(w - 1, h - 1);
    EXPECT_EQ(image.pixel(last), kBackground);
    EXPECT_EQ(image.pixel(last + QPoint(1, 1)), kWhite);
    EXPECT_EQ(image.pixel(corner - QPoint(1, 1)), kWhite);
    EXPECT_EQ(Hit(corner.x(), corner.y(), "friend"), (THitResult{true, true}));
    EXPECT_EQ(Hit(corner.x(), corner.y()), THitResult{});
    link.HideLabel = true;
    EXPECT_EQ(Hit(corner.x(), corner.y(), "friend"), THitResult{});
    EXPECT_EQ(Draw({.ShowType = true}).pixel(corner), kWhite);
}

TEST_F(EdgeDrawerTest, HitTestAgreesWithTheDrawing)
{
    // A width 1 link is hit two pixels beside it.
    EXPECT_EQ(Hit(100, 102), (THitResult{true, false}));
    EXPECT_FALSE(Hit(100, 106).Hit);
    // Every pixel the curve paints outside the end nodes is a hit; a point away from it is not.
    link.UpdateMidPoint(-50);
    link.Width = 5;
    const QImage image = Draw({});
    const TRect ends[] = {nodes.NodeBounds(source, device), nodes.NodeBounds(target, device)};
    int painted = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (image.pixel(x, y) == kLine && !ends[0].Contains(x, y) && !ends[1].Contains(x, y)) {
                ++painted;
                ASSERT_TRUE(Hit(x, y).Hit) << x << "," << y;
            }
    EXPECT_GT(painted, 500);
    EXPECT_FALSE(Hit(100, 110).Hit);
    // A straight vertical link is not hit beyond its ends.
    target.Position = QPoint(40, 180);
    link.UpdateMidPoint(0);
    EXPECT_TRUE(Hit(40, 150).Hit);
    EXPECT_FALSE(Hit(40, 400).Hit);
}

TEST_F(EdgeDrawerTest, HandleSquareAndGuides)
{
    link.UpdateMidPoint(40);
    const QPoint m = link.MidPoint;
    const QPoint guide(94, 64); // on the line from the source to the handle, 6 pixels off the curve
    for (const EWhat what : {EWhat::SingleSelected, EWhat::Handle}) {
        const QImage image = Draw({}, what);
        // Square (mx - 3, my - 3, mx + 3, my + 3) in black around the brush colour.
        EXPECT_EQ(image.pixel(m + QPoint(-3, -3)), kBlack);
        EXPECT_EQ(image.pixel(m + QPoint(2, 2)), kBlack);
        EXPECT_EQ(image.pixel(m + QPoint(3, 0)), kWhite);
        EXPECT_EQ(image.pixel(m), kBackground);
        // The grey guide is XORed onto the white canvas; the handle alone has none.
        EXPECT_EQ(image.pixel(guide), what == EWhat::Handle ? kWhite : qRgb(0x7F, 0x7F, 0x7F));
    }
}

TEST_F(EdgeDrawerTest, LinksBeyondTheDrawingRangeAreNeitherDrawnNorHit)
{
    // Control points, widths and bends from a damaged file; the link on row 100 would be drawn
    // and hit along the row.
    link.Directed = true;
    link.SetCaption("far");
    const int32_t max = std::numeric_limits<int32_t>::max();
    const int32_t min = std::numeric_limits<int32_t>::min();
    for (const QPoint far : {QPoint(max, 100), QPoint(min, 100), QPoint(100, min)}) {
        link.MidPoint = far;
        link.CurvePoint = far;
        const QImage image = Draw({.ShowDirections = true, .ShowCaption = true}, EWhat::SingleSelected);
        int painted = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                painted += image.pixel(x, y) != kWhite;
        EXPECT_EQ(painted, 0) << far.x() << "," << far.y();
        EXPECT_FALSE(Hit(100, 100, "far").Hit);
    }
    link.UpdateMidPoint(0);
    ASSERT_TRUE(Hit(100, 100).Hit);
    link.Width = MaxDrawingExtent + 1;
    EXPECT_FALSE(Hit(100, 100).Hit);
    link.Width = 1;
    link.Bends.Add(QPoint(max, 100));
    EXPECT_FALSE(Hit(100, 100).Hit);
}

TEST(EdgeDrawer, LabelsSearchedWhileTheLinksArePaintedLandWhereOneByOneTheyWould)
{
    // Forty persons in a ring with a link and its curved twin between neighbours, some twins
    // with hidden labels, one with bends, one self-loop: enough links for the helper to share
    // the searches. Painted link by link, each curve's point is searched on the spot.
    std::vector<std::unique_ptr<TEgoNetNode>> persons;
    std::vector<std::unique_ptr<TEgoNetEdge>> owned;
    std::vector<TEgoNetEdge*> links;
    std::vector<int> offsets;
    for (int i = 0; i < 40; ++i)
        persons.push_back(std::make_unique<TEgoNetNode>(
            QPoint(200 + int(150 * std::cos(i * 0.157)), 200 + int(150 * std::sin(i * 0.157)))));
    for (int i = 0; i < 40; ++i)
        for (int offset : {0, 20 + i}) {
            TEgoNetNode* to = persons[size_t(i == 7 ? i : (i + 1) % 40)].get();
            owned.push_back(std::make_unique<TEgoNetEdge>(persons[size_t(i)].get(), to));
            TEgoNetEdge* link = owned.back().get();
            link->SetTypeName("friend");
            link->HideLabel = offset > 0 && i % 9 == 4;
            if (offset > 0 && i == 12)
                link->Bends.Add(QPoint(5, 5));
            links.push_back(link);
            offsets.push_back(offset);
        }
    links.push_back(nullptr);
    const auto place = [&] {
        for (size_t k = 0; k < owned.size(); ++k) {
            TEgoNetEdge& link = *owned[k];
            link.UpdateMidPoint(offsets[k]);
            if (link.IsSelfLoop()) {
                link.MidPoint = link.Source->Position + QPoint(10, -40);
                link.UpdateCurvePoint();
            }
        }
    };
    const TLinkDrawOptions options{.ShowType = true};
    const auto paint = [&](TEgoNetEdgeDrawer& drawer, bool oneByOne) {
        QImage image(400, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setBrush(QColor(kBackground));
        if (oneByOne) {
            for (TEgoNetEdge* link : links)
                if (link)
                    drawer.DrawLink(painter, link, false, options);
        } else {
            drawer.DrawLinks(painter, links, nullptr, options);
        }
        return image;
    };
    place();
    TEgoNetEdgeDrawer oneByOne;
    TEgoNetEdgeDrawer together;
    const QImage expected = paint(oneByOne, true);
    EXPECT_EQ(paint(together, false), expected);
    EXPECT_EQ(paint(together, false), expected); // every shape known now
    // Moved as a whole, the ring keeps its label points relative to the persons.
    for (auto& person : persons)
        person->Position += QPoint(7, -3);
    place();
    TEgoNetEdgeDrawer fresh;
    const QImage moved = paint(together, false);
    EXPECT_NE(moved, expected);
    EXPECT_EQ(moved, paint(fresh, true));
}
