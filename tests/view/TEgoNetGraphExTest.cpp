#include "view/TEgoNetGraphEx.h"

#include "view/TGraphCommands.h"

#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class GraphExTest : public ::testing::Test
{
protected:
    GraphExTest()
    {
        host.resize(400, 300);
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
        a = graph().Model().NewNode({100, 100}, "A");
        b = graph().Model().NewNode({300, 200}, "B");
    }

    TEgoNetGraphDisplay& graph() { return host.Graph(); }
    QSize Client() { return host.maximumViewportSize(); }

    void Wheel(int delta)
    {
        const QPointF at(50, 50);
        QWheelEvent wheel(at, graph().mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        // Where a wheel turn over the view ends up once the view has passed it on.
        QCoreApplication::sendEvent(host.viewport(), &wheel);
    }

    TEgoNetGraphEx host;
    TOrganizedNode* a;
    TOrganizedNode* b;
};

TEST_F(GraphExTest, ZoomingInAboveOneGrowsTheViewAndItsPositionsAndCentresIt)
{
    ASSERT_EQ(graph().size(), Client());
    host.ZoomIn();
    EXPECT_DOUBLE_EQ(host.Zoom(), 1.07);
    EXPECT_EQ(graph().size(), QSize(428, 321));
    EXPECT_EQ(a->Position, QPoint(107, 107));
    EXPECT_EQ(b->Position, QPoint(321, 214));
    QScrollBar* bar = host.horizontalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_NEAR(bar->value(), bar->maximum() / 2.0, 1.0) << "nothing was scrolled: the middle";

    host.ZoomOut();
    EXPECT_EQ(host.Zoom(), 1.0) << "snapped to exactly one";
    EXPECT_EQ(graph().size(), QSize(400, 300));
    EXPECT_EQ(a->Position, QPoint(100, 100));
    EXPECT_EQ(b->Position, QPoint(300, 200));
}

TEST_F(GraphExTest, ZoomingOutBelowOnePullsTheNodesTowardsTheCentre)
{
    host.ZoomOut();
    EXPECT_EQ(graph().size(), Client());
    const QPoint centre(Client().width() / 2, Client().height() / 2);
    const auto pulled = [&](int v, int c) { return c + int(std::lrint(0.934579439252336 * (v - c))); };
    EXPECT_EQ(a->Position, QPoint(pulled(100, centre.x()), pulled(100, centre.y())));

    for (int i = 1; i < 14; ++i)
        host.ZoomOut();
    EXPECT_NEAR(host.Zoom(), 0.388, 0.001);
    const QPoint before = a->Position;
    host.ZoomOut();
    EXPECT_NEAR(host.Zoom(), 0.388, 0.001) << "the fifteenth step does nothing";
    EXPECT_EQ(a->Position, before);
}

TEST_F(GraphExTest, BestFitAndResizingReturnTheViewToTheClientArea)
{
    for (int i = 0; i < 3; ++i)
        host.ZoomIn();
    host.resize(500, 350);
    EXPECT_EQ(graph().size(), Client());
    EXPECT_NEAR(host.Zoom(), 1.07 * 1.07 * 1.07, 1e-9) << "resizing keeps the zoom";

    host.ZoomIn();
    host.BestFit();
    EXPECT_EQ(host.Zoom(), 1.0);
    EXPECT_EQ(graph().size(), Client());
    EXPECT_EQ(host.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(host.verticalScrollBar()->maximum(), 0);
}

TEST_F(GraphExTest, ScrollingIsRememberedForTheNextZoom)
{
    host.ZoomIn();
    host.ZoomIn();
    int scrolled = 0;
    host.OnHScroll = [&](QObject* sender) {
        EXPECT_EQ(sender, &host);
        ++scrolled;
    };
    QScrollBar* bar = host.horizontalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(scrolled, 1);
    host.ZoomIn();
    EXPECT_EQ(bar->value(), 0) << "scrolled to the left edge, the zoom keeps it there";
}

TEST_F(GraphExTest, TheWheelZoomsAndNeverScrolls)
{
    Wheel(120);
    EXPECT_DOUBLE_EQ(host.Zoom(), 1.07);
    const int position = host.verticalScrollBar()->value();
    Wheel(60);
    EXPECT_DOUBLE_EQ(host.Zoom(), 1.07) << "half a notch waits for the other half";
    EXPECT_EQ(host.verticalScrollBar()->value(), position);
    Wheel(-180);
    EXPECT_EQ(host.Zoom(), 1.0);
}

TEST_F(GraphExTest, EventsAreRaisedAgainWithTheHostAsSender)
{
    QObject* sender = nullptr;
    host.OnAddingNode = [&](QObject* from, bool& handled) {
        sender = from;
        handled = true;
    };
    graph().Commands().AddNode();
    EXPECT_EQ(sender, &host);
    EXPECT_EQ(graph().Model().NodeCount(), 2) << "the host's answer cancels the view's command";

    int selects = 0;
    host.OnSelect = [&](QObject* from) { selects += from == &host; };
    QTest::mouseClick(&graph(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(selects, 1);
}

TEST_F(GraphExTest, KeysAndClicksReachTheViewAndTheHost)
{
    QTest::keyClick(&host, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(graph().Model().SelectedNodeCount(), 2);
    QTest::keyClick(&host, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(host.Zoom(), 1.07);
    QTest::keyClick(&host, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(host.Zoom(), 1.0);

    int clicks = 0;
    int doubleClicks = 0;
    host.OnClick = [&](QObject*) { ++clicks; };
    host.OnDblClick = [&](QObject*) { ++doubleClicks; };
    QTest::mouseClick(&graph(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(host.hasFocus());
    QTest::mouseDClick(&graph(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(GraphExTest, ClearGraphEmptiesTheModelAndResetsTheView)
{
    host.ZoomIn();
    host.ClearGraph();
    EXPECT_EQ(graph().Model().NodeCount(), 0);
    EXPECT_EQ(graph().size(), Client());
    EXPECT_DOUBLE_EQ(host.Zoom(), 1.07) << "clearing keeps the zoom";
}

} // namespace
