#include "LayoutTestSupport.h"

#include "common/ScriptedDialogs.h"
#include "foundation/Geometry.h"
#include "foundation/THelperThread.h"
#include "layout/Repulsion.h"
#include "layout/TEgoOrganizer.h"
#include "layout/TSpringEmbeddingOrganizer.h"

#include <QRandomGenerator>
#include <QTest>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

// The layout step written out plainly, pair by pair, from the arithmetic the layout must follow:
// the organizers' results must agree with it to the bit.
struct TReference
{
    struct TNode
    {
        float X = 0, Y = 0, Dx = 0, Dy = 0;
        bool Active = true;
        bool Movable = true;
    };
    std::vector<TNode> Nodes;
    std::vector<std::pair<int, int>> Links;
    float Energy = 0;
    float LastEnergy = std::numeric_limits<float>::infinity();
    int Stalls = 0;
    int Steps = 0;

    explicit TReference(const TEgoNetModel& model)
    {
        for (const TOrganizedNode* node : model.Nodes())
            Nodes.push_back({float(node->Position.x()), float(node->Position.y()), 0, 0, node->IsActive(), node->Movable});
        for (const TEgoNetEdge* link : model.ShownLinks())
            Links.emplace_back(model.IndexOfNode(link->Source), model.IndexOfNode(link->Target));
    }

    bool Connected(int i) const
    {
        for (const auto& [s, t] : Links)
            if (s == i || t == i)
                return true;
        return false;
    }

    // One step; ego -1 for none. Returns the ego's distance from the centre before its move.
    float Step(float L, QSize client, bool frozenEndsBlock, int ego, QRandomGenerator& random)
    {
        const int n = int(Nodes.size());
        int a = 0;
        for (int i = 0; i < n; ++i)
            a += Nodes[i].Active && Connected(i);
        const float R2 = (5 * L) * (5 * L);
        float f = float(Links.size()) / float(a);
        if (f < 1)
            f = 1;
        const float K2 = (L * f) * (L * f);
        for (TNode& node : Nodes)
            node.Dx = node.Dy = 0;
        float distance = -1;
        if (ego >= 0) {
            TNode& e = Nodes[ego];
            const float cx = float(client.width() / 2) - e.X;
            const float cy = float(client.height() / 2) - e.Y;
            distance = FastSqrt(cx * cx + cy * cy);
            if (distance > 1) {
                e.X += cx * (3 / distance);
                e.Y += cy * (3 / distance);
            } else {
                e.X = float(client.width() / 2);
                e.Y = float(client.height() / 2);
            }
        }
        for (const auto& [s, t] : Links) {
            TNode& S = Nodes[s];
            TNode& T = Nodes[t];
            if (!S.Active || !T.Active || s == ego || (frozenEndsBlock && !(S.Movable && T.Movable)))
                continue;
            const float dx = T.X - S.X;
            const float dy = T.Y - S.Y;
            if (std::fabs(dx) > 0.001f || std::fabs(dy) > 0.001f) {
                float d = FastSqrt(dx * dx + dy * dy);
                if (d == 0)
                    d = 1;
                const float w = d / L;
                if (S.Movable) {
                    S.Dx += dx * w;
                    S.Dy += dy * w;
                }
                if (T.Movable && t != ego) {
                    T.Dx -= dx * w;
                    T.Dy -= dy * w;
                }
            }
        }
        for (int i = 0; i < n; ++i) {
            if (!Nodes[i].Active || !Connected(i) || i == ego)
                continue;
            float sx = 0, sy = 0;
            for (int j = 0; j < n; ++j) {
                if (j == i || !Nodes[j].Active || !Connected(j))
                    continue;
                float dx = Nodes[i].X - Nodes[j].X;
                float dy = Nodes[i].Y - Nodes[j].Y;
                float q = dx * dx + dy * dy;
                if (q < R2) {
                    if (q == 0) {
                        q = 1;
                        dx = 2 * float(random.generateDouble()) - 1;
                        dy = 2 * float(random.generateDouble()) - 1;
                    }
                    if (j == ego)
                        q = q / 5;
                    sx += dx * (K2 / q);
                    sy += dy * (K2 / q);
                }
            }
            Nodes[i].Dx += sx;
            Nodes[i].Dy += sy;
        }
        Energy = 0;
        for (int i = 0; i < n; ++i) {
            TNode& node = Nodes[i];
            if (!node.Active || !Connected(i) || !node.Movable || i == ego)
                continue;
            float h = FastSqrt(node.Dx * node.Dx + node.Dy * node.Dy) / 2;
            Energy += h;
            if (h == 0)
                h = 1;
            node.X += node.Dx / h;
            node.Y += node.Dy / h;
            node.X = std::max(std::min(node.X, float(client.width() - 50)), 15.0f);
            node.Y = std::max(std::min(node.Y, float(client.height() - 15)), 15.0f);
        }
        if (Steps > 0) {
            Energy = 0.95f * LastEnergy + 0.05f * Energy;
            if (Energy > 0 && Energy >= LastEnergy)
                ++Stalls;
        }
        LastEnergy = Energy;
        ++Steps;
        return distance;
    }
};

