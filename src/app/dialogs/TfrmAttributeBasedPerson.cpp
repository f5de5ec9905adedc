#include "app/dialogs/TfrmAttributeBasedPerson.h"

#include "app/AppResources.h"
#include "app/dialogs/DialogRunner.h"
#include "app/dialogs/ModalResult.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "foundation/UserDialogs.h"
#include "ui_TfrmAttributeBasedPerson.h"
#include "view/TEgoNetGraphEx.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

// The attribute chosen last, for the whole run of the program.
QString gLastAttribute;

} // namespace

TfrmAttributeBasedPerson::TfrmAttributeBasedPerson(const TEgoNetModel& model, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::TfrmAttributeBasedPerson>())
    , FModel(model)
{
    InitAppResources();
    ui->setupUi(this);
    Grid().SetCell(1, 0, QStringLiteral("Value"));
    Grid().setColumnWidth(0, 16);
    connect(ui->tbAll, &QToolButton::clicked, this, [this] { SetAllChecks(Grid(), true, 0); });
    connect(ui->tbNone, &QToolButton::clicked, this, [this] { SetAllChecks(Grid(), false, 0); });
    connect(ui->btnOK, &QPushButton::clicked, this, &TfrmAttributeBasedPerson::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    QStringList names;
    FModel.NodeAttrNames(names);
    ui->cbAttribute->addItems(names);
    ui->cbAttribute->setCurrentIndex(names.indexOf(gLastAttribute));
    if (ui->cbAttribute->currentIndex() >= 0)
        cbAttributeChange(gLastAttribute);
    connect(ui->cbAttribute, &QComboBox::currentTextChanged, this, &TfrmAttributeBasedPerson::cbAttributeChange);
}

TfrmAttributeBasedPerson::~TfrmAttributeBasedPerson() = default;

TListGrid& TfrmAttributeBasedPerson::Grid() const
{
    return *ui->asgAttrVal;
}

void TfrmAttributeBasedPerson::cbAttributeChange(const QString& name)
{
    QStringList values;
    FModel.NodeAttrValues(name, values, false);
    FillWithTexts(Grid(), values, true, false);
    SetAllChecks(Grid(), true, 0);
    gLastAttribute = name;
}

void TfrmAttributeBasedPerson::accept()
{
    if (CountChecked(Grid(), 0) == 0) {
        UserDialogs().Show(QStringLiteral("Select (check) at least one value from then list."),
                           TMessageKind::Information);
        return;
    }
    QDialog::accept();
}

QList<TOrganizedNode*> TfrmAttributeBasedPerson::MatchingPersons() const
{
    QStringList wanted;
    GetCheckedTexts(Grid(), wanted, 0, 1);
    for (QString& value : wanted)
        value = value.toLower();
    const QString name = ui->cbAttribute->currentText();
    QList<TOrganizedNode*> persons;
    for (TOrganizedNode* person : FModel.Nodes()) {
        QString value;
        // A missing value reads "na"; persons without the attribute never match.
        if (person->Attributes.GetValue(name, value) && (wanted.contains(value) || wanted.contains(value.toLower())))
            persons.append(person);
    }
    return persons;
}

int PickPersonsByAttribute(TEgoNetGraphEx* host, QList<TOrganizedNode*>* persons, int y, int x)
{
    if (!persons)
        return kModalCancel;
    persons->clear();
    if (!host)
        return kModalCancel;
    TfrmAttributeBasedPerson dialog(host->Graph().Model());
    if (x >= 0 && y >= 0) {
        // The window's bottom-left corner at the point, inside the work area.
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        QPoint at(x, std::max(y - dialog.height(), 0));
        if (at.x() + dialog.width() > work.width())
            at.setX(work.width() - dialog.width());
        dialog.move(at);
    }
    const int result = ModalResult(DialogRunner().Exec(dialog));
    if (result == kModalOK)
        *persons = dialog.MatchingPersons();
    return result;
}
