#include "view/TEgoNetGraphDisplay.h"

#include "common/ScriptedDialogs.h"
#include "foundation/Colors.h"
#include "foundation/TNumericVector.h"
#include "layout/TEgoOrganizer.h"
#include "settings/GraphFile.h"
#include "view/IGraphOutput.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <stdexcept>

namespace {

constexpr uint32_t kBackground = 0x00F0F0F0;

QRgb Rgb(uint32_t bgr)
{
    return ToQColor(bgr).rgb();
}

class GraphDisplayTest : public ::testing::Test
{
protected:
    GraphDisplayTest()
    {
        view.resize(400, 300);
        view.SetColor(kBackground);
        view.SetShowShape(true);
        view.SetShowEdges(true);
    }

    TOrganizedNode* AddNode(QPoint at, uint32_t colour = 0x00336699, int size = 20)
    {
        TOrganizedNode* node = model().NewNode(at, QString());
        node->Shape = 0;
        node->Size = size;
        node->Color = colour;
        return node;
    }

    TEgoNetEdge* Connect(TOrganizedNode* a, TOrganizedNode* b)
    {
        return model().NewLink(a, b, QString(), QString());
    }

    QImage Render()
    {
        QImage image(view.size(), QImage::Format_RGB32);
        view.render(&image);
        return image;
    }

    TEgoNetModel& model() { return view.Model(); }

    TEgoNetGraphDisplay view;
};

TEST_F(GraphDisplayTest, EmptyViewPaintsBackgroundAndRaisesBeforePaint)
{
    int raised = 0;
    view.OnBeforePaint = [&](QObject* sender) {
        EXPECT_EQ(sender, &view);
        ++raised;
    };
    const QImage image = Render();
    EXPECT_EQ(raised, 1);
    for (QPoint p : {QPoint(0, 0), QPoint(200, 150), QPoint(399, 299)})
        EXPECT_EQ(image.pixel(p), Rgb(kBackground));
}

TEST_F(GraphDisplayTest, BackgroundPictureIsFittedKeepingItsProportions)
{
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::red);
    view.Settings().BkImage = picture;
    view.SetShowBkImage(true);
    view.resize(400, 400);
    QImage image = Render();
    // Drawn 400 x 200 from y = 100.
    EXPECT_EQ(image.pixel(200, 99), Rgb(kBackground));
    EXPECT_EQ(image.pixel(200, 100), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(0, 299), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(200, 300), Rgb(kBackground));

    view.resize(400, 200); // the same ratio: the whole area
    image = Render();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(399, 199), qRgb(255, 0, 0));

    view.resize(100, 400); // a narrow view: full width, centred vertically, 100 x 50 at y = 175
    image = Render();
    EXPECT_EQ(image.pixel(50, 174), Rgb(kBackground));
    EXPECT_EQ(image.pixel(50, 175), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(50, 224), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(50, 225), Rgb(kBackground));

    // The sizes come from the float ratio without rounding them to floats again: 50 / 2.8571429
    // is 17.4999996 and 50 x 0.050000001 is 2.50000004, so 17 wide and 3 high.
    view.resize(50, 50);
    view.Settings().BkImage = QImage(14, 40, QImage::Format_RGB32);
    view.Settings().BkImage.fill(Qt::red);
    image = Render();
    EXPECT_EQ(image.pixel(16, 25), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(32, 25), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(33, 25), Rgb(kBackground));
    view.Settings().BkImage = QImage(20, 1, QImage::Format_RGB32);
    view.Settings().BkImage.fill(Qt::red);
    image = Render();
    EXPECT_EQ(image.pixel(25, 22), Rgb(kBackground));
    EXPECT_EQ(image.pixel(25, 23), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(25, 25), qRgb(255, 0, 0));

    view.SetShowBkImage(false);
    EXPECT_EQ(Render().pixel(25, 23), Rgb(kBackground));
}

TEST_F(GraphDisplayTest, DisabledNodesFollowShowDisabledNodesAndLieAtTheBottom)
{
    // The enabled node comes first in the model, yet lies over the disabled one.
    AddNode({112, 100}, 0x0000FF00);
    TOrganizedNode* disabled = AddNode({100, 100}, 0x000000FF);
    TOrganizedNode* member = AddNode({300, 100});
    member->GroupIDs.append(QStringLiteral("1234ABCD"));
    disabled->Enabled = false;
    member->Enabled = false;

    QImage image = Render();
    EXPECT_FALSE(disabled->Visible);
    EXPECT_TRUE(member->Visible); // group members keep their own visibility
    EXPECT_EQ(image.pixel(95, 100), Rgb(kBackground));

    view.SetShowDisabledNodes(true);
    image = Render();
    EXPECT_TRUE(disabled->Visible);
    EXPECT_EQ(image.pixel(95, 100), Rgb(DisabledGrey));
    EXPECT_EQ(image.pixel(105, 100), Rgb(0x0000FF00));
}

