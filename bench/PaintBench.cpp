// Painting and hit testing at the sizes the view must stay smooth at: a 1600 x 1000 view of
// persons with twice as many links, labels on, painted through its own paint routine. A frame at
// 60 Hz has 16.7 ms.
#include "view/TEgoNetGraphDisplay.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

// Random persons over the picture. A laid-out network links persons that stand near each other, so
// each link goes to the nearest of a few random candidates; every fifth link is bent into a curve,
// as parallel links are.
std::unique_ptr<TEgoNetGraphDisplay> BuildView(int persons)
{
    QRandomGenerator random(7);
    auto view = std::make_unique<TEgoNetGraphDisplay>();
    view->resize(kWidth, kHeight);
    view->SetSelectionColor(0x000000FF);
    view->SetShowBorders(true);
    view->SetShowCaption(true);
    view->SetShowShape(true);
    view->SetShowEdges(true);
    view->SetShowDirections(true);
    view->SetShowEdgeType(true);
    TEgoNetModel* model = &view->Model();
    const QStringList surnames{"Adler", "Berg", "Castro", "Dahl", "Eklund", "Ferrari"};
    for (int i = 0; i < persons; ++i)
        model->NewNode(QPoint(20 + random.bounded(kWidth - 40), 20 + random.bounded(kHeight - 40)),
                       QString("Person%1 %2").arg(i).arg(surnames[i % surnames.size()]));
    const QStringList types{"friend", "family", "work"};
    for (int i = 0; i < 2 * persons; ++i) {
        TEgoNetNode* source = model->GetNode(random.bounded(persons));
        TEgoNetNode* target = nullptr;
        for (int candidate = 0; candidate < 40; ++candidate) {
            TEgoNetNode* node = model->GetNode(random.bounded(persons));
            const auto distance = [&](const TEgoNetNode* n) { return (n->Position - source->Position).manhattanLength(); };
            if (node != source && (!target || distance(node) < distance(target)))
                target = node;
        }
        if (!target)
            continue;
        TEgoNetEdge* link = model->NewLink(source, target, types[random.bounded(int(types.size()))], QString());
        if (i % 5 == 0) {
            link->Offset = 25;
            link->UpdateMidPoint(link->Offset);
        }
    }
    return view;
}

void Paint(QImage& image, TEgoNetGraphDisplay& view)
{
    QPainter painter(&image);
    view.Paint(painter, image.rect());
}

void SetCounts(benchmark::State& state, const TEgoNetModel& model)
{
    state.counters["persons"] = double(model.NodeCount());
    state.counters["links"] = double(model.ShownLinkCount());
}

// Repaints of an unchanged network, as when the selection changes or the pointer hovers.
void BM_Paint(benchmark::State& state)
{
    auto view = BuildView(int(state.range(0)));
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    Paint(image, *view);
    for (auto _ : state)
        Paint(image, *view);
    SetCounts(state, view->Model());
}
BENCHMARK(BM_Paint)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

// Every person moves a little before each paint, as during an animated layout: no curve's label
// point is known yet.
void BM_PaintMoving(benchmark::State& state)
{
    auto view = BuildView(int(state.range(0)));
    TEgoNetModel* model = &view->Model();
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    QRandomGenerator random(11);
    for (auto _ : state) {
        state.PauseTiming();
        for (TEgoNetNode* node : model->Nodes())
            node->Position += QPoint(random.bounded(-2, 3), random.bounded(-2, 3));
        for (TEgoNetEdge* link : model->ShownLinks())
            link->UpdateMidPoint(link->Offset);
        state.ResumeTiming();
        Paint(image, *view);
    }
    SetCounts(state, *model);
}
BENCHMARK(BM_PaintMoving)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

// One pointer position against every person, topmost first, as a click does.
void BM_HitTestNodes(benchmark::State& state)
{
    auto view = BuildView(int(state.range(0)));
    TEgoNetModel* model = &view->Model();
    TEgoNetNodeDrawer& nodes = view->NodeDrawer();
    QRandomGenerator random(3);
    int hits = 0;
    for (auto _ : state) {
        const QPoint point(random.bounded(kWidth), random.bounded(kHeight));
        for (qsizetype i = model->NodeCount() - 1; i >= 0; --i)
            if (nodes.HitTestNode(*model->GetNode(int(i)), *view, point).Hit) {
                ++hits;
                break;
            }
    }
    state.counters["hit%"] = benchmark::Counter(100.0 * hits, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HitTestNodes)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond);

// One pointer position against every link with its label, after a paint has placed the labels.
void BM_HitTestLinks(benchmark::State& state)
{
    auto view = BuildView(int(state.range(0)));
    TEgoNetModel* model = &view->Model();
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    Paint(image, *view);
    TEgoNetEdgeDrawer& links = view->EdgeDrawer();
    QRandomGenerator random(5);
    int hits = 0;
    for (auto _ : state) {
        const QPoint point(random.bounded(kWidth), random.bounded(kHeight));
        for (TEgoNetEdge* link : model->ShownLinks()) {
            const QString label = TEgoNetEdgeDrawer::LinkLabelText(*link, true, false, false);
            if (links.HitTestLink(*link, *view, point, label).Hit) {
                ++hits;
                break;
            }
        }
    }
    state.counters["hit%"] = benchmark::Counter(100.0 * hits, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HitTestLinks)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond);

} // namespace
