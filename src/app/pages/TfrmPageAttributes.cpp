#include "app/pages/TfrmPageAttributes.h"

#include "app/WindowHelpers.h"
#include "app/dialogs/ModalResult.h"
#include "app/dialogs/TfrmSelectAttrValue.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "app/pages/GroupEditing.h"
#include "app/pages/PageForm.h"
#include "ui_TfrmPageAttributes.h"
#include "view/TCursorMan.h"
#include "view/TEgoNetGraphEx.h"
#include "view/ViewEvents.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QSet>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace {

constexpr int kNameCol = 0;
constexpr int kValueCol = 1;
// A filled row's 1-based position in its table's FormerNames, kept on the name cell so that it
// travels with the row when the table is sorted.
constexpr int kFormerRole = Qt::UserRole + 16;
constexpr int kRowHeight = 19;

bool IsEnter(const QEvent* event)
{
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The cell editor of the attribute tables: a text box, in the value column with a "..." button
// that offers the values the attribute already has.
class TAttributeCellDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // "..." pressed in the editor of a value cell.
    std::function<void(const QPersistentModelIndex& cell, const QPointer<QLineEdit>& editor)> OnPick;
    // Enter in an editor; true swallows the key and the editor stays open.
    std::function<bool()> OnEnter;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto* edit = qobject_cast<QLineEdit*>(editor);
        if (!edit || index.column() != kValueCol)
            return editor;
        auto* button = new QToolButton(edit);
        button->setObjectName(QStringLiteral("btnPickValue"));
        button->setText(QStringLiteral("..."));
        button->setAccessibleName(QStringLiteral("..."));
        button->setToolTip(QStringLiteral("Choose one of the values in use"));
        // The text box keeps the focus, so that pressing the button does not end the edit.
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::ArrowCursor);
        button->setFixedWidth(kRowHeight);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
        auto* layout = new QHBoxLayout(edit);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addStretch();
        layout->addWidget(button);
        edit->setTextMargins(0, 0, kRowHeight, 0);
        QObject::connect(button, &QToolButton::clicked, edit,
                         [this, cell = QPersistentModelIndex(index), editor = QPointer<QLineEdit>(edit)] {
                             if (OnPick)
                                 OnPick(cell, editor);
                         });
        return edit;
    }

protected:
    bool eventFilter(QObject* editor, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && IsEnter(event) && OnEnter && OnEnter())
            return true;
        return QStyledItemDelegate::eventFilter(editor, event);
    }
};

} // namespace

TfrmPageAttributes::TfrmPageAttributes(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TfrmPageAttributes>())
{
    SetUpPage(*this, *ui);
    FPersonTable.Grid = ui->asgPAttributes;
    FLinkTable.Grid = ui->asgLAttributes;
    InitTable(FPersonTable);
    InitTable(FLinkTable);
    FPickerAnchor = QPoint(width() / 2, height() / 2);

    connect(ui->tbPNew, &QToolButton::clicked, this, [this] { NewClick(FPersonTable); });
    connect(ui->tbPEdit, &QToolButton::clicked, this, [this] { EditClick(FPersonTable); });
    connect(ui->tbPDelete, &QToolButton::clicked, this, [this] { DeleteClick(FPersonTable); });
    connect(ui->tbLNew, &QToolButton::clicked, this, [this] { NewClick(FLinkTable); });
    connect(ui->tbLEdit, &QToolButton::clicked, this, [this] { EditClick(FLinkTable); });
    connect(ui->tbLDelete, &QToolButton::clicked, this, [this] { DeleteClick(FLinkTable); });
    connect(ui->btnBackToPersons, &QPushButton::clicked, this, [this] { Raise(OnBackToPersons, this); });
    connect(ui->btnBackToConnections, &QPushButton::clicked, this, [this] { Raise(OnBackToConnections, this); });
}

TfrmPageAttributes::~TfrmPageAttributes() = default;

