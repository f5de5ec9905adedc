#include "LayoutTestSupport.h"

#include "common/ScriptedDialogs.h"
#include "layout/TEgoOrganizer.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

struct EgoLayoutTest : ::testing::Test
{
    TOrganizedNode* Add(int x, int y) { return view.Add(x, y); }
    TEgoNetEdge* Link(TOrganizedNode* a, TOrganizedNode* b) { return view.Link(a, b); }

    // Steps until the run ends or the limit passes; the number of steps taken.
    static int RunToEnd(TOrganizeThread& organizer, int limit = 1000)
    {
        organizer.Resume();
        int steps = 0;
        while (organizer.Running() && steps < limit) {
            organizer.Step();
            ++steps;
        }
        organizer.Suspend();
        return steps;
    }

    TFakeLayoutView view;
};

TEST_F(EgoLayoutTest, TheEgoWalksToTheCentreAndTheRunWaitsForIt)
{
    TOrganizedNode* ego = Add(10, 10);
    TOrganizedNode* friendA = Add(60, 40);
    TOrganizedNode* friendB = Add(30, 80);
    Link(ego, friendA);
    Link(friendB, ego);
    TEgoOrganizer organizer(&view);
    EXPECT_EQ(organizer.LayoutName, "Ego-sentric Layout");
    EXPECT_TRUE(organizer.FrozenEndsBlock);
    organizer.SetEgo(ego);
    organizer.Step();
    // 3 pixels along (190, 140): about (12.4, 11.8).
    EXPECT_EQ(ego->Position, QPoint(12, 12));
    organizer.Prepare();
    const int steps = RunToEnd(organizer);
    // About 236 / 3 steps; the run cannot end while the ego is more than 3 pixels away.
    EXPECT_GE(steps, 78);
    EXPECT_LE(steps, 350);
    EXPECT_LE(std::hypot(ego->Position.x() - 200, ego->Position.y() - 150), 3.0);
}

TEST_F(EgoLayoutTest, ANoToTheDenseGraphQuestionStillLetsTheEgoArrive)
{
    TScriptedDialogs dialogs;
    dialogs.Answer(2);
    TOrganizedNode* ego = Add(10, 10);
    for (int i = 0; i < 120; ++i)
        Add(30 + (i % 12) * 25, 30 + (i / 12) * 25);
    for (int k = 0; k < 1700; ++k)
        Link(view.Model.GetNode(1 + k % 120), view.Model.GetNode(1 + (k * 11 + 3) % 120));
    Link(view.Model.GetNode(5), ego);
    TEgoOrganizer organizer(&view);
    organizer.SetEgo(ego);
    const int steps = RunToEnd(organizer);
    EXPECT_EQ(dialogs.Messages().size(), 1);
    EXPECT_GE(steps, 78);
    EXPECT_LE(std::hypot(ego->Position.x() - 200, ego->Position.y() - 150), 3.0);
}

TEST_F(EgoLayoutTest, AnEgoTooFarOutToMoveDoesNotHoldTheRunForever)
{
    // 1,300 pixels out the ego walks on past the step limit until it arrives.
    TOrganizedNode* ego = Add(1500, 150);
    Link(ego, Add(100, 100));
    TEgoOrganizer organizer(&view);
    organizer.SetEgo(ego);
    EXPECT_GT(RunToEnd(organizer, 2000), 350);
    EXPECT_LE(std::abs(ego->Position.x() - 200), 3);

    // So far out that 3 pixels are lost in the float's precision, it can never arrive: the run
    // ends as if there were no ego to wait for.
    for (const QPoint start : {QPoint(std::numeric_limits<int>::max(), 150), QPoint(-100000000, -100000000)}) {
        ego->Position = start;
        organizer.Prepare();
        EXPECT_LE(RunToEnd(organizer, 2000), 350);
        EXPECT_EQ(ego->Position, start);
    }
}