TEST_F(GraphDisplayTest, SelectedLinkedNodesLieOverUnselectedOnesAndIsolatesBeneathBoth)
{
    TOrganizedNode* selected = AddNode({100, 100}, 0x000000FF);
    TOrganizedNode* plain = AddNode({110, 100}, 0x00FF0000);
    AddNode({105, 110}, 0x0000FF00);
    TOrganizedNode* far = AddNode({300, 200});
    Connect(selected, far);
    Connect(plain, far);
    selected->SetSelected(true);
    view.SetSelectionColor(0x00000000);
    const QImage image = Render();
    EXPECT_EQ(image.pixel(105, 95), Rgb(0x000000FF)); // selected over plain
    EXPECT_EQ(image.pixel(105, 102), Rgb(0x000000FF)); // selected over the isolate
    EXPECT_EQ(image.pixel(115, 103), Rgb(0x00FF0000)); // plain over the isolate
    EXPECT_EQ(image.pixel(105, 118), Rgb(0x0000FF00));
}

TEST_F(GraphDisplayTest, HoverNodeIsDrawnBetweenUnselectedAndSelectedNodes)
{
    TOrganizedNode* a = AddNode({100, 100}, 0x000000FF);
    TOrganizedNode* b = AddNode({110, 100}, 0x00FF0000);
    TOrganizedNode* c = AddNode({120, 100}, 0x0000FF00);
    TOrganizedNode* far = AddNode({300, 200});
    for (TOrganizedNode* n : {a, b, c})
        Connect(n, far);
    c->SetSelected(true);
    view.StartHoverPulse(0);
    view.StopHoverPulse();
    ASSERT_EQ(view.HoverIndex(), 0);
    const QImage image = Render();
    EXPECT_EQ(image.pixel(105, 95), Rgb(0x000000FF)); // hover node over b
    EXPECT_EQ(image.pixel(115, 95), Rgb(0x0000FF00)); // the selected node over b
    view.ResetHover();
    EXPECT_EQ(Render().pixel(105, 95), Rgb(0x00FF0000));
}

TEST_F(GraphDisplayTest, TheOneSelectedLinkShowsItsHandleOverTheNodes)
{
    TOrganizedNode* a = AddNode({100, 100});
    TOrganizedNode* b = AddNode({200, 100});
    TOrganizedNode* cover = AddNode({150, 100}, 0x0000FF00, 30);
    TEgoNetEdge* link = Connect(a, b);
    link->SetSelected(true);
    ASSERT_EQ(link->MidPoint, QPoint(150, 100));
    QImage image = Render();
    EXPECT_EQ(image.pixel(147, 97), qRgb(0, 0, 0)); // the handle's corner lies on the covering node
    EXPECT_EQ(image.pixel(150, 110), Rgb(0x0000FF00));

    TEgoNetEdge* second = Connect(cover, b);
    second->SetSelected(true);
    image = Render();
    EXPECT_EQ(image.pixel(147, 97), Rgb(0x0000FF00));

    second->SetSelected(false);
    view.SetShowEdges(false);
    EXPECT_EQ(Render().pixel(147, 97), Rgb(0x0000FF00)); // no links, no handle
}

TEST_F(GraphDisplayTest, SelfLoopsAreKeptInShapeByPainting)
{
    TOrganizedNode* a = AddNode({200, 150});
    TEgoNetEdge* loop = Connect(a, a);
    loop->MidPoint = QPoint(205, 150); // inside the node: snaps out to 75 pixels
    Render();
    EXPECT_EQ(loop->MidPoint, QPoint(275, 150));
}

TEST_F(GraphDisplayTest, ClustersOfEnabledNodesAreOutlinedBeneathTheGraph)
{
    TOrganizedNode* a = AddNode({100, 100});
    TOrganizedNode* b = AddNode({300, 100});
    a->Clusters = QStringList{"0"};
    view.SetClusterColor(0x00FF00FF);
    // The outline runs 20 pixels (the node size) round the node, in the hull colour.
    QImage image = Render();
    EXPECT_EQ(image.pixel(80, 100), Rgb(0x00FF00FF));
    EXPECT_EQ(image.pixel(100, 120), Rgb(0x00FF00FF));
    // A cluster carried only by disabled nodes gets no outline.
    b->Clusters = QStringList{"1"};
    b->Enabled = false;
    EXPECT_EQ(Render().pixel(280, 100), Rgb(kBackground));
    // With no enabled node left, nothing is outlined.
    a->Enabled = false;
    EXPECT_EQ(Render().pixel(80, 100), Rgb(kBackground));
}