void TfrmPageAttributes::InitTable(TTable& table)
{
    TListGrid& grid = *table.Grid;
    PrepareGrid(grid, true);
    grid.SetCell(kNameCol, 0, QStringLiteral("Name"));
    grid.SetCell(kValueCol, 0, QStringLiteral("Value"));
    grid.setColumnWidth(kNameCol, 111);
    grid.setColumnWidth(kValueCol, 150);
    grid.verticalHeader()->setMinimumSectionSize(kRowHeight);
    grid.verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid.setSelectionBehavior(QAbstractItemView::SelectItems);
    grid.setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                         | QAbstractItemView::AnyKeyPressed);
    // A click starts editing at once.
    connect(&grid, &QAbstractItemView::clicked, &grid, qOverload<const QModelIndex&>(&QAbstractItemView::edit));

    auto* delegate = new TAttributeCellDelegate(&grid);
    grid.setItemDelegate(delegate);
    // Both run from the event loop, away from the editor's own handlers: the picker and the
    // commit's question are modal, and the editor may be released meanwhile.
    delegate->OnPick = [this, &table](const QPersistentModelIndex& cell, const QPointer<QLineEdit>& editor) {
        QMetaObject::invokeMethod(
            this, [this, &table, cell, editor] { PickValue(table, cell, editor); }, Qt::QueuedConnection);
    };
    grid.OnEditDone = [this] { QMetaObject::invokeMethod(this, &TfrmPageAttributes::EditDone, Qt::QueuedConnection); };
    if (!table.ForPersons)
        delegate->OnEnter = [this] { return !LinksToAssign(); };

    grid.installEventFilter(this);
    grid.viewport()->installEventFilter(this);
}

TListGrid& TfrmPageAttributes::PersonGrid() const
{
    return *ui->asgPAttributes;
}

TListGrid& TfrmPageAttributes::LinkGrid() const
{
    return *ui->asgLAttributes;
}

TEgoNetModel* TfrmPageAttributes::Model() const
{
    return FHost ? &FHost->Graph().Model() : nullptr;
}

QList<TEgoNetEdge*> TfrmPageAttributes::EditedLinks() const
{
    QList<TEgoNetEdge*> links;
    const TEgoNetModel* model = Model();
    if (!model || FEditedLinkIDs.isEmpty())
        return links;
    // One walk over the links, however many are selected.
    const QSet<QString> ids(FEditedLinkIDs.cbegin(), FEditedLinkIDs.cend());
    for (TEgoNetEdge* link : model->Links())
        if (ids.contains(link->ID))
            links.append(link);
    return links;
}

// Building the tables

void TfrmPageAttributes::AttachGraph(TEgoNetGraphEx* host)
{
    FTablesModified = false;
    if (host)
        FHost = host;
    if (!FHost)
        return;
    ShowPersons();
    ShowSelectedLinks();
    FTablesModified = false;
}

void TfrmPageAttributes::ShowPersons()
{
    ui->lbFullName->clear();
    const QList<TOrganizedNode*> persons = EditedPersons ? EditedPersons() : QList<TOrganizedNode*>();
    if (!persons.isEmpty()) {
        const bool group = persons.size() > 1;
        SetFullNameStyle(*ui->lbFullName, group);
        ui->lbFullName->setText(group ? QStringLiteral("group mode (%1)...").arg(persons.size())
                                      : persons.first()->Caption());
        Model()->NormalizeNodeAttrs();
    }
    Fill(FPersonTable, QList<TEgoNetObject*>(persons.cbegin(), persons.cend()));
}

