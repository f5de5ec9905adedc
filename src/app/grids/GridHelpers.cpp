#include "app/grids/GridHelpers.h"

#include "app/grids/TListGrid.h"
#include "foundation/UserDialogs.h"
#include "settings/TIniFile.h"
#include "view/TEgoNetGraphEx.h"

#include <QFileInfo>
#include <QHash>

namespace {

// The row count when AppendEditRow added its row; -1 for none.
int gPendingEditRow = -1;

void AddTextRow(TListGrid& grid, const QString& text, bool radio)
{
    const int row = grid.RowCount();
    grid.SetRowCount(row + 1);
    grid.MakeCheckCell(0, row, radio);
    grid.SetCell(1, row, text);
}

template <typename Each>
void ForEachDataRow(const TListGrid& grid, Each each)
{
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row)
        each(row);
}

} // namespace

void PrepareGrid(TListGrid& grid, bool keepHeader)
{
    grid.SetHasHeader(keepHeader);
    // Columns without a caption show none rather than their number.
    for (int col = 0; col < grid.columnCount(); ++col)
        if (!grid.horizontalHeaderItem(col))
            grid.setHorizontalHeaderItem(col, new QTableWidgetItem);
    grid.setSortingEnabled(false);
    grid.SetRowCount(grid.FixedRows());
}

void FillWithObjects(TListGrid& grid, const QList<TEgoNetObject*>& objects, const TEgoNetModel* model,
                     bool keepHeader)
{
    THeldPainting held(grid);
    PrepareGrid(grid, keepHeader);
    grid.AttachModel(model);
    for (const TEgoNetObject* object : objects) {
        AddTextRow(grid, object->Caption(), false);
        grid.SetObject(1, grid.RowCount() - 1, object);
    }
    ClearSelection(grid);
}

void FillWithPersons(TListGrid& grid, TEgoNetGraphEx& host, bool keepHeader)
{
    const TEgoNetModel& model = host.Graph().Model();
    FillWithObjects(grid, QList<TEgoNetObject*>(model.Nodes().cbegin(), model.Nodes().cend()), &model, keepHeader);
}

void FillWithTexts(TListGrid& grid, const QStringList& texts, bool keepHeader, bool radio)
{
    THeldPainting held(grid);
    PrepareGrid(grid, keepHeader);
    for (const QString& text : texts)
        AddTextRow(grid, text, radio);
    ClearSelection(grid);
}

bool FillFromIniSection(TListGrid& grid, const QString& iniFile, const QString& section, bool keepHeader)
{
    if (section.isEmpty() || !QFileInfo::exists(iniFile))
        return false;
    const QStringList keys = TIniFile(iniFile).ReadSection(section);
    FillWithTexts(grid, keys, keepHeader, false);
    return true;
}

bool SaveToIniSection(const TListGrid& grid, const QString& iniFile, const QString& section, int textCol,
                      bool hasHeader)
{
    if (section.isEmpty())
        return false;
    TIniFile ini(iniFile);
    ini.EraseSection(section);
    QStringList keys;
    for (int row = hasHeader ? 1 : 0; row < grid.RowCount(); ++row)
        if (!grid.Cell(textCol, row).isEmpty())
            keys << grid.Cell(textCol, row);
    // An emptied list is saved as an empty section, so that its old entries do not come back.
    ini.EnsureSection(section);
    for (const QString& key : std::as_const(keys))
        ini.WriteString(section, key, QString());
    return ini.UpdateFile();
}

void ClearSelection(TListGrid& grid)
{
    grid.clearSelection();
    grid.setCurrentCell(-1, -1);
}

void SetAllChecks(TListGrid& grid, bool checked, int checkCol)
{
    ForEachDataRow(grid, [&](int row) { grid.SetChecked(checkCol, row, checked); });
}

void SetCheck(TListGrid& grid, bool checked, int row, int checkCol)
{
    grid.SetChecked(checkCol, row, checked);
}

void ToggleCheck(TListGrid& grid, int row, int checkCol)
{
    grid.SetChecked(checkCol, row, !grid.IsChecked(checkCol, row));
}

bool IsChecked(const TListGrid& grid, int row, int checkCol)
{
    return grid.IsChecked(checkCol, row);
}