TEST_F(GraphDisplayTest, ColourPropertiesReachTheSettingsAndTheOutlineColour)
{
    view.SetClusterColor(0x10);
    EXPECT_EQ(view.HullColor, 0x10u);
    view.SetClusterColor(0x20);
    EXPECT_EQ(view.HullColor, 0x20u);
    EXPECT_EQ(view.Settings().ClusterColor, 0x20u);
    view.SetPositionColor(0x30); // the hull keeps the cluster colour
    EXPECT_EQ(view.HullColor, 0x20u);
    EXPECT_EQ(view.Settings().PositionColor, 0x30u);
    view.HullColor = 0x30;
    view.SetPositionColor(0x40);
    EXPECT_EQ(view.HullColor, 0x40u);
    view.SetClusterColor(0x50);
    EXPECT_EQ(view.HullColor, 0x40u);

    view.SetAltColor(0x123456);
    EXPECT_EQ(view.Settings().nAltColor, 0x123456u);

    TOrganizedNode* plain = AddNode({100, 100});
    view.SetGrpColor(0x0000AA); // no group yet: nodes keep their look
    EXPECT_EQ(plain->Color, 0x00336699u);
    TOrganizedNode* group = AddNode({200, 100});
    group->IsGroup = true;
    view.Settings().nShape = 9;
    view.SetGrpColor(0x0000BB);
    EXPECT_EQ(view.Settings().nGrpColor, 0x0000BBu);
    EXPECT_EQ(group->Color, 0x0000BBu);
    EXPECT_EQ(plain->Color, 0x123456u);
    EXPECT_EQ(plain->Shape, 9);
    EXPECT_EQ(plain->Size, 14);
    EXPECT_EQ(group->Size, 21);
}

TEST_F(GraphDisplayTest, ApplyAndCaptureSettingsRoundTrip)
{
    TEgoNetDisplaySettings& s = view.Settings();
    s.BkColor = 0x00112233;
    s.nSelectionColor = 0x000000FE;
    s.ShowLabel = true;
    s.ShowEdgeLabel = true;
    s.ShowDisabledNodes = true;
    s.Animation = true;
    s.SoundEffects = true; // never applied
    int changes = 0;
    view.OnChangeSettings = [&](QObject*) { ++changes; };
    view.SetIsChanged(false);
    view.ApplySettings();
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(view.IsChanged());
    EXPECT_EQ(view.Color(), 0x00112233u);
    EXPECT_EQ(view.SelectionColor(), 0x000000FEu);
    EXPECT_TRUE(view.ShowCaption());
    EXPECT_TRUE(view.ShowEdgeLabel());
    EXPECT_TRUE(view.ShowDisabledNodes());
    EXPECT_TRUE(view.SpringAnimation());
    EXPECT_FALSE(view.SoundEffects());

    TEgoNetDisplaySettings captured(&view);
    ASSERT_TRUE(captured.CaptureFromView());
    EXPECT_EQ(captured.BkColor, 0x00112233u);
    EXPECT_TRUE(captured.ShowLabel);
    EXPECT_TRUE(captured.Animation);
    EXPECT_FALSE(captured.SoundEffects);
}

TEST_F(GraphDisplayTest, IdealLinkLength)
{
    view.resize(1000, 800);
    EXPECT_EQ(view.IdealLinkLength(), 10);
    view.LinkLengthFactor = 1.25f;
    EXPECT_EQ(view.IdealLinkLength(), 12);
    view.LinkLengthFactor = 1.0f;

    TOrganizedNode* hub = AddNode({10, 10});
    for (int i = 0; i < 9; ++i)
        Connect(hub, AddNode({20 * i, 30}));
    AddNode({5, 5}); // isolates do not count
    // A = 800000, a = 10: d = 282.84, t = 527, f = 3.40449, e = 83, L = round(74.7).
    EXPECT_EQ(view.IdealLinkLength(), 75);
    hub->Enabled = false; // only enabled nodes with links count: 9 left
    // d = 298.14, e = round(298.14 / 3.40449) = 88, L = round(79.2)
    EXPECT_EQ(view.IdealLinkLength(), 79);
    hub->Enabled = true;
    for (int i = 0; i < 17; ++i) // a = 27
        Connect(hub, AddNode({i, 40}));
    // The root of the exact quotient: d = 180.586493, f = 3.3135137, d / f = 54.4999989, so
    // e = 54 and L = round(48.6). A float quotient first gives d / f = 54.5 and L = 50.
    view.resize(922, 955);
    EXPECT_EQ(view.IdealLinkLength(), 49);
    view.resize(1000, 800);
    for (int i = 0; i < 17; ++i)
        model().DeleteNode(model().GetNode(model().NodeCount() - 1));

    for (int i = 0; i < 30; ++i) // a = 40
        Connect(hub, AddNode({i, 60}));
    // d = 141.42, f = 527 * -0.00085 + 3.5 = 3.05205, e = 46, L = round(41.4)
    EXPECT_EQ(view.IdealLinkLength(), 41);
    for (int i = 0; i < 60; ++i) // a = 100: e = round(527 * 0.0325 + 15) = 32, L = round(28.8)
        Connect(hub, AddNode({i, 90}));
    EXPECT_EQ(view.IdealLinkLength(), 29);
    view.resize(300, 200); // t = -213: e = round(8.08) = 8, L = 7, at least 10
    EXPECT_EQ(view.IdealLinkLength(), 10);
    // A view zoomed beyond 46340 pixels each way: A = 2.5e9 does not fit in 32 bits.
    view.resize(50000, 50000); // e = round(81256.13), L = round(73130.4)
    EXPECT_EQ(view.IdealLinkLength(), 73130);
}