struct SpringLayoutTest : ::testing::Test
{
    TOrganizedNode* Add(int x, int y) { return view.Add(x, y); }
    TEgoNetEdge* Link(TOrganizedNode* a, TOrganizedNode* b) { return view.Link(a, b); }

    // Steps the organizer and the reference side by side and compares every working position.
    void ExpectSameAsReference(TSpringEmbeddingOrganizer& organizer, int steps, int ego = -1)
    {
        organizer.SetRandomSeed(42);
        organizer.Prepare();
        TReference reference(view.Model);
        QRandomGenerator random(42);
        for (int step = 0; step < steps; ++step) {
            organizer.Step();
            reference.Step(float(view.LinkLength), view.Size, organizer.FrozenEndsBlock, ego, random);
            for (int i = 0; i < view.Model.NodeCount(); ++i) {
                const TOrganizedNode* node = view.Model.GetNode(i);
                ASSERT_EQ(node->fx, reference.Nodes[size_t(i)].X) << "step " << step << " node " << i;
                ASSERT_EQ(node->fy, reference.Nodes[size_t(i)].Y) << "step " << step << " node " << i;
                EXPECT_EQ(node->Position.x(), std::lrint(node->fx));
                EXPECT_EQ(node->Position.y(), std::lrint(node->fy));
            }
            EXPECT_EQ(organizer.Energy, reference.Energy);
            EXPECT_EQ(organizer.StallCount, reference.Stalls);
        }
    }

    TFakeLayoutView view;
};

TEST_F(SpringLayoutTest, TwoLinkedNodesWalkTwoPixelsTowardsEachOther)
{
    TOrganizedNode* a = Add(100, 100);
    TOrganizedNode* b = Add(160, 100);
    Link(a, b);
    TSpringEmbeddingOrganizer organizer(&view);
    EXPECT_EQ(organizer.SpringLength, 30);
    organizer.Step();
    // 60 apart with L = 30: the pull (120) beats the push (15), so both walk 2 pixels inwards.
    EXPECT_EQ(a->Position, QPoint(102, 100));
    EXPECT_EQ(b->Position, QPoint(158, 100));
    EXPECT_FLOAT_EQ(a->fy, 100.0f);
    ExpectSameAsReference(organizer, 60);
}

TEST_F(SpringLayoutTest, SmallNetworksFollowTheArithmeticToTheBit)
{
    // A triangle, a chain with an isolate, a hub near the right and bottom edges (clamped there).
    TOrganizedNode* a = Add(100, 100);
    TOrganizedNode* b = Add(140, 110);
    TOrganizedNode* c = Add(120, 160);
    Link(a, b);
    Link(b, c);
    Link(c, a);
    Add(300, 200); // an isolate: stacked on the left, never moved
    TOrganizedNode* hub = Add(349, 284);
    Link(hub, Add(345, 280));
    Link(hub, Add(340, 284));
    Link(hub, c);
    TSpringEmbeddingOrganizer organizer(&view);
    ExpectSameAsReference(organizer, 40);
    for (const TOrganizedNode* node : view.Model.Nodes()) {
        EXPECT_LE(node->Position.x(), 350);
        EXPECT_LE(node->Position.y(), 285);
        EXPECT_GE(node->Position.x(), 12);
    }
    EXPECT_EQ(view.Model.GetNode(3)->Position, QPoint(12, 12));
}