int CountChecked(const TListGrid& grid, int checkCol)
{
    int count = 0;
    ForEachDataRow(grid, [&](int row) { count += grid.IsChecked(checkCol, row); });
    return count;
}

void GetCheckedObjects(const TListGrid& grid, int checkCol, QList<TEgoNetObject*>& list)
{
    QList<int> rows;
    ForEachDataRow(grid, [&](int row) {
        if (grid.IsChecked(checkCol, row))
            rows.append(row);
    });
    list = grid.Objects(1, rows);
}

void CheckObjects(TListGrid& grid, int checkCol, const QList<TEgoNetObject*>& objects)
{
    THeldPainting held(grid);
    SetAllChecks(grid, false, checkCol);
    // The rows by ID, found once instead of a search per object; the first row with an ID wins.
    QHash<QString, int> rowOf;
    for (int row = grid.RowCount() - 1; row >= grid.FixedRows(); --row)
        rowOf.insert(grid.ObjectID(1, row), row);
    for (const TEgoNetObject* object : objects) {
        const int row = rowOf.value(object->ID, -1);
        if (row < 0)
            continue;
        grid.SetChecked(checkCol, row, true);
        grid.scrollToItem(grid.item(grid.ItemRow(row), 1));
    }
}

void GetCheckedTexts(const TListGrid& grid, QStringList& list, int checkCol, int textCol)
{
    list.clear();
    if (textCol < 0 || textCol >= grid.columnCount())
        return;
    ForEachDataRow(grid, [&](int row) {
        if (grid.IsChecked(checkCol, row) && !grid.Cell(textCol, row).isEmpty())
            list << grid.Cell(textCol, row);
    });
}

QString JoinCheckedTexts(const TListGrid& grid, int checkCol, int textCol)
{
    QStringList texts;
    GetCheckedTexts(grid, texts, checkCol, textCol);
    return texts.join(QLatin1Char(','));
}

int FindRowByID(const TListGrid& grid, const QString& id, int objCol)
{
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row)
        if (grid.ObjectID(objCol, row) == id)
            return row;
    return -1;
}

int FindRowByText(const TListGrid& grid, const QString& text, int textCol)
{
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row)
        if (grid.Cell(textCol, row).compare(text, Qt::CaseInsensitive) == 0)
            return row;
    return -1;
}

bool DeleteCheckedRows(TListGrid& grid, int checkCol, int textCol)
{
    const int checked = CountChecked(grid, checkCol);
    if (checked == 0)
        return false;
    QString question = QStringLiteral("Delete %1 selected items from the list?").arg(checked);
    if (checked == 1) {
        int row = grid.RowCount() - 1;
        while (row > grid.FixedRows() && !grid.IsChecked(checkCol, row))
            --row;
        question = QStringLiteral("Delete \"%1\" from the list?").arg(grid.Cell(textCol, row));
    }
    const int answer = UserDialogs().Ask(question, TMessageKind::Confirmation,
                                         {QStringLiteral("Yes"), QStringLiteral("No, don't do that")});
    if (answer == 2 || answer == IUserDialogs::Closed)
        return false;
    for (int row = grid.RowCount() - 1; row >= grid.FixedRows(); --row)
        if (grid.IsChecked(checkCol, row))
            grid.RemoveRow(row);
    return true;
}

void AppendEditRow(TListGrid& grid, int checkCol, int textCol)
{
    const int row = grid.RowCount();
    grid.SetRowCount(row + 1);
    if (checkCol >= 0)
        grid.MakeCheckCell(checkCol, row, false);
    grid.SetCell(textCol, row, QString());
    grid.setSelectionBehavior(QAbstractItemView::SelectItems);
    grid.setCurrentCell(grid.ItemRow(row), textCol);
    grid.setFocus();
    gPendingEditRow = grid.RowCount();
    grid.editItem(grid.item(grid.ItemRow(row), textCol));
}

bool FinishEditRow(TListGrid& grid, int textCol)
{
    if (gPendingEditRow < 1)
        return false;
    gPendingEditRow = -1;
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    const int last = grid.RowCount() - 1;
    if (last < grid.FixedRows() || grid.Cell(textCol, last).isEmpty()) {
        grid.RemoveRow(last);
        return false;
    }
    return true;
}