TEST_F(GraphDisplayTest, NodesBoundsLeavesOutIsolatesOrTheListedNodes)
{
    EXPECT_EQ(view.NodesBounds(nullptr), TRect{});
    AddNode({5, 5}); // an isolate first: not the start of the rectangle
    TOrganizedNode* a = AddNode({100, 80});
    TOrganizedNode* b = AddNode({40, 200});
    Connect(a, b);
    EXPECT_EQ(view.NodesBounds(nullptr), (TRect{40, 80, 100, 200}));
    TIntVector excluded;
    excluded.Append(1);
    EXPECT_EQ(view.NodesBounds(&excluded), (TRect{5, 5, 40, 200}));
    excluded.Append(0);
    excluded.Append(2);
    EXPECT_EQ(view.NodesBounds(&excluded), TRect{});
}

TEST_F(GraphDisplayTest, CenterGraphMovesClampsAndStacksIsolates)
{
    view.resize(450, 315); // W = 400, H = 300
    TOrganizedNode* a = AddNode({0, 0});
    TOrganizedNode* b = AddNode({100, 50});
    TOrganizedNode* lone = AddNode({300, 300});
    TEgoNetEdge* link = Connect(a, b);
    view.CenterGraph();
    // dx = (400 + 0 - 100) div 2 - 0 = 150, dy = (300 - 50) div 2 = 125
    EXPECT_EQ(a->Position, QPoint(150, 125));
    EXPECT_EQ(b->Position, QPoint(250, 175));
    EXPECT_EQ(link->MidPoint, QPoint(200, 150));
    EXPECT_EQ(lone->Position, QPoint(12, 12));
    EXPECT_EQ(lone->LabelOrientation, 2);

    // A graph too large for the view is clamped into 15 .. W, 15 .. H.
    b->Position = QPoint(1000, 175);
    view.CenterGraph();
    EXPECT_EQ(a->Position.x(), 15);
    EXPECT_EQ(b->Position.x(), 400);

    // Connected nodes on one horizontal line: empty bounds, nothing moves.
    b->Position = QPoint(600, 125);
    a->Position = QPoint(-50, 125);
    view.CenterGraph();
    EXPECT_EQ(a->Position, QPoint(-50, 125));
    EXPECT_EQ(b->Position, QPoint(600, 125));

    // A damaged file's graph spread over the whole 32-bit range: its ends are moved without
    // wrapping round and land on the two sides of the view.
    a->Position = QPoint(std::numeric_limits<int32_t>::min(), 100);
    b->Position = QPoint(std::numeric_limits<int32_t>::max(), 110);
    link->MidPoint = QPoint(std::numeric_limits<int32_t>::max(), 0);
    view.CenterGraph();
    EXPECT_EQ(a->Position, QPoint(15, 145));
    EXPECT_EQ(b->Position, QPoint(400, 155));
    EXPECT_EQ(link->MidPoint.x(), std::numeric_limits<int32_t>::max());

    // A view smaller than its margins leaves the graph alone instead of piling it on (15, 15).
    a->Position = QPoint(-50, 125);
    b->Position = QPoint(250, 175);
    for (QSize size : {QSize(0, 0), QSize(64, 315), QSize(450, 29)}) {
        view.resize(size);
        view.CenterGraph();
        EXPECT_EQ(a->Position, QPoint(-50, 125)) << size.width() << " x " << size.height();
        EXPECT_EQ(b->Position, QPoint(250, 175));
    }
}