TEST_F(SpringLayoutTest, TheLayoutAroundAnEgoFollowsTheArithmeticToTheBit)
{
    // The ego links to one node and is linked from another; a third hangs on a frozen node.
    TOrganizedNode* ego = Add(40, 30);
    TOrganizedNode* a = Add(90, 60);
    TOrganizedNode* b = Add(60, 110);
    TOrganizedNode* frozen = Add(250, 200);
    TOrganizedNode* c = Add(230, 180);
    Link(ego, a);
    Link(b, ego);
    Link(a, b);
    Link(c, frozen);
    frozen->Movable = false;
    TEgoOrganizer organizer(&view);
    organizer.SetEgo(ego);
    ExpectSameAsReference(organizer, 70, 0);
    EXPECT_EQ(frozen->Position, QPoint(250, 200));
}

TEST_F(SpringLayoutTest, LinksOfASelectedTypeCountWhateverTheLetterCase)
{
    // Three parallel links make f = 3 / 2, which strengthens the push against the pull; the
    // filter names the type in other letters than the links do.
    TOrganizedNode* a = Add(100, 100);
    TOrganizedNode* b = Add(160, 130);
    TOrganizedNode* c = Add(120, 190);
    for (int i = 0; i < 3; ++i)
        view.Model.NewLink(a, b, QStringLiteral("friend"), QString());
    view.Model.NewLink(b, c, QStringLiteral("Friend"), QString());
    view.Model.SetShownLinkTypes({QStringLiteral("FRIEND")});
    ASSERT_EQ(view.Model.ShownLinkCount(), 4);
    TSpringEmbeddingOrganizer organizer(&view);
    ExpectSameAsReference(organizer, 10);
}

TEST_F(SpringLayoutTest, NodesPushedBeyondTheViewStopAtItsEdges)
{
    // Two nodes far apart pulled together, a third pushed into the corner.
    TOrganizedNode* a = Add(349, 284);
    TOrganizedNode* b = Add(340, 280);
    Link(a, b);
    TSpringEmbeddingOrganizer organizer(&view);
    for (int i = 0; i < 5; ++i)
        organizer.Step();
    EXPECT_EQ(a->fx, 350.0f); // W = 400 - 50
    EXPECT_EQ(a->fy, 285.0f); // H = 300 - 15
    view.Size = QSize(40, 20); // too small: everything ends on the lower limit 15
    organizer.Step();
    EXPECT_EQ(b->fx, 15.0f);
    EXPECT_EQ(b->fy, 15.0f);
}

TEST_F(SpringLayoutTest, FrozenEndsAndDisabledNodes)
{
    TOrganizedNode* a = Add(100, 100);
    TOrganizedNode* b = Add(200, 100);
    TOrganizedNode* off = Add(150, 105);
    Link(a, b);
    Link(off, a);
    b->Movable = false;
    off->Enabled = false;
    TSpringEmbeddingOrganizer spring(&view);
    spring.Step();
    EXPECT_EQ(b->Position, QPoint(200, 100)); // frozen: pulls and pushes, never moves
    EXPECT_EQ(a->Position, QPoint(102, 100)); // pulled towards b, not pushed by the disabled node
    EXPECT_EQ(off->Position, QPoint(150, 105));
    ExpectSameAsReference(spring, 20);

    // With frozen ends blocking, the link to b does not pull: a only feels b's push.
    a->Position = QPoint(100, 100);
    TEgoOrganizer ego(&view);
    ego.Step();
    EXPECT_EQ(a->Position, QPoint(98, 100));
    ExpectSameAsReference(ego, 20);
}

TEST_F(SpringLayoutTest, CoincidentNodesSeparateInARandomDirection)
{
    TOrganizedNode* a = Add(150, 150);
    TOrganizedNode* b = Add(150, 150);
    TOrganizedNode* c = Add(200, 150);
    Link(a, b);
    Link(b, c);
    TSpringEmbeddingOrganizer organizer(&view);
    const auto firstStep = [&] {
        a->Position = b->Position = QPoint(150, 150);
        c->Position = QPoint(200, 150);
        organizer.SetRandomSeed(7);
        organizer.Prepare();
        organizer.Step();
        return std::vector<QPoint>{a->Position, b->Position, c->Position};
    };
    const std::vector<QPoint> once = firstStep();
    EXPECT_NE(a->Position, b->Position);
    EXPECT_EQ(firstStep(), once); // the same seed repeats the run
    a->Position = b->Position = QPoint(150, 150);
    c->Position = QPoint(200, 150);
    ExpectSameAsReference(organizer, 10);
}