void TfrmPageAttributes::ShowSelectedLinks()
{
    TEgoNetModel* model = Model();
    if (!model)
        return;
    CommitLinks();
    FEditedLinkIDs.clear();
    QList<TEgoNetObject*> links;
    for (TEgoNetEdge* link : model->Links()) {
        if (link->Selected()) {
            links.append(link);
            FEditedLinkIDs.append(link->ID);
        }
    }
    if (!links.isEmpty())
        model->NormalizeLinkAttrs();
    Fill(FLinkTable, links);

    // No selected link tells its strength: the last one's own stands in for it.
    TListGrid& grid = LinkGrid();
    const int row = FindRowByText(grid, QStringLiteral("strength"), kNameCol);
    if (row < 0)
        return;
    const QString name = grid.Cell(kNameCol, row);
    bool differed = false;
    if (!CommonValue(links, name, &differed).isEmpty() || differed)
        return;
    const QString strength = StrengthText(static_cast<TEgoNetEdge*>(links.last())->Strength);
    links.last()->Attributes.SetValue(name, strength);
    grid.SetCell(kValueCol, row, strength);
}

void TfrmPageAttributes::Fill(TTable& table, const QList<TEgoNetObject*>& objects)
{
    TListGrid& grid = *table.Grid;
    THeldPainting held(grid);
    PrepareGrid(grid, true);
    table.FormerNames.clear();
    if (!objects.isEmpty()) {
        for (const QString& entry : std::as_const(objects.first()->Attributes)) {
            const QString name = EntryName(entry);
            if (name.isEmpty() || (table.ForPersons && IsPersonalKey(name)))
                continue;
            const int row = grid.RowCount();
            grid.SetRowCount(row + 1);
            grid.SetCell(kNameCol, row, name);
            grid.SetCell(kValueCol, row, CommonValue(objects, name));
            table.FormerNames.append(name);
            grid.item(grid.ItemRow(row), kNameCol)->setData(kFormerRole, table.FormerNames.size());
        }
        grid.SortByColumn(kNameCol);
    }
    ClearSelection(grid);
}

// Writing the tables

void TfrmPageAttributes::CommitEdits()
{
    if (!FTablesModified)
        return;
    CommitPersons();
    CommitLinks();
    FTablesModified = false;
}

void TfrmPageAttributes::CommitPersons()
{
    if (!FTablesModified || !FHost || !EditedPersons)
        return;
    const QList<TOrganizedNode*> persons = EditedPersons();
    if (!persons.isEmpty())
        Commit(FPersonTable, QList<TEgoNetObject*>(persons.cbegin(), persons.cend()));
}

void TfrmPageAttributes::CommitLinks()
{
    if (!FTablesModified)
        return;
    const QList<TEgoNetEdge*> links = EditedLinks();
    if (!links.isEmpty())
        Commit(FLinkTable, QList<TEgoNetObject*>(links.cbegin(), links.cend()));
}

bool TfrmPageAttributes::FormerName(const TTable& table, int row, QString& former) const
{
    const QTableWidgetItem* cell = table.Grid->item(table.Grid->ItemRow(row), kNameCol);
    const int position = cell ? cell->data(kFormerRole).toInt() : 0;
    if (position < 1 || position > table.FormerNames.size())
        return false;
    former = table.FormerNames.at(position - 1);
    return true;
}

QList<TfrmPageAttributes::TRow> TfrmPageAttributes::Rows(const TTable& table) const
{
    QList<TRow> rows;
    const TListGrid& grid = *table.Grid;
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row) {
        TRow r{grid.model()->index(grid.ItemRow(row), kNameCol), grid.Cell(kNameCol, row).trimmed(),
               grid.Cell(kValueCol, row), false, QString()};
        r.HasFormer = FormerName(table, row, r.Former);
        rows.append(r);
    }
    return rows;
}

// The first object's names, as the table lists them, become the names of every person (or every
// link); the values go to the objects shown.
//
// The question and the hourglass let queued events run, among them the end of an edit, which
// commits again. That commit waits for this one to end: it would write what this one is about to
// overwrite. This one writes the table as it was when it started.
void TfrmPageAttributes::Commit(TTable& table, const QList<TEgoNetObject*>& objects)
{
    if (FCommitting) {
        FCommitAgain = true;
        return;
    }
    {
        const QScopedValueRollback committing(FCommitting, true);
        Write(table, objects);
    }
    if (std::exchange(FCommitAgain, false)) {
        FTablesModified = true;
        QMetaObject::invokeMethod(this, &TfrmPageAttributes::CommitEdits, Qt::QueuedConnection);
    }
}

