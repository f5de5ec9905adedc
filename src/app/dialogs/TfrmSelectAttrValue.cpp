#include "app/dialogs/TfrmSelectAttrValue.h"

#include "app/dialogs/DialogRunner.h"
#include "app/dialogs/ModalResult.h"
#include "foundation/TAttributes.h"
#include "model/TEgoNetModel.h"
#include "ui_TfrmSelectAttrValue.h"
#include "view/TCursorMan.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

TfrmSelectAttrValue::TfrmSelectAttrValue(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , ui(std::make_unique<Ui::TfrmSelectAttrValue>())
{
    ui->setupUi(this);
    List().installEventFilter(this);
    List().viewport()->installEventFilter(this);
    connect(&List(), &QListWidget::itemClicked, this, &QDialog::accept);
    connect(&List(), &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

TfrmSelectAttrValue::~TfrmSelectAttrValue() = default;

QListWidget& TfrmSelectAttrValue::List() const
{
    return *ui->lbValues;
}

bool TfrmSelectAttrValue::eventFilter(QObject* watched, QEvent* event)
{
    QListWidget& list = List();
    if (watched == list.viewport() && event->type() == QEvent::MouseMove) {
        if (QListWidgetItem* item = list.itemAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
            list.setCurrentItem(item);
        return false;
    }
    if (watched != &list || event->type() != QEvent::KeyPress)
        return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // Choosing with an arrow key takes the entry it moves to.
        const int step = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Up ? -1 : 1;
        list.setCurrentRow(std::clamp(list.currentRow() + step, 0, list.count() - 1));
        accept();
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (list.currentItem())
            accept();
        return true;
    default:
        return false;
    }
}

int PickAttributeValue(const TEgoNetModel* model, bool forPersons, int y, int x, QString& value,
                       const QString& attributeName)
{
    const QString name = attributeName.trimmed();
    if (!model || name.isEmpty())
        return kModalCancel;
    TfrmSelectAttrValue dialog;
    if (x >= 0 && y >= 0) {
        // The list opens to the left of the point, inside the work area.
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        QPoint at(std::max(x - dialog.width() - 1, 0), y);
        if (at.y() + dialog.height() > work.height())
            at.setY(work.height() - dialog.height());
        dialog.move(at);
    }
    QStringList values;
    {
        const auto busy = BusyCursor();
        if (forPersons)
            model->NodeAttrValues(name, values, false);
        else
            model->LinkAttrValues(name, values, false);
        SortAndCleanValues(values);
        if (values.isEmpty())
            values << QStringLiteral("na");
    }
    QListWidget& list = dialog.List();
    list.addItems(values);
    for (int i = 0; i < values.size(); ++i)
        if (values[i].compare(value, Qt::CaseInsensitive) == 0)
            list.setCurrentRow(i);
    const int result = ModalResult(DialogRunner().Exec(dialog));
    if (result == kModalOK && list.currentItem())
        value = list.currentItem()->text();
    return result;
}