TEST_F(SpringLayoutTest, ANetworkLargeEnoughForTwoThreadsFollowsTheArithmeticToTheBit)
{
    // 301 nodes: the pushes are summed on two threads, with some nodes on shared spots.
    view.Size = QSize(900, 700);
    QRandomGenerator random(31);
    for (int i = 0; i < 301; ++i) {
        TOrganizedNode* node = i % 50 == 7 ? Add(view.Model.GetNode(i / 3)->Position.x(),
                                                 view.Model.GetNode(i / 3)->Position.y())
                                           : Add(15 + random.bounded(830), 15 + random.bounded(670));
        if (i > 0)
            Link(node, view.Model.GetNode(random.bounded(i)));
    }
    for (int k = 0; k < 250; ++k) {
        TOrganizedNode* a = view.Model.GetNode(random.bounded(301));
        TOrganizedNode* b = view.Model.GetNode(random.bounded(301));
        if (a != b)
            Link(a, b);
    }
    TSpringEmbeddingOrganizer organizer(&view);
    ExpectSameAsReference(organizer, 6);
}

TEST_F(SpringLayoutTest, NoConnectedNodeEndsTheRunAtOnce)
{
    Add(200, 200);
    Add(250, 200);
    TSpringEmbeddingOrganizer organizer(&view);
    EXPECT_EQ(view.Model.GetNode(1)->Position, QPoint(12, 29)); // stacked by Prepare
    int done = 0;
    organizer.OnDone = [&] { ++done; };
    organizer.Resume();
    organizer.Step();
    EXPECT_EQ(done, 1);
    EXPECT_FALSE(organizer.Running());
    EXPECT_EQ(organizer.StepCount, 0);
    EXPECT_GE(view.Repaints, 1);
}

TEST_F(SpringLayoutTest, ARunEndsAfter350StepsOrTwentyStalls)
{
    for (int i = 0; i < 6; ++i)
        Link(Add(60 + 40 * i, 100 + 7 * i), Add(80 + 30 * i, 200 - 9 * i));
    TSpringEmbeddingOrganizer organizer(&view);
    int iterations = 0;
    int done = 0;
    organizer.OnIteration = [&] { ++iterations; };
    organizer.OnDone = [&] { ++done; };
    organizer.Resume();
    // An energy that keeps falling never stalls: the run takes all 350 steps.
    while (organizer.Running()) {
        organizer.LastEnergy = FLT_MAX;
        organizer.Step();
    }
    EXPECT_EQ(organizer.StepCount, 350);
    EXPECT_EQ(iterations, 350);
    EXPECT_EQ(done, 1);

    organizer.Prepare();
    organizer.Resume();
    while (organizer.Running())
        organizer.Step();
    EXPECT_EQ(organizer.StallCount, 20);
    EXPECT_LT(organizer.StepCount, 350);
    EXPECT_EQ(done, 2);
}

TEST_F(SpringLayoutTest, DenseGraphsAskAfterTheThirdStep)
{
    TScriptedDialogs dialogs;
    for (int i = 0; i < 150; ++i)
        Add(20 + (i % 15) * 20, 20 + (i / 15) * 20);
    for (int k = 0; k < 1400; ++k)
        Link(view.Model.GetNode(k % 150), view.Model.GetNode((k * 7 + 1) % 150));
    TSpringEmbeddingOrganizer organizer(&view);
    dialogs.Answer(2); // No
    organizer.Resume();
    for (int i = 0; i < 2; ++i)
        organizer.Step();
    EXPECT_TRUE(dialogs.Messages().isEmpty());
    organizer.Step();
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].Text,
              "The layout animation of dense graph with 150 nodes may take a minute or more.\r\n\r\nContinue anyway?");
    EXPECT_EQ(dialogs.Messages()[0].Captions, (QStringList{"Yes", "No"}));
    EXPECT_EQ(organizer.StepCount, 350);
    EXPECT_FALSE(organizer.Running());

    // 99 persons are never asked about, however many links they have.
    view.Model.DeleteNode(view.Model.GetNode(0));
    while (view.Model.NodeCount() > 99)
        view.Model.DeleteNode(view.Model.GetNode(0));
    for (int k = 0; k < 2500; ++k)
        Link(view.Model.GetNode(k % 99), view.Model.GetNode((k * 5 + 2) % 99));
    organizer.Prepare();
    for (int i = 0; i < 4; ++i)
        organizer.Step();
    EXPECT_EQ(dialogs.Messages().size(), 1);
}

