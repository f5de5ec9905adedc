// The Attributes page at the size the program must stay fast at: 10,000 persons, each with the
// personal details and a dozen free attributes. A user must never wait more than a second.
//
// The page takes its persons from the real Persons page, as the main window wires them: one person
// checked there, or all of them (group mode).
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "app/pages/GroupEditing.h"
#include "app/pages/TfrmPageAttributes.h"
#include "app/pages/TfrmPagePersons.h"
#include "view/TEgoNetGraphEx.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kPersons = 10000;

struct TPages
{
    TEgoNetGraphEx Host;
    TfrmPagePersons Persons;
    TfrmPageAttributes Attributes;
};

std::unique_ptr<TPages> BuildPages(int persons, bool checkAll)
{
    auto pages = std::make_unique<TPages>();
    TEgoNetModel& model = pages->Host.Graph().Model();
    QRandomGenerator random(11);
    const QStringList cities{"Rome", "Oslo", "Lima", "Kyiv", "Pune"};
    for (int i = 0; i < persons; ++i) {
        TOrganizedNode* person = model.NewNode(QPoint(random.bounded(2000), random.bounded(2000)),
                                               QString("Person%1 Berg").arg(i));
        for (const QString& key : PersonalKeys())
            person->Attributes.AddAttribute(key, QString("%1 %2").arg(key).arg(random.bounded(50)));
        person->Attributes.AddAttribute("city", cities[random.bounded(int(cities.size()))]);
        person->Attributes.AddAttribute("age", QString::number(18 + random.bounded(60)));
        for (int extra = 0; extra < 10; ++extra)
            person->Attributes.AddAttribute(QString("note%1").arg(extra), QString::number(random.bounded(100)));
    }
    pages->Persons.AttachGraph(&pages->Host);
    if (checkAll) {
        pages->Persons.findChild<QToolButton*>("tbAll")->click();
    } else {
        TListGrid& grid = pages->Persons.Grid();
        QTableWidgetItem* name = grid.item(grid.ItemRow(1), 1);
        Q_EMIT grid.cellClicked(name->row(), 1);
    }
    pages->Attributes.EditedPersons = [persons = &pages->Persons] { return persons->EditedPersons(); };
    pages->Attributes.AttachGraph(&pages->Host);
    return pages;
}

// The user types a new name over an attribute's name cell; the end of the edit commits.
void RenameAndCommit(TfrmPageAttributes& page, const QString& from, const QString& to)
{
    TListGrid& grid = page.PersonGrid();
    grid.SetCell(0, FindRowByText(grid, from, 0), to);
    grid.OnEditDone();
    QCoreApplication::processEvents();
}

void RenameBench(benchmark::State& state, bool checkAll)
{
    auto pages = BuildPages(kPersons, checkAll);
    const TEgoNetModel& model = pages->Host.Graph().Model();
    if (pages->Attributes.EditedPersons().size() != (checkAll ? kPersons : 1))
        state.SkipWithError("the Persons page did not check the persons");
    bool renamed = false;
    for (auto _ : state) {
        renamed = !renamed;
        if (renamed)
            RenameAndCommit(pages->Attributes, "city", "town");
        else
            RenameAndCommit(pages->Attributes, "town", "city");
    }
    QString value;
    if (!model.GetNode(kPersons - 1)->Attributes.GetValue(renamed ? "town" : "city", value) || pages->Attributes.TablesModified())
        state.SkipWithError("the rename was not written");
    state.counters["persons"] = kPersons;
}

// One person edited: the rename still reaches every person.
void BM_RenameOnePersonEdited(benchmark::State& state)
{
    RenameBench(state, false);
}
BENCHMARK(BM_RenameOnePersonEdited)->Unit(benchmark::kMillisecond);

// Every person edited at once: each keeps its own values under the new name.
void BM_RenameAllPersonsEdited(benchmark::State& state)
{
    RenameBench(state, true);
}
BENCHMARK(BM_RenameAllPersonsEdited)->Unit(benchmark::kMillisecond);

// Showing the tab with every person checked: the common values over 10,000 persons.
void BM_ShowAllPersons(benchmark::State& state)
{
    auto pages = BuildPages(kPersons, true);
    for (auto _ : state)
        pages->Attributes.AttachGraph(nullptr);
    state.counters["persons"] = kPersons;
}
BENCHMARK(BM_ShowAllPersons)->Unit(benchmark::kMillisecond);

} // namespace
