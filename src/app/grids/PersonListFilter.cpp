#include "app/grids/PersonListFilter.h"

#include "app/dialogs/ModalResult.h"
#include "app/dialogs/TfrmAttributeBasedPerson.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "view/TEgoNetGraphEx.h"

namespace {

// Refills the list from the persons given (all of them when none) and restores the check marks,
// with the grid's signals held back: these are no clicks of the user.
void Refill(TListGrid& grid, TEgoNetGraphEx& host, const QList<TEgoNetObject*>* persons)
{
    QList<TEgoNetObject*> remembered;
    GetCheckedObjects(grid, 0, remembered);
    const QSignalBlocker quiet(grid);
    if (persons)
        FillWithObjects(grid, *persons, &host.Graph().Model(), true);
    else
        FillWithPersons(grid, host, true);
    grid.SortByColumn(1);
    CheckObjects(grid, 0, remembered);
}

} // namespace

bool FilterPersonList(TListGrid& grid, TEgoNetGraphEx& host, QPoint globalPos)
{
    QList<TOrganizedNode*> persons;
    if (PickPersonsByAttribute(&host, &persons, globalPos.y(), globalPos.x()) != kModalOK)
        return false;
    const QList<TEgoNetObject*> shown(persons.cbegin(), persons.cend());
    Refill(grid, host, &shown);
    return true;
}

void ShowAllPersons(TListGrid& grid, TEgoNetGraphEx& host)
{
    Refill(grid, host, nullptr);
}
