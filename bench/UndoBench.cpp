// Undo at the sizes the program must stay quick at: taking a step after an edit and undoing one.
#include "ViewBenchSupport.h"

#include "view/TUndoHistory.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

namespace {

// The view's network, with links added up to the given count per person.
std::unique_ptr<TEgoNetGraphDisplay> BuildNetwork(int persons, int linksPerPerson)
{
    auto view = BuildView(persons);
    TEgoNetModel& model = view->Model();
    QRandomGenerator random(11);
    while (model.LinkCount() < persons * linksPerPerson)
        model.NewLink(model.GetNode(random.bounded(persons)), model.GetNode(random.bounded(persons)), "friend", QString());
    for (TOrganizedNode* node : model.Nodes())
        node->Attributes.AddAttribute("city", "Oslo");
    return view;
}

int LinksPerPerson(int persons)
{
    return persons >= 10000 ? 3 : 2;
}

void BM_UndoStep(benchmark::State& state)
{
    const int persons = int(state.range(0));
    auto view = BuildNetwork(persons, LinksPerPerson(persons));
    TUndoHistory history(*view);
    for (auto _ : state) {
        view->Model().GetNode(0)->Position += QPoint(1, 0);
        history.Record("Move Persons");
        history.Flush();
    }
}
BENCHMARK(BM_UndoStep)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_Undo(benchmark::State& state)
{
    const int persons = int(state.range(0));
    auto view = BuildNetwork(persons, LinksPerPerson(persons));
    TUndoHistory history(*view);
    history.Record("Move Persons");
    history.Flush();
    for (auto _ : state) {
        history.Undo();
        state.PauseTiming();
        history.Redo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Undo)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
