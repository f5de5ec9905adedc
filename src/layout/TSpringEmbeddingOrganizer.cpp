#include "layout/TSpringEmbeddingOrganizer.h"

#include "foundation/Geometry.h"
#include "foundation/Rounding.h"
#include "foundation/TNumericVector.h"
#include "layout/ILayoutView.h"
#include "layout/Repulsion.h"
#include "model/ModelConstants.h"
#include "model/TEgoNetModel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxSteps = 350;
constexpr int kMaxStalls = 20;

QPoint Rounded(float x, float y)
{
    return QPoint(RoundHalfEven(x), RoundHalfEven(y));
}

} // namespace

TSpringEmbeddingOrganizer::TSpringEmbeddingOrganizer(ILayoutView* view)
    : TOrganizeThread(view)
{
    LayoutName = QStringLiteral("Spring-Embedding Layout");
    Prepare();
}

void TSpringEmbeddingOrganizer::Prepare()
{
    if (!FView)
        return;
    FView->ResetBeforePaint();
    StepCount = 0;
    TEgoNetModel& model = FView->LayoutModel();
    TIntVector isolates;
    model.UnlinkedNodes(&isolates);
    FView->ArrangeIsolates(isolates);
    for (TOrganizedNode* node : model.Nodes()) {
        node->fx = float(node->Position.x());
        node->fy = float(node->Position.y());
        node->dx = 0;
        node->dy = 0;
    }
    Energy = 0;
    LastEnergy = std::numeric_limits<float>::infinity();
    StallCount = 0;
    SpringLength = FView->IdealLinkLength();
    model.ClearBends();
}

void TSpringEmbeddingOrganizer::Step()
{
    LayoutStep(nullptr, false, false);
}