void TfrmPageAttributes::Write(TTable& table, const QList<TEgoNetObject*>& objects)
{
    const QList<TRow> rows = Rows(table);
    QStringList names;
    QStringList renames;
    for (const TRow& row : rows) {
        if (!row.Name.isEmpty())
            names.append(row.Name);
        if (row.HasFormer && row.Former != row.Name)
            renames.append(row.Former + QLatin1Char('=') + row.Name);
    }
    QStringList deleted;
    QStringList added;
    objects.first()->Attributes.DiffNames(names, deleted, &renames, added);
    if (table.ForPersons)
        deleted.removeIf(IsPersonalKey);

    int answer = 0;
    if (!deleted.isEmpty()) {
        const QString question = QStringLiteral("Delete the %1 \"%2\" from all other %3 as well?")
                                     .arg(deleted.size() == 1 ? QStringLiteral("attribute") : QStringLiteral("attributes"),
                                          JoinStrings(deleted, QStringLiteral(", "), false),
                                          table.ForPersons ? QStringLiteral("persons attributes")
                                                           : QStringLiteral("link attributes"));
        answer = AskWithCaptions(question, TMessageKind::Information,
                                 {QStringLiteral("No"),
                                  table.ForPersons ? QStringLiteral("Delete from all nodes")
                                                   : QStringLiteral("Delete from all links"),
                                  QStringLiteral("Cancel")});
        // Nothing is written; the table's changes go when it is next rebuilt.
        if (answer == 3 || answer == IUserDialogs::Closed)
            return;
    }

    const auto busy = BusyCursor();
    const bool group = objects.size() > 1;
    for (TEgoNetObject* object : objects) {
        TAttributes& attributes = object->Attributes;
        const TAttributes old = attributes;
        attributes.removeIf(
            [&table](const QString& entry) { return !table.ForPersons || !IsPersonalKey(EntryName(entry)); });
        for (const TRow& row : rows) {
            if (row.Name.isEmpty())
                continue;
            QString value = row.Value;
            // A blank value in group mode is one the objects do not share: each keeps its own.
            if (group && value.isEmpty() && row.HasFormer)
                old.GetValue(row.Former, value);
            attributes.AddAttribute(row.Name, value);
        }
        // "No": the deleted names stay, without a value for the objects shown.
        if (answer == 1)
            attributes.AddNames(deleted);
    }
    TEgoNetModel* model = Model();
    if (table.ForPersons)
        model->SyncNodeAttrNames(objects.first(), &renames);
    else
        model->SyncLinkAttrNames(objects.first(), &renames);
    RememberNames(table, rows);
    FHost->Graph().Edited(table.ForPersons ? QStringLiteral("Edit Person Attributes") : QStringLiteral("Edit Link Attributes"));
    FHost->Graph().update();
}

// The names just written become the rows' former names, so that a later commit does not rename
// again what was renamed already (and sees a name changed meanwhile as a rename).
void TfrmPageAttributes::RememberNames(TTable& table, const QList<TRow>& rows)
{
    TListGrid& grid = *table.Grid;
    table.FormerNames.clear();
    for (int row = 0; row < grid.rowCount(); ++row)
        if (QTableWidgetItem* cell = grid.item(row, kNameCol))
            cell->setData(kFormerRole, QVariant());
    for (const TRow& row : rows) {
        if (row.Name.isEmpty() || !row.Cell.isValid())
            continue;
        table.FormerNames.append(row.Name);
        grid.item(row.Cell.row(), kNameCol)->setData(kFormerRole, table.FormerNames.size());
    }
}

void TfrmPageAttributes::EditDone()
{
    FTablesModified = true;
    CommitEdits();
}

// Table commands