TEST_F(EgoLayoutTest, AnEgoThatDoesNotQualifyEndsTheRunWithoutMovingAnything)
{
    TOrganizedNode* ego = Add(10, 10);
    TOrganizedNode* other = Add(60, 40);
    Link(ego, other);
    TEgoOrganizer organizer(&view);
    organizer.SetEgo(ego);
    int done = 0;
    organizer.OnDone = [&] { ++done; };
    for (auto spoil : {+[](TOrganizedNode* n) { n->Movable = false; }, +[](TOrganizedNode* n) { n->Enabled = false; },
                       +[](TOrganizedNode* n) { n->Visible = false; }}) {
        ego->Movable = ego->Enabled = ego->Visible = true;
        spoil(ego);
        EXPECT_EQ(RunToEnd(organizer), 1);
        EXPECT_EQ(ego->Position, QPoint(10, 10));
        EXPECT_EQ(other->Position, QPoint(60, 40));
    }
    EXPECT_EQ(done, 3);
    // An ego deleted from the model is not followed.
    ego->Movable = ego->Enabled = ego->Visible = true;
    view.Model.DeleteNode(ego);
    Link(other, Add(100, 100));
    EXPECT_EQ(RunToEnd(organizer), 1);
    EXPECT_EQ(other->Position, QPoint(60, 40));
}

TEST_F(EgoLayoutTest, LinksFromTheEgoDoNotPullLinksToItDo)
{
    // The ego sits at the centre already; one node it links to, one that links to it, both 60
    // pixels away on either side, where the ego's push is (5 * 900 / 3600) * 60 = 75 and the
    // pull of a link 120.
    TOrganizedNode* ego = Add(200, 150);
    TOrganizedNode* linkedFrom = Add(140, 150);
    TOrganizedNode* linkingTo = Add(260, 150);
    Link(ego, linkedFrom);
    Link(linkingTo, ego);
    TEgoOrganizer organizer(&view);
    organizer.SetEgo(ego);
    organizer.Step();
    EXPECT_EQ(ego->Position, QPoint(200, 150));
    EXPECT_EQ(linkedFrom->Position, QPoint(138, 150)); // pushed away only
    EXPECT_EQ(linkingTo->Position, QPoint(258, 150)); // pulled in more than pushed out
}

TEST_F(EgoLayoutTest, AnimatedRunsStraightenTheLinksEverySecondStep)
{
    Link(Add(100, 100), Add(160, 120));
    TEgoOrganizer organizer(&view);
    organizer.Animated = true;
    for (int i = 0; i < 4; ++i)
        organizer.Step();
    EXPECT_EQ(view.Straightened, 2);
    EXPECT_EQ(view.Repaints, 2);
    TSpringEmbeddingOrganizer spring(&view);
    spring.Animated = true;
    for (int i = 0; i < 4; ++i)
        spring.Step();
    EXPECT_EQ(view.Straightened, 2); // the spring layout never straightens
    EXPECT_EQ(view.Repaints, 4);
}

// Pacing: steps come from the event loop, one at a time.

TEST_F(EgoLayoutTest, PacingRunsPausesResumesAndRestarts)
{
    for (int i = 0; i < 8; ++i)
        Link(Add(50 + 30 * i, 60 + 11 * i), Add(70 + 25 * i, 200 - 13 * i));
    TSpringEmbeddingOrganizer organizer(&view);
    int iterations = 0;
    int done = 0;
    organizer.OnIteration = [&] { ++iterations; };
    organizer.OnDone = [&] { ++done; };
    organizer.Resume();
    EXPECT_EQ(organizer.StepCount, 0); // nothing before the event loop turns
    ASSERT_TRUE(QTest::qWaitFor([&] { return organizer.StepCount >= 5; }, 5000));
    organizer.Suspend();
    const int paused = organizer.StepCount;
    QTest::qWait(30);
    EXPECT_EQ(organizer.StepCount, paused);
    organizer.Resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return organizer.StepCount > paused; }, 5000));
    // Preparing while running restarts the counters; the run goes on.
    organizer.Prepare();
    EXPECT_EQ(organizer.StepCount, 0);
    organizer.Resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return done == 1; }, 10000));
    EXPECT_FALSE(organizer.Running());
    EXPECT_GT(iterations, paused + organizer.StepCount); // every step of both runs was announced
    const int finalSteps = organizer.StepCount;
    QTest::qWait(30);
    EXPECT_EQ(organizer.StepCount, finalSteps);
    organizer.Terminate();
    organizer.Resume();
    QTest::qWait(30);
    EXPECT_EQ(organizer.StepCount, finalSteps);
}