TEST_F(GraphDisplayTest, ArrangeIsolatesFillsTwoColumns)
{
    view.resize(200, 100); // a column ends below y = 85
    TIntVector isolates;
    for (int i = 0; i < 6; ++i) {
        AddNode({300, 300}, 0, 20);
        isolates.Append(5 - i); // the list's order does not matter, the model's does
    }
    view.ArrangeIsolates(isolates);
    const QPoint expected[] = {{12, 12}, {12, 35}, {12, 58}, {12, 81}, {72, 12}, {72, 35}};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(model().GetNode(i)->Position, expected[i]) << i;
    // One node alone in the model is stacked too.
    TEgoNetGraphDisplay single;
    single.Model().NewNode({200, 200}, QString());
    single.CenterGraph();
    EXPECT_EQ(single.Model().GetNode(0)->Position, QPoint(12, 12));
}

TEST_F(GraphDisplayTest, BestFitScalesTheGraphIntoTheHost)
{
    QWidget host;
    host.resize(800, 600);
    TEgoNetGraphDisplay fitted(&host);
    fitted.resize(800, 600);
    TEgoNetModel& m = fitted.Model();
    TOrganizedNode* a = m.NewNode({10, 10}, QString());
    TOrganizedNode* b = m.NewNode({10, 110}, QString());
    m.NewLink(a, b, QString(), QString());
    fitted.BestFit(); // a vertical line: empty bounds
    EXPECT_EQ(a->Position, QPoint(10, 10));
    EXPECT_EQ(b->Position, QPoint(10, 110));

    b->Position = QPoint(110, 60);
    fitted.BestFit();
    // m = 100; W = 650, H = 485; w = 101, h = 51: s = min(6.44, 9.51) = 6.4356
    // positions (64, 64) and (708, 386); centred in 750 x 585: dx = -11, dy = 67.
    EXPECT_EQ(a->Position, QPoint(53, 131));
    EXPECT_EQ(b->Position, QPoint(697, 453));

    // A host narrower than its margins: W = 50 - 50 - 6 < 0 would mirror the graph.
    host.resize(50, 50);
    fitted.BestFit();
    EXPECT_EQ(a->Position, QPoint(53, 131));
    EXPECT_EQ(b->Position, QPoint(697, 453));
}

TEST_F(GraphDisplayTest, StraightenLinksSpreadsParallelLinks)
{
    TOrganizedNode* a = AddNode({100, 100});
    TOrganizedNode* b = AddNode({200, 100});
    TEgoNetEdge* first = Connect(a, b);
    TEgoNetEdge* second = Connect(b, a);
    view.StraightenLinks(false);
    EXPECT_EQ(first->Offset, 5);
    EXPECT_EQ(second->Offset, 5); // the other way round: negated twice
    EXPECT_NE(first->MidPoint, second->MidPoint);
}

TEST_F(GraphDisplayTest, UpdateCurrentFollowsTheSelection)
{
    TOrganizedNode* a = AddNode({100, 100});
    TOrganizedNode* b = AddNode({200, 100});
    TEgoNetEdge* link = Connect(a, b);
    view.UpdateCurrent();
    EXPECT_EQ(view.CurrentNode, nullptr);
    b->SetSelected(true);
    view.UpdateCurrent();
    EXPECT_EQ(view.CurrentNode, b);
    EXPECT_EQ(view.CurrentNodeIndex, 1);
    EXPECT_EQ(view.CurrentLink, nullptr);
    a->SetSelected(true);
    link->SetSelected(true);
    view.UpdateCurrent();
    EXPECT_EQ(view.CurrentNode, nullptr);
    EXPECT_EQ(view.CurrentNodeIndex, -1);
    EXPECT_EQ(view.CurrentLink, link);
}

TEST_F(GraphDisplayTest, ClearEmptiesTheModelAndForgetsTheHook)
{
    view.OnBeforePaint = [](QObject*) {};
    view.Clear(true); // empty: left alone
    EXPECT_TRUE(bool(view.OnBeforePaint));
    TOrganizedNode* a = AddNode({100, 100});
    a->SetSelected(true);
    view.UpdateCurrent();
    view.Clear(true);
    EXPECT_EQ(model().NodeCount(), 0);
    EXPECT_EQ(view.CurrentNode, nullptr);
    EXPECT_FALSE(bool(view.OnBeforePaint));
}

