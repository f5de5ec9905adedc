// Painting and hit testing at the sizes the view must stay smooth at: persons with twice as many
// links, labels on, into a 1600 x 1000 picture. A frame at 60 Hz has 16.7 ms.
#include "model/TEgoNetEdgeDrawer.h"
#include "model/TEgoNetModel.h"
#include "model/TEgoNetNodeDrawer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

const TNodeDrawOptions kNodeOptions{.SelectionColor = 0x000000FF, .ShowBorders = true, .ShowCaption = true,
                                    .ShowShape = true};
const TLinkDrawOptions kLinkOptions{.SelectionColor = 0x000000FF, .ShowDirections = true, .ShowType = true};

// Random persons over the picture. A laid-out network links persons that stand near each other, so
// each link goes to the nearest of a few random candidates; every fifth link is bent into a curve,
// as parallel links are.
std::unique_ptr<TEgoNetModel> BuildNetwork(int persons)
{
    QRandomGenerator random(7);
    auto model = std::make_unique<TEgoNetModel>();
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
    return model;
}

// The view's order: background, links, then nodes. Qt 6.4 draws one-pixel lines on its fast path
// only when the painter has an explicit rectangular clip; a view clips to the paint event's area.
void Paint(QImage& image, TEgoNetModel& model, TEgoNetNodeDrawer& nodes, TEgoNetEdgeDrawer& links)
{
    QPainter painter(&image);
    painter.setClipRect(image.rect());
    painter.fillRect(image.rect(), Qt::white);
    painter.setBrush(Qt::white);
    for (TEgoNetEdge* link : model.ShownLinks())
        links.DrawLink(painter, link, false, kLinkOptions);
    for (TEgoNetNode* node : model.Nodes())
        nodes.DrawNode(painter, node, kNodeOptions);
}

void SetCounts(benchmark::State& state, const TEgoNetModel& model)
{
    state.counters["persons"] = double(model.NodeCount());
    state.counters["links"] = double(model.ShownLinkCount());
}

// Repaints of an unchanged network, as when the selection changes or the pointer hovers.
void BM_Paint(benchmark::State& state)
{
    auto model = BuildNetwork(int(state.range(0)));
    TEgoNetNodeDrawer nodes;
    TEgoNetEdgeDrawer links(nodes);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    Paint(image, *model, nodes, links);
    for (auto _ : state)
        Paint(image, *model, nodes, links);
    SetCounts(state, *model);
}
BENCHMARK(BM_Paint)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

// Every person moves a little before each paint, as during an animated layout: no curve's label
// point is known yet.
void BM_PaintMoving(benchmark::State& state)
{
    auto model = BuildNetwork(int(state.range(0)));
    TEgoNetNodeDrawer nodes;
    TEgoNetEdgeDrawer links(nodes);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    QRandomGenerator random(11);
    for (auto _ : state) {
        state.PauseTiming();
        for (TEgoNetNode* node : model->Nodes())
            node->Position += QPoint(random.bounded(-2, 3), random.bounded(-2, 3));
        for (TEgoNetEdge* link : model->ShownLinks())
            link->UpdateMidPoint(link->Offset);
        state.ResumeTiming();
        Paint(image, *model, nodes, links);
    }
    SetCounts(state, *model);
}
BENCHMARK(BM_PaintMoving)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

// One pointer position against every person, topmost first, as a click does.
void BM_HitTestNodes(benchmark::State& state)
{
    auto model = BuildNetwork(int(state.range(0)));
    TEgoNetNodeDrawer nodes;
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    QRandomGenerator random(3);
    int hits = 0;
    for (auto _ : state) {
        const QPoint point(random.bounded(kWidth), random.bounded(kHeight));
        for (qsizetype i = model->NodeCount() - 1; i >= 0; --i)
            if (nodes.HitTestNode(*model->GetNode(int(i)), image, point).Hit) {
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
    auto model = BuildNetwork(int(state.range(0)));
    TEgoNetNodeDrawer nodes;
    TEgoNetEdgeDrawer links(nodes);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    Paint(image, *model, nodes, links);
    QRandomGenerator random(5);
    int hits = 0;
    for (auto _ : state) {
        const QPoint point(random.bounded(kWidth), random.bounded(kHeight));
        for (TEgoNetEdge* link : model->ShownLinks()) {
            const QString label = TEgoNetEdgeDrawer::LinkLabelText(*link, true, false, false);
            if (links.HitTestLink(*link, image, point, label).Hit) {
                ++hits;
                break;
            }
        }
    }
    state.counters["hit%"] = benchmark::Counter(100.0 * hits, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HitTestLinks)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