void TfrmPageAttributes::NewClick(TTable& table)
{
    TListGrid& grid = *table.Grid;
    const int row = grid.RowCount();
    grid.SetRowCount(row + 1);
    grid.SetCell(kNameCol, row, QString());
    grid.SetCell(kValueCol, row, QString());
    QTableWidgetItem* cell = grid.item(grid.ItemRow(row), kNameCol);
    grid.setCurrentItem(cell);
    grid.setFocus();
    grid.editItem(cell);
    SetPickerAnchor(*grid.viewport(),
                    QPoint(grid.columnWidth(kNameCol) - 20, grid.visualItemRect(cell).top() + 1));
}

void TfrmPageAttributes::EditClick(TTable& table)
{
    const QModelIndex current = table.Grid->currentIndex();
    if (current.isValid())
        table.Grid->edit(current);
}

void TfrmPageAttributes::DeleteClick(TTable& table)
{
    TListGrid& grid = *table.Grid;
    const QPersistentModelIndex current = grid.currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row() + grid.FixedRows();
    const QString name = grid.Cell(kNameCol, row);
    if (!name.isEmpty() || !grid.Cell(kValueCol, row).isEmpty()) {
        const int answer = AskWithCaptions(QStringLiteral("Delete attribute \"%1\" from the list?").arg(name),
                                           TMessageKind::Confirmation,
                                           {QStringLiteral("Yes, go ahead"), QStringLiteral("Cancel")});
        if (answer == 2 || answer == IUserDialogs::Closed || !current.isValid())
            return;
    }
    grid.removeRow(current.row());
    FTablesModified = true;
    if (!table.ForPersons)
        CommitLinks();
}

void TfrmPageAttributes::PickValue(TTable& table, const QPersistentModelIndex& cell, const QPointer<QLineEdit>& editor)
{
    TListGrid& grid = *table.Grid;
    if (!cell.isValid())
        return;
    // While the cell is being edited, the editor holds its text.
    QString value = editor ? editor->text() : grid.Cell(kValueCol, cell.row() + grid.FixedRows());
    const QString name = grid.Cell(kNameCol, cell.row() + grid.FixedRows());
    const QPoint at = PersonGrid().mapToGlobal(FPickerAnchor);
    if (PickAttributeValue(Model(), table.ForPersons, at.y(), at.x(), value, name) != kModalOK || !cell.isValid())
        return;
    grid.SetCell(kValueCol, cell.row() + grid.FixedRows(), value);
    if (editor)
        editor->setText(value);
    FTablesModified = true;
}

void TfrmPageAttributes::SetPickerAnchor(const QWidget& from, QPoint at)
{
    FPickerAnchor = PersonGrid().mapFrom(this, from.mapTo(this, at));
}

bool TfrmPageAttributes::LinksToAssign()
{
    if (Model() && Model()->SelectedLinkCount() > 0)
        return true;
    UserDialogs().Show(QStringLiteral("Select links on the graph to assign the attributes."), TMessageKind::Information);
    return false;
}

bool TfrmPageAttributes::eventFilter(QObject* watched, QEvent* event)
{
    TTable* table = watched == &PersonGrid() || watched == PersonGrid().viewport() ? &FPersonTable
                    : watched == &LinkGrid() || watched == LinkGrid().viewport() ? &FLinkTable
                                                                                  : nullptr;
    if (!table)
        return false;
    TListGrid& grid = *table->Grid;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == grid.viewport()) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (const int col = grid.columnAt(at.x()); col >= 0)
                SetPickerAnchor(*grid.viewport(),
                                QPoint(grid.columnViewportPosition(col) + grid.columnWidth(col) - 20, at.y()));
        }
        return false;
    case QEvent::KeyPress:
        if (watched != &grid)
            return false;
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete)
            return true;
        // Enter in an editor reaches the table too, after the editor has seen it.
        if (!table->ForPersons && IsEnter(event) && !grid.IsEditing()) {
            if (LinksToAssign()) {
                FTablesModified = true;
                CommitEdits();
            }
            return true;
        }
        return false;
    case QEvent::KeyRelease:
        if (watched != &grid || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Delete)
            return false;
        DeleteClick(*table);
        return true;
    default:
        return false;
    }
}