TEST_F(GraphDisplayTest, LinkTypesSelectionAndColours)
{
    TOrganizedNode* a = AddNode({100, 100});
    TOrganizedNode* b = AddNode({200, 100});
    TEgoNetEdge* friends = model().NewLink(a, b, QStringLiteral("friend"), QString());
    TEgoNetEdge* family = model().NewLink(a, b, QStringLiteral("family"), QString());
    QStringList events;
    view.OnSelectEdgeTypes = [&](QObject*) { events << "types"; };
    view.OnSelect = [&](QObject*) { events << "select"; };
    const QStringList only{QStringLiteral("family")};
    view.SelectLinkTypes(&only);
    EXPECT_EQ(events, (QStringList{"types", "select"}));
    EXPECT_EQ(model().ShownLinks(), QList<TEgoNetEdge*>{family});

    view.SetLinkTypeColors({{QStringLiteral("friend"), 0x111111}, {QStringLiteral("family"), 0x222222}});
    EXPECT_EQ(friends->Color, 0x111111u); // hidden links take their colour too
    EXPECT_EQ(friends->HeadColor, 0x111111u);
    EXPECT_EQ(family->Color, 0x222222u);

    // Types match without regard to letter case.
    view.SetLinkTypeColors({{QStringLiteral("FRIEND"), 0x333333}});
    EXPECT_EQ(friends->Color, 0x333333u);
}

TEST_F(GraphDisplayTest, BlinkHidesTheNodeAndShowsItAgain)
{
    TOrganizedNode* a = AddNode({100, 100});
    view.StartBlink(a, 3);
    EXPECT_TRUE(view.Blinking());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !a->Visible; }, 1000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.Blinking(); }, 2000));
    EXPECT_TRUE(a->Visible);

    // A blink cut short, by another one or by a stop, leaves its node visible.
    TOrganizedNode* b = AddNode({200, 100});
    view.StartBlink(a, 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !a->Visible; }, 1000));
    view.StartBlink(b, 1);
    EXPECT_TRUE(a->Visible);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !b->Visible; }, 1000));
    view.StartBlink(nullptr, 0);
    EXPECT_TRUE(b->Visible);
    EXPECT_FALSE(view.Blinking());

    // A node deleted while it blinks ends the blink instead of being touched, and so does a new
    // person at the deleted one's address (here: the same memory under a new identifier).
    view.StartBlink(b, 5);
    b->ID = NewObjectID();
    bool touched = false;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            touched = touched || !b->Visible;
            return !view.Blinking();
        },
        1000));
    EXPECT_FALSE(touched);
    view.StartBlink(a, 5);
    model().DeleteNode(a);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view.Blinking(); }, 1000));
}

TEST_F(GraphDisplayTest, HoverPulseGrowsTheNodeTwiceAndRestoresIt)
{
    TOrganizedNode* a = AddNode({100, 100}, 0, 14);
    view.StartHoverPulse(0);
    EXPECT_EQ(view.HoverSize(), 14);
    EXPECT_TRUE(QTest::qWaitFor([&] { return a->Size == 17; }, 1000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return a->Size == 20; }, 1000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return a->Size == 14; }, 1000));
    EXPECT_EQ(view.HoverIndex(), 0); // painted in its hover place until reset
    QTest::qWait(250);
    EXPECT_EQ(a->Size, 14);

    view.StartHoverPulse(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return a->Size == 17; }, 1000));
    view.PrepareEdit(false); // an edit stops the pulse and restores the size at once
    EXPECT_EQ(a->Size, 14);

    view.ResetHover();
    a->Shape = 8;
    view.StartHoverPulse(0);
    EXPECT_EQ(view.HoverIndex(), -1);
    a->Shape = 0;
    a->Visible = false;
    view.StartHoverPulse(0);
    EXPECT_EQ(view.HoverIndex(), -1);
    view.StartHoverPulse(7);
    EXPECT_EQ(view.HoverIndex(), -1);
}

TEST_F(GraphDisplayTest, DeletingTheHoverNodeLeavesTheNextNodesSizeAlone)
{
    // Deleted during the pulse: the node that moves into its index neither grows nor shrinks.
    TOrganizedNode* a = AddNode({100, 100}, 0, 14);
    TOrganizedNode* b = AddNode({200, 100}, 0, 30);
    view.StartHoverPulse(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return a->Size == 17; }, 1000));
    model().DeleteNode(a);
    QTest::qWait(350);
    EXPECT_EQ(b->Size, 30);
    Render();
    EXPECT_EQ(view.HoverIndex(), -1);

    // Deleted after the pulse, while it is still painted in its hover place: the next edit
    // stops the pulse, which must not give the new first node the old one's size.
    TOrganizedNode* c = AddNode({300, 100}, 0, 14);
    view.StartHoverPulse(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return c->Size == 20; }, 1000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return c->Size == 14; }, 1000));
    ASSERT_EQ(view.HoverIndex(), 1);
    model().DeleteNode(c);
    TOrganizedNode* d = AddNode({300, 200}, 0, 40);
    view.PrepareEdit(false);
    EXPECT_EQ(d->Size, 40);
    EXPECT_EQ(b->Size, 30);
}

