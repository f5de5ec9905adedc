#include "app/grids/TListGrid.h"

#include "model/TEgoNetModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kRowHeight = 16;
constexpr int kIdRole = Qt::UserRole;
constexpr int kIsLinkRole = Qt::UserRole + 1;
constexpr int kRadioRole = Qt::UserRole + 2;

// Draws radio cells as radio buttons; everything else as usual.
class TRadioDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!index.data(kRadioRole).toBool()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionButton radio;
        radio.rect = option.rect;
        radio.state = QStyle::State_Enabled
                      | (index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_RadioButton, &radio, painter, widget);
    }

    // A click anywhere on a radio cell chooses it; it is never unchosen by a click.
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        if (!index.data(kRadioRole).toBool())
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint()))
            return false;
        return model->setData(index, Qt::Checked, Qt::CheckStateRole);
    }
};

} // namespace

TListGrid::TListGrid(QWidget* parent)
    : QTableWidget(parent)
{
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setItemDelegate(new TRadioDelegate(this));
    connect(this, &QTableWidget::itemClicked, this, &TListGrid::ClickedCheck);
}

// Every delegate's editor closes through here, also those of a page's own delegates.
void TListGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableWidget::closeEditor(editor, hint);
    if (OnEditDone)
        OnEditDone();
}

void TListGrid::SetHasHeader(bool value)
{
    FHasHeader = value;
    horizontalHeader()->setVisible(value);
}

void TListGrid::SetRowCount(int rows)
{
    setRowCount(std::max(rows - FixedRows(), 0));
}

void TListGrid::RemoveRow(int row)
{
    if (row >= FixedRows() && row < RowCount())
        removeRow(ItemRow(row));
}

QTableWidgetItem* TListGrid::Item(int col, int row, bool create)
{
    if (col < 0 || col >= columnCount() || row < FixedRows() || row >= RowCount())
        return nullptr;
    QTableWidgetItem* cell = item(ItemRow(row), col);
    if (!cell && create) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        setItem(ItemRow(row), col, cell);
    }
    return cell;
}

QString TListGrid::Cell(int col, int row) const
{
    if (FHasHeader && row == 0) {
        const QTableWidgetItem* header = horizontalHeaderItem(col);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem* cell = row >= FixedRows() ? item(ItemRow(row), col) : nullptr;
    return cell ? cell->text() : QString();
}

void TListGrid::SetCell(int col, int row, const QString& text)
{
    if (FHasHeader && row == 0) {
        if (col >= 0 && col < columnCount())
            setHorizontalHeaderItem(col, new QTableWidgetItem(text));
        return;
    }
    if (QTableWidgetItem* cell = Item(col, row, true))
        cell->setText(text);
}

void TListGrid::MakeCheckCell(int col, int row, bool radio)
{
    QTableWidgetItem* cell = Item(col, row, true);
    if (!cell)
        return;
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    cell->setCheckState(Qt::Unchecked);
    cell->setData(kRadioRole, radio);
    cell->setText(radio ? QStringLiteral(" ") : QString());
}

bool TListGrid::IsChecked(int col, int row) const
{
    const QTableWidgetItem* cell = row >= FixedRows() ? item(ItemRow(row), col) : nullptr;
    return cell && cell->checkState() == Qt::Checked;
}

void TListGrid::SetChecked(int col, int row, bool checked)
{
    QTableWidgetItem* cell = Item(col, row, false);
    if (cell && (cell->flags() & Qt::ItemIsUserCheckable))
        cell->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TListGrid::ClickedCheck(QTableWidgetItem* cell)
{
    // Choosing one radio button of the grid deselects the others.
    if (!cell || !cell->data(kRadioRole).toBool() || cell->checkState() != Qt::Checked)
        return;
    for (int r = 0; r < rowCount(); ++r)
        if (QTableWidgetItem* other = item(r, cell->column()); other && other != cell)
            other->setCheckState(Qt::Unchecked);
}

void TListGrid::SetObject(int col, int row, const TEgoNetObject* object)
{
    if (QTableWidgetItem* cell = Item(col, row, true)) {
        cell->setData(kIdRole, object ? object->ID : QString());
        cell->setData(kIsLinkRole, dynamic_cast<const TEgoNetEdge*>(object) != nullptr);
    }
}

QString TListGrid::ObjectID(int col, int row) const
{
    const QTableWidgetItem* cell = row >= FixedRows() ? item(ItemRow(row), col) : nullptr;
    return cell ? cell->data(kIdRole).toString() : QString();
}

TEgoNetObject* TListGrid::Object(int col, int row) const
{
    const QString id = ObjectID(col, row);
    if (id.isEmpty() || !FModel)
        return nullptr;
    if (item(ItemRow(row), col)->data(kIsLinkRole).toBool())
        return FModel->FindLinkByID(id);
    return FModel->FindNodeByID(id);
}

QList<TEgoNetObject*> TListGrid::Objects(int col, const QList<int>& rows) const
{
    QList<TEgoNetObject*> objects;
    if (!FModel)
        return objects;
    // IDs compare without regard to case; the first object with an ID wins, as in the lookups.
    const auto index = [](const auto& objects) {
        QHash<QString, TEgoNetObject*> byID;
        for (TEgoNetObject* object : objects)
            if (const QString key = object->ID.toCaseFolded(); !byID.contains(key))
                byID.insert(key, object);
        return byID;
    };
    const QHash<QString, TEgoNetObject*> nodes = index(FModel->Nodes());
    const QHash<QString, TEgoNetObject*> links = index(FModel->Links());
    for (int row : rows) {
        const QTableWidgetItem* cell = row >= FixedRows() ? item(ItemRow(row), col) : nullptr;
        const QString id = cell ? cell->data(kIdRole).toString() : QString();
        if (id.isEmpty())
            continue;
        const auto& kind = cell->data(kIsLinkRole).toBool() ? links : nodes;
        if (TEgoNetObject* object = kind.value(id.toCaseFolded()))
            objects.append(object);
    }
    return objects;
}

void TListGrid::SortByColumn(int col)
{
    if (col >= 0 && col < columnCount())
        sortItems(col, Qt::AscendingOrder);
}
