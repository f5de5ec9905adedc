// The layout steps are quadratic by design: one step of the spring layout on random connected
// networks with twice as many links as persons, and a whole run of circlewright-tool's layout on
// 1,000 persons, loading and saving included.
#include "LayoutGraph.h"

#include "layout/TSpringEmbeddingOrganizer.h"
#include "settings/GraphFile.h"
#include "settings/TEgoNetDisplaySettings.h"
#include "view/TEgoNetGraphDisplay.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

// Connected: each person links to one before it, then random pairs make up the rest.
void BuildNetwork(TEgoNetModel& model, int persons)
{
    QRandomGenerator random(17);
    for (int i = 0; i < persons; ++i) {
        TOrganizedNode* node =
            model.NewNode(QPoint(15 + random.bounded(kWidth - 65), 15 + random.bounded(kHeight - 30)), QString());
        if (i > 0)
            model.NewLink(node, model.GetNode(random.bounded(i)), QString(), QString());
    }
    for (int k = persons - 1; k < 2 * persons; ++k) {
        TOrganizedNode* a = model.GetNode(random.bounded(persons));
        TOrganizedNode* b = model.GetNode(random.bounded(persons));
        if (a != b)
            model.NewLink(a, b, QString(), QString());
    }
}

void BM_SpringStep(benchmark::State& state)
{
    TEgoNetGraphDisplay view;
    view.resize(kWidth, kHeight);
    BuildNetwork(view.Model(), int(state.range(0)));
    TSpringEmbeddingOrganizer& organizer = *view.SpringOrganizer();
    organizer.Prepare();
    for (auto _ : state) {
        // Stay clear of the step that asks about dense graphs and of the end of the run.
        if (organizer.StepCount >= 300) {
            state.PauseTiming();
            organizer.Prepare();
            organizer.Step();
            organizer.Step();
            organizer.Step();
            organizer.StepCount = 3;
            state.ResumeTiming();
        }
        organizer.Step();
    }
    state.counters["persons"] = double(view.Model().NodeCount());
    state.counters["links"] = double(view.Model().ShownLinkCount());
}
BENCHMARK(BM_SpringStep)->Arg(100)->Arg(300)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_ToolLayoutRun(benchmark::State& state)
{
    QTemporaryDir dir;
    TEgoNetModel model;
    BuildNetwork(model, 1000);
    const QString in = dir.filePath("in.eng");
    WriteGraphFile(in, {}, TEgoNetDisplaySettings(), model);
    TLayoutOptions options;
    options.Input = in;
    options.Output = dir.filePath("out.eng");
    options.Seed = 1;
    int steps = 0;
    for (auto _ : state)
        steps = LayoutGraphFile(options);
    state.counters["steps"] = steps;
}
BENCHMARK(BM_ToolLayoutRun)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