TEST_F(GraphDisplayTest, WaitProcessingHandlesEventsForTheWholeTime)
{
    bool fired = false;
    QTimer::singleShot(20, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    view.WaitProcessing(80);
    EXPECT_TRUE(fired);
    EXPECT_GE(clock.elapsed(), 80);
}

TEST_F(GraphDisplayTest, OrganizeRunsTheInstalledLayoutAndForwardsItsEvents)
{
    ASSERT_EQ(view.Organizer(), view.SpringOrganizer());
    EXPECT_EQ(view.SpringOrganizer()->LayoutName, "Spring-Embedding Layout");
    int iterations = 0;
    int done = 0;
    view.OnOrganizeIteration = [&](QObject* sender) {
        EXPECT_EQ(sender, &view);
        ++iterations;
    };
    view.OnOrganizeDone = [&](QObject*) { ++done; };
    view.Organize(true); // an empty model: nothing runs
    EXPECT_FALSE(view.Organizer()->Running());

    TOrganizedNode* a = AddNode({100, 100});
    TOrganizedNode* b = AddNode({300, 100});
    Connect(a, b);
    view.Organize(true);
    EXPECT_TRUE(view.Organizer()->Running());
    ASSERT_TRUE(QTest::qWaitFor([&] { return done == 1; }, 10000));
    EXPECT_EQ(iterations, view.SpringOrganizer()->StepCount);
    EXPECT_LT(b->Position.x() - a->Position.x(), 200); // pulled together

    // Pausing stops a run; reading a graph file pauses too.
    view.Organize(true);
    view.Organize(false);
    EXPECT_FALSE(view.Organizer()->Running());

    // The settings' animation flag reaches the installed layout and the view's own.
    TEgoOrganizer ego(&view);
    view.OnBeforePaint = [](QObject*) {};
    view.SetOrganizer(&ego);
    EXPECT_FALSE(bool(view.OnBeforePaint));
    view.Settings().Animation = true;
    view.ApplySettings();
    EXPECT_TRUE(ego.Animated);
    EXPECT_TRUE(view.SpringOrganizer()->Animated);
    EXPECT_TRUE(view.SpringAnimation());
    view.SetOrganizer(view.SpringOrganizer());
}

TEST_F(GraphDisplayTest, AutoOrganizeLaysOutAfterTheLinkTypesChange)
{
    TOrganizedNode* a = AddNode({100, 100});
    TOrganizedNode* b = AddNode({300, 100});
    model().NewLink(a, b, QStringLiteral("friend"), QString());
    const QStringList types{QStringLiteral("friend")};
    view.SelectLinkTypes(&types);
    EXPECT_FALSE(view.Organizer()->Running());
    view.SetAutoOrganize(true);
    view.SelectLinkTypes(&types);
    EXPECT_TRUE(view.Organizer()->Running());
    view.Organize(false);
}

TEST_F(GraphDisplayTest, AnInstalledLayoutOutlivesTheViewWithoutTouchingIt)
{
    auto doomed = std::make_unique<TEgoNetGraphDisplay>();
    doomed->resize(400, 300);
    TOrganizedNode* a = doomed->Model().NewNode({100, 100}, QString());
    doomed->Model().NewLink(a, doomed->Model().NewNode({300, 100}, QString()), QString(), QString());
    TEgoOrganizer ego(doomed.get());
    ego.SetEgo(a);
    doomed->SetOrganizer(&ego);
    doomed->Organize(true);
    ASSERT_TRUE(ego.Running());
    doomed.reset();
    EXPECT_FALSE(ego.Running());
    EXPECT_EQ(ego.View(), nullptr);
    ego.Resume();
    QTest::qWait(20);
    EXPECT_FALSE(ego.Running());
}

class FakeOutput : public IGraphOutput
{
public:
    bool PrinterAvailable() override { return Printers; }
    bool PrintPicture(QWidget& view, const QRect& rect) override
    {
        Rect = rect;
        Q_UNUSED(view);
        if (Throw)
            throw std::runtime_error("printer jam");
        return true;
    }
    bool SavePicture(QWidget& view, const QRect& rect, const QString& fileName, int depth) override
    {
        Q_UNUSED(view);
        Rect = rect;
        FileName = fileName;
        Depth = depth;
        if (Throw)
            throw std::runtime_error("disk gone");
        return true;
    }

    bool Printers = false;
    bool Throw = false;
    QRect Rect;
    QString FileName;
    int Depth = 0;
};

TEST_F(GraphDisplayTest, SaveImageAndPrintGoThroughTheOutput)
{
    QTemporaryDir dir;
    EXPECT_FALSE(view.SaveImage(dir.filePath("a.bmp"), 8)); // no output installed
    EXPECT_FALSE(view.PrintGraph());
    FakeOutput output;
    view.SetOutput(&output);
    EXPECT_FALSE(view.SaveImage(QString(), 8));
    EXPECT_TRUE(view.SaveImage(dir.filePath("a.bmp"), 8));
    EXPECT_EQ(output.Rect, QRect(0, 0, 400, 300));
    EXPECT_EQ(output.Depth, 8);
    output.Throw = true;
    EXPECT_FALSE(view.SaveImage(dir.filePath("a.bmp"), 8));
    EXPECT_FALSE(view.PrintGraph()); // no printer: not even asked
    output.Printers = true;
    EXPECT_FALSE(view.PrintGraph());
    output.Throw = false;
    EXPECT_TRUE(view.PrintGraph());

    // A graph file name writes the graph and answers false.
    AddNode({100, 100});
    view.SetIsChanged(true);
    output.FileName.clear();
    EXPECT_FALSE(view.SaveImage(dir.filePath("net.ENG"), 24));
    EXPECT_TRUE(output.FileName.isEmpty());
    EXPECT_TRUE(QFile::exists(dir.filePath("net.ENG")));
    EXPECT_FALSE(view.IsChanged());
    // One that cannot be written answers false as well, without an exception, and the graph
    // stays changed.
    view.SetIsChanged(true);
    bool saved = true;
    EXPECT_NO_THROW(saved = view.SaveImage(dir.filePath("missing/net.eng"), 24));
    EXPECT_FALSE(saved);
    EXPECT_TRUE(view.IsChanged());
}

TEST_F(GraphDisplayTest, GraphFileRoundTripAppliesTheSettings)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("net.eng");
    TOrganizedNode* a = AddNode({100, 100});
    Connect(a, AddNode({200, 100}));
    view.Caption = QStringLiteral("Family");
    view.SetColor(0x00ABCDEF);
    view.WriteGraphFile(file);

    TEgoNetGraphDisplay other;
    int changes = 0;
    other.OnChangeSettings = [&](QObject*) { ++changes; };
    ASSERT_TRUE(other.ReadGraphFile(file));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(other.Caption, QStringLiteral("Family"));
    EXPECT_EQ(other.Color(), 0x00ABCDEFu);
    EXPECT_TRUE(other.ShowShape());
    EXPECT_EQ(other.Model().NodeCount(), 2);
    EXPECT_EQ(other.Model().ShownLinkCount(), 1);
    EXPECT_FALSE(other.IsChanged());
}