TEST(RepulsionTest, SummingSeveralNodesAtOnceChangesNoBit)
{
    QRandomGenerator random(3);
    // Large inputs are also summed on two threads when a helper is given.
    THelperThread twoThreads;
    for (int n : {1, 7, 8, 9, 100, 256, 333, 1002}) {
        std::vector<float> x, y;
        for (int i = 0; i < n; ++i) {
            x.push_back(float(random.bounded(20000)) / 7.0f + 15);
            y.push_back(float(random.bounded(15000)) / 3.0f + 15);
        }
        // Nodes clamped into a corner share their spot.
        for (int i = 2; i < n; i += 5) {
            x[size_t(i)] = x[size_t(i / 2)];
            y[size_t(i)] = y[size_t(i / 2)];
        }
        for (int ego : {-1, 0, n / 2, n - 1})
            for (THelperThread* helper : {static_cast<THelperThread*>(nullptr), &twoThreads}) {
                const TRepulsion input{x, y, 1500.0f * 1500.0f, 90.0f * 90.0f, ego};
                std::vector<float> vx(size_t(n), -1.0f), vy(size_t(n), -1.0f), sx(size_t(n), 0.0f),
                    sy(size_t(n), 0.0f);
                QRandomGenerator vectorRandom(n);
                QRandomGenerator plainRandom(n);
                SumRepulsion(input, vx, vy, vectorRandom, helper);
                SumRepulsionInOrder(input, sx, sy, plainRandom);
                EXPECT_EQ(vectorRandom.generate(), plainRandom.generate()); // as many draws
                for (int i = 0; i < n; ++i) {
                    ASSERT_EQ(vx[size_t(i)], sx[size_t(i)]) << n << " nodes, ego " << ego << ", node " << i;
                    ASSERT_EQ(vy[size_t(i)], sy[size_t(i)]) << n << " nodes, ego " << ego << ", node " << i;
                }
            }
    }
}

TEST(RepulsionTest, ANodeWithoutAPlaceNeitherPushesNorIsPushed)
{
    // A position that is not a number lies within no radius, in both sums alike.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> x{100, nan, 130, 160, 100, 220};
    const std::vector<float> y{100, 100, nan, 100, 140, 100};
    std::vector<float> vx(6), vy(6), sx(6), sy(6);
    QRandomGenerator random(5);
    SumRepulsion({x, y, 1e6f, 900.0f, -1}, vx, vy, random);
    SumRepulsionInOrder({x, y, 1e6f, 900.0f, -1}, sx, sy, random);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(vx[i], sx[i]) << "node " << i;
        EXPECT_EQ(vy[i], sy[i]) << "node " << i;
    }
    EXPECT_EQ(sx[1], 0.0f);
    EXPECT_EQ(sy[2], 0.0f);
    // Node 0 feels nodes 3, 4 and 5 only: 900 / 60 along -x, 900 / 40 along -y, 900 / 120 along -x.
    EXPECT_FLOAT_EQ(sx[0], -22.5f);
    EXPECT_FLOAT_EQ(sy[0], -22.5f);
}

TEST(RepulsionTest, TheEgoPushesFiveTimesHarderAndIsNotPushed)
{
    // An equilateral triangle: the ego (0) and two nodes, each at distance 100 from the others.
    const std::vector<float> x{100, 200, 150};
    const std::vector<float> y{100, 100, 100 + 50 * std::sqrt(3.0f)};
    std::vector<float> sx(3), sy(3);
    QRandomGenerator random(1);
    SumRepulsion({x, y, 1e6f, 100.0f, 0}, sx, sy, random);
    EXPECT_EQ(sx[0], 0.0f);
    EXPECT_EQ(sy[0], 0.0f);
    // Node 1: the ego pushes along +x with 5 * 100 / 10000 * 100 = 5, node 2 with 1 away from it.
    EXPECT_NEAR(sx[1], 5.0f + 0.5f, 1e-4);
    EXPECT_NEAR(sy[1], -std::sqrt(3.0f) / 2, 1e-4);
}

} // namespace