void TSpringEmbeddingOrganizer::LayoutStep(TOrganizedNode* ego, bool egoSet, bool straighten)
{
    if (!FView)
        return;
    TEgoNetModel& model = FView->LayoutModel();
    const QList<TOrganizedNode*>& nodes = model.Nodes();
    const QList<TEgoNetEdge*>& links = model.ShownLinks();

    for (TOrganizedNode* node : nodes)
        node->Connected = false;
    for (const TEgoNetEdge* link : links)
        for (TEgoNetNode* end : {link->Source, link->Target})
            if (end)
                static_cast<TOrganizedNode*>(end)->Connected = true;
    const auto isConnected = [](const TOrganizedNode* node) { return node->Connected; };
    const int a = int(std::count_if(nodes.cbegin(), nodes.cend(),
                                    [&](const TOrganizedNode* n) { return n->Enabled && isConnected(n); }));
    if (a == 0) {
        if (std::any_of(nodes.cbegin(), nodes.cend(), [](const TOrganizedNode* n) { return n->Enabled; }))
            FView->Repaint();
        EndRun();
        return;
    }
    if (egoSet && (!ego || !ego->IsActive() || !isConnected(ego) || !ego->Movable)) {
        EndRun();
        return;
    }

    const float L = float(SpringLength);
    const float R2 = (5 * L) * (5 * L);
    const int e = model.EnabledTypedLinkCount();
    const float f = std::max(float(e) / float(a), 1.0f);
    const float K2 = (L * f) * (L * f);
    for (TOrganizedNode* node : nodes) {
        node->dx = 0;
        node->dy = 0;
    }
    model.ClearBends();

    const QSize client = FView->ClientSize();
    // The run waits for the ego while it is more than 3 pixels from the centre.
    bool egoWalking = false;
    if (ego) {
        const QPoint centre(client.width() / 2, client.height() / 2);
        const float cx = float(centre.x()) - ego->fx;
        const float cy = float(centre.y()) - ego->fy;
        const float egoDistance = FastSqrt(cx * cx + cy * cy);
        if (egoDistance > 1) {
            ego->dx = cx * (3 / egoDistance);
            ego->dy = cy * (3 / egoDistance);
            const float fromX = ego->fx;
            const float fromY = ego->fy;
            ego->fx += ego->dx;
            ego->fy += ego->dy;
            ego->Position = Rounded(ego->fx, ego->fy);
            // So far out that 3 pixels vanish in the float's precision, the ego never arrives.
            egoWalking = egoDistance > 3 && (ego->fx != fromX || ego->fy != fromY);
        } else {
            ego->Position = centre;
            ego->fx = float(centre.x());
            ego->fy = float(centre.y());
        }
    }

    // Attraction: the pull along a link grows with the square of its length over L.
    for (const TEgoNetEdge* link : links) {
        auto* s = static_cast<TOrganizedNode*>(link->Source);
        auto* t = static_cast<TOrganizedNode*>(link->Target);
        if (!s || !t || !s->IsActive() || !t->IsActive() || s == ego)
            continue;
        if (FrozenEndsBlock && (!s->Movable || !t->Movable))
            continue;
        const float deltaX = t->fx - s->fx;
        const float deltaY = t->fy - s->fy;
        if (!(std::fabs(deltaX) > 0.001f || std::fabs(deltaY) > 0.001f))
            continue;
        float d = FastSqrt(deltaX * deltaX + deltaY * deltaY);
        if (d == 0)
            d = 1;
        const float w = d / L;
        const float forceX = deltaX * w;
        const float forceY = deltaY * w;
        if (s->Movable) {
            s->dx += forceX;
            s->dy += forceY;
        }
        if (t->Movable && t != ego) {
            t->dx -= forceX;
            t->dy -= forceY;
        }
    }

    // Repulsion among the active connected nodes; frozen nodes collect pushes too, but never move.
    FPushing.clear();
    FX.clear();
    FY.clear();
    int32_t egoIndex = -1;
    for (TOrganizedNode* node : nodes) {
        if (node->IsActive() && isConnected(node)) {
            if (node == ego)
                egoIndex = int32_t(FPushing.size());
            FPushing.push_back(node);
            FX.push_back(node->fx);
            FY.push_back(node->fy);
        }
    }
    FSumX.resize(FPushing.size());
    FSumY.resize(FPushing.size());
    SumRepulsion({FX, FY, R2, K2, egoIndex}, FSumX, FSumY, FRandom, &FHelper);
    for (size_t i = 0; i < FPushing.size(); ++i) {
        if (int32_t(i) == egoIndex)
            continue;
        FPushing[i]->dx += FSumX[i];
        FPushing[i]->dy += FSumY[i];
    }

    // Every movable node walks 2 pixels along its force, or stays without one.
    const float W = float(client.width() - kLabelMargin);
    const float H = float(client.height() - kEdgeMargin);
    Energy = 0;
    for (TOrganizedNode* node : FPushing) {
        if (!node->Movable || node == ego)
            continue;
        const float length = FastSqrt(node->dx * node->dx + node->dy * node->dy);
        float h = length / 2;
        Energy += h;
        if (h == 0)
            h = 1;
        node->dx = node->dx / h;
        node->dy = node->dy / h;
        node->fx = std::max(std::min(node->fx + node->dx, W), float(kEdgeMargin));
        node->fy = std::max(std::min(node->fy + node->dy, H), float(kEdgeMargin));
        node->Position = Rounded(node->fx, node->fy);
    }

    if (StepCount > 0) {
        Energy = 0.95f * LastEnergy + 0.05f * Energy;
        if (Energy > 0 && Energy >= LastEnergy)
            ++StallCount;
    }
    LastEnergy = Energy;

    if (Animated && StepCount % 2 == 0) {
        if (straighten)
            FView->StraightenLinks(false);
        FView->Repaint();
    }
    ++StepCount;
    if (!Raise(OnIteration))
        return;
    if (StepCount == 3) {
        bool goOn = true;
        if (!Survives([&] { goOn = AskDenseGraph(false); }))
            return;
        if (!goOn)
            StepCount = kMaxSteps;
    }
    if (egoWalking)
        return;
    if (StallCount >= kMaxStalls || StepCount >= kMaxSteps)
        EndRun();
}