TEST_F(GraphDisplayTest, UnreadableGraphFilesKeepWhatWasThereOrWhatWasRead)
{
    TScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString good = dir.filePath("good.eng");
    AddNode({100, 100});
    AddNode({200, 100});
    view.Caption = QStringLiteral("Kept");
    view.WriteGraphFile(good);
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();

    // Another magic: not a graph file, nothing changes and nothing is shown.
    const QString other = dir.filePath("other.eng");
    QByteArray wrongMagic = bytes;
    wrongMagic[4] = '1';
    QFile out(other);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(wrongMagic);
    out.close();
    view.Caption = QStringLiteral("Before");
    view.SetShowShape(false);
    view.SetColor(0x00000001);
    EXPECT_FALSE(view.ReadGraphFile(other));
    EXPECT_EQ(view.Color(), 0x00000001u);
    EXPECT_EQ(view.Caption, QStringLiteral("Before"));
    EXPECT_EQ(model().NodeCount(), 2);
    EXPECT_TRUE(dialogs.Messages().isEmpty());

    // Cut inside the model block: the warning names the error, the header and settings stay.
    const QString cut = dir.filePath("cut.eng");
    QFile cutFile(cut);
    ASSERT_TRUE(cutFile.open(QIODevice::WriteOnly));
    cutFile.write(bytes.left(bytes.size() - 40));
    cutFile.close();
    EXPECT_FALSE(view.ReadGraphFile(cut));
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].Kind, TMessageKind::Warning);
    EXPECT_FALSE(dialogs.Messages()[0].Text.isEmpty());
    EXPECT_EQ(view.Caption, QStringLiteral("Kept"));
    EXPECT_TRUE(view.ShowShape());
    EXPECT_EQ(view.Color(), kBackground);
}

} // namespace