TEST_F(EgoLayoutTest, AQuestionInsideAStepIsNotInterruptedByTheNextStep)
{
    for (int i = 0; i < 110; ++i)
        Add(20 + (i % 11) * 30, 20 + (i / 11) * 25);
    for (int k = 0; k < 1900; ++k)
        Link(view.Model.GetNode(k % 110), view.Model.GetNode((k * 13 + 5) % 110));
    TSpringEmbeddingOrganizer organizer(&view);
    // Behind the question the event loop runs and a resume comes, as a click elsewhere might
    // bring; no step may start meanwhile.
    TScriptedDialogs dialogs;
    dialogs.Answer(1);
    int stepsWhileAsking = -1;
    dialogs.WhileAsking = [&] {
        const int before = organizer.StepCount;
        organizer.Resume();
        QTest::qWait(50);
        stepsWhileAsking = organizer.StepCount - before;
    };
    organizer.Resume();
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs.Messages().size() == 1; }, 5000));
    EXPECT_EQ(stepsWhileAsking, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return organizer.StepCount > 3; }, 5000));
    organizer.Suspend();
}

TEST_F(EgoLayoutTest, AWorkerFreedInsideItsOwnStepTouchesNothingAfterwards)
{
    // Freed by a handler of its iteration notice while the event loop paces it.
    Link(Add(100, 100), Add(160, 120));
    std::unique_ptr<TSpringEmbeddingOrganizer> organizer = std::make_unique<TEgoOrganizer>(&view);
    int iterations = 0;
    organizer->OnIteration = [&] {
        if (++iterations == 2)
            organizer.reset();
    };
    organizer->Resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !organizer; }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(iterations, 2);

    // Freed while the dense-graph question is open, which is then answered No: the run would
    // end there, but nothing is left to end it.
    for (int i = 0; i < 100; ++i)
        Add(20 + (i % 10) * 30, 20 + (i / 10) * 25);
    for (int k = 0; k < 2000; ++k)
        Link(view.Model.GetNode(k % 102), view.Model.GetNode((k * 13 + 5) % 102));
    organizer = std::make_unique<TSpringEmbeddingOrganizer>(&view);
    int repaintsWhenFreed = -1;
    TScriptedDialogs dialogs;
    dialogs.Answer(2);
    dialogs.WhileAsking = [&] {
        organizer.reset();
        repaintsWhenFreed = view.Repaints;
    };
    organizer->Resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !organizer; }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(view.Repaints, repaintsWhenFreed);
}

TEST_F(EgoLayoutTest, AWorkerOutlivingItsViewOrDestroyedMidRunStepsNoMore)
{
    Link(Add(100, 100), Add(160, 120));
    auto organizer = std::make_unique<TSpringEmbeddingOrganizer>(&view);
    organizer->Resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return organizer->StepCount > 2; }, 5000));
    organizer->DetachView();
    const int steps = organizer->StepCount;
    organizer->Resume(); // refused: there is no view
    QTest::qWait(30);
    EXPECT_EQ(organizer->StepCount, steps);
    EXPECT_FALSE(organizer->Running());

    // Destroyed while a step is scheduled: the pending step never comes.
    organizer = std::make_unique<TSpringEmbeddingOrganizer>(&view);
    organizer->Resume();
    organizer.reset();
    QTest::qWait(30);
    SUCCEED();
}

} // namespace
