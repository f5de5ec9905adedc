// "Create Links" from 100 checked persons to 100 others (10,000 links of one type) on a graph of
// 1,000 persons. A user must never wait a second for it.
#include "app/SettingsFiles.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "app/pages/TfrmPageConnections.h"
#include "settings/TIniFile.h"
#include "view/TEgoNetGraphEx.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_CreateLinks(benchmark::State& state)
{
    QTemporaryDir settings;
    SetSettingsDirectory(settings.path());
    TIniFile ini(ProgramIniPath());
    ini.WriteString("LinkTypes", "is friend of", "");
    ini.UpdateFile();
    const int persons = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        TEgoNetGraphEx host;
        for (int i = 0; i < persons; ++i)
            host.Graph().Model().NewNode({i % 100 * 10, i / 100 * 10}, QString("Person %1").arg(i, 4, 10, QChar('0')));
        TfrmPageConnections page;
        page.AttachGraph(&host);
        for (int row = 1; row <= 100; ++row) {
            SetCheck(page.LPersons(), true, row, 0);
            SetCheck(page.RPersons(), true, row + 100, 0);
        }
        state.ResumeTiming();
        page.btnCreateLinksClick();
        state.counters["links"] = host.Graph().Model().LinkCount();
    }
    SetSettingsDirectory(QString());
}
BENCHMARK(BM_CreateLinks)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
