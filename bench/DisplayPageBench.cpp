// The Display page on large networks: colouring persons and showing them by attribute values, each
// as the user's click runs it (the repaint it asks for is measured by bench_paint). No click may
// keep the user waiting for a second.
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "app/pages/TfrmPageDisplay.h"
#include "view/TEgoNetGraphEx.h"

#include <QComboBox>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Persons with the standard personal keys (as the Persons page gives them) and three attributes:
// "age", a number; "city", one of 40 names; "email", different for every person, the worst case
// for anything that looks values up in the value list.
struct TDisplayBench
{
    explicit TDisplayBench(int persons)
    {
        QRandomGenerator random(5);
        TEgoNetModel& model = host.Graph().Model();
        const QStringList keys{"name_first", "name_last", "sex", "birthday_month", "birthday_year", "education",
                               "work_type", "homephone", "workphone", "cellphone", "sports", "foods"};
        for (int i = 0; i < persons; ++i) {
            TOrganizedNode* person = model.NewNode(QPoint(random.bounded(1600), random.bounded(1000)),
                                                   QStringLiteral("Person %1").arg(i));
            for (const QString& key : keys)
                person->Attributes.AddAttribute(key, QStringLiteral("na"));
            person->Attributes.AddAttribute("age", QString::number(random.bounded(18, 90)));
            person->Attributes.AddAttribute("city", QStringLiteral("City %1").arg(random.bounded(40)));
            person->Attributes.AddAttribute("email", QStringLiteral("person%1@example.org").arg(i));
        }
        page.AttachGraph(&host);
    }

    int ColorRow(const QString& attribute) const
    {
        return FindRowByText(*page.findChild<TListGrid*>("asgAttrColor"), attribute, 1);
    }

    // Chooses the attribute as the user does; every value is checked afterwards.
    void Choose(const QString& attribute)
    {
        auto* combo = page.findChild<QComboBox*>("cbAttribute");
        combo->setCurrentIndex(combo->findText(attribute));
        Q_EMIT combo->activated(combo->currentIndex());
    }

    // Every other value unchecked.
    void UncheckHalf()
    {
        TListGrid& values = *page.findChild<TListGrid*>("asgAttrVal");
        const QSignalBlocker quiet(values);
        for (int row = 1; row < values.RowCount(); row += 2)
            SetCheck(values, false, row, 0);
    }

    TEgoNetGraphEx host;
    TfrmPageDisplay page;
};

void SetCounts(benchmark::State& state, const TDisplayBench& bench)
{
    state.counters["persons"] = double(bench.host.Graph().Model().NodeCount());
}

void ColorBy(benchmark::State& state, const QString& attribute)
{
    TDisplayBench bench(int(state.range(0)));
    const int row = bench.ColorRow(attribute);
    for (auto _ : state)
        bench.page.ApplyColorMapping(row);
    SetCounts(state, bench);
}

void BM_ColorByNumber(benchmark::State& state)
{
    ColorBy(state, "age");
}
BENCHMARK(BM_ColorByNumber)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ColorByDistinctText(benchmark::State& state)
{
    ColorBy(state, "email");
}
BENCHMARK(BM_ColorByDistinctText)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void FilterBy(benchmark::State& state, const QString& attribute)
{
    TDisplayBench bench(int(state.range(0)));
    bench.Choose(attribute);
    bench.UncheckHalf();
    for (auto _ : state)
        bench.page.ApplyPersonFilter();
    SetCounts(state, bench);
}

void BM_PersonFilterByCity(benchmark::State& state)
{
    FilterBy(state, "city");
}
BENCHMARK(BM_PersonFilterByCity)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_PersonFilterByDistinctText(benchmark::State& state)
{
    FilterBy(state, "email");
}
BENCHMARK(BM_PersonFilterByDistinctText)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Choosing the attribute lists its values, one checked row each, before any filter runs.
void BM_ChooseDistinctText(benchmark::State& state)
{
    TDisplayBench bench(int(state.range(0)));
    for (auto _ : state)
        bench.Choose("email");
    SetCounts(state, bench);
}
BENCHMARK(BM_ChooseDistinctText)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
