#pragma once

#include <QTableWidget>

#include <functional>

class TEgoNetModel;
class TEgoNetObject;

// The grid behind every list of the pages: an optional header row, check-box (or radio) cells,
// text cells that may carry a person or a link, in-place editing and sorting by a column.
//
// Rows are numbered as the pages count them: with a header, row 0 is the header (the column
// captions) and the data rows are 1 to RowCount() - 1; without one the data rows start at 0.
// A row holds its object's ID, never the object: Object() looks it up in the attached model,
// so a person deleted elsewhere is simply not found.
class TListGrid : public QTableWidget
{
    Q_OBJECT

public:
    explicit TListGrid(QWidget* parent = nullptr);

    bool HasHeader() const { return FHasHeader; }
    void SetHasHeader(bool value);
    int FixedRows() const { return FHasHeader ? 1 : 0; }
    // Rows including the header row.
    int RowCount() const { return rowCount() + FixedRows(); }
    // Keeps the first rows; new rows are empty.
    void SetRowCount(int rows);
    void RemoveRow(int row);

    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);

    // Check cells: a check box, or in radio mode a radio button; radio cells of one grid form
    // one group.
    void MakeCheckCell(int col, int row, bool radio);
    bool IsChecked(int col, int row) const;
    void SetChecked(int col, int row, bool checked);

    // The model the attached objects are looked up in.
    void AttachModel(const TEgoNetModel* model) { FModel = model; }
    void SetObject(int col, int row, const TEgoNetObject* object);
    QString ObjectID(int col, int row) const;
    // The attached person or link, or none when it is no longer in the model.
    TEgoNetObject* Object(int col, int row) const;
    // The objects of the given rows in their order, those no longer in the model left out: one
    // pass over the model however many rows.
    QList<TEgoNetObject*> Objects(int col, const QList<int>& rows) const;

    // Ascending by the cells' text; rows keep their checks and objects.
    void SortByColumn(int col);

    // Raised when the cell editor closes, whether the edit was kept or not.
    std::function<void()> OnEditDone;
    bool IsEditing() const { return state() == EditingState; }

    // The Qt row of a row as the pages count it.
    int ItemRow(int row) const { return row - FixedRows(); }

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    QTableWidgetItem* Item(int col, int row, bool create);
    void ClickedCheck(QTableWidgetItem* item);

    bool FHasHeader = true;
    const TEgoNetModel* FModel = nullptr;
};

// Holds back the grid's painting while it lives, for bulk changes.
class THeldPainting
{
public:
    explicit THeldPainting(QWidget& widget) : FWidget(widget), FWasEnabled(widget.updatesEnabled())
    {
        FWidget.setUpdatesEnabled(false);
    }
    ~THeldPainting() { FWidget.setUpdatesEnabled(FWasEnabled); }
    THeldPainting(const THeldPainting&) = delete;
    THeldPainting& operator=(const THeldPainting&) = delete;

private:
    QWidget& FWidget;
    bool FWasEnabled;
};
