// Painting and hit testing at the sizes the view must stay smooth at: a 1600 x 1000 view of
// persons with twice as many links, labels on, painted through its own paint routine. A frame at
// 60 Hz has 16.7 ms.
#include "ViewBenchSupport.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

namespace {

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
