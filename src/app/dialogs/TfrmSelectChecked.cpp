#include "app/dialogs/TfrmSelectChecked.h"

#include "app/AppResources.h"
#include "app/dialogs/DialogRunner.h"
#include "app/dialogs/ModalResult.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "ui_TfrmSelectChecked.h"

#include <QGuiApplication>
#include <QScreen>

TfrmSelectChecked::TfrmSelectChecked(QWidget* parent)
    : QDialog(parent, Qt::Tool)
    , ui(std::make_unique<Ui::TfrmSelectChecked>())
{
    InitAppResources();
    ui->setupUi(this);
    Grid().SetCell(1, 0, QStringLiteral("Name"));
    Grid().setColumnWidth(0, 16);
    connect(ui->tbAll, &QToolButton::clicked, this, [this] { SetAllChecks(Grid(), true, 0); });
    connect(ui->tbNone, &QToolButton::clicked, this, [this] { SetAllChecks(Grid(), false, 0); });
    connect(ui->tbNew, &QToolButton::clicked, this, &TfrmSelectChecked::tbNewClick);
    connect(ui->tbDelete, &QToolButton::clicked, this, &TfrmSelectChecked::tbDeleteClick);
    connect(ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(&Grid(), &QTableWidget::cellClicked, this, &TfrmSelectChecked::asgListClickCell);
    connect(&Grid(), &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!FFilling && item->column() == 1)
            FListChanged = true;
    });
    Grid().OnEditDone = [this] {
        if (FinishEditRow(Grid(), 1))
            FListChanged = true;
    };
}

TfrmSelectChecked::~TfrmSelectChecked()
{
    if (FListChanged && !FIniFile.isEmpty() && !FSection.isEmpty())
        SaveToIniSection(Grid(), FIniFile, FSection, 1, true);
}

TListGrid& TfrmSelectChecked::Grid() const
{
    return *ui->asgList;
}

void TfrmSelectChecked::SetPrompt(const QString& prompt)
{
    ui->lblPrompt->setText(prompt);
}

void TfrmSelectChecked::LoadList(const QString& iniFile, const QString& section)
{
    FFilling = true;
    FillFromIniSection(Grid(), iniFile, section, true);
    Grid().SortByColumn(1);
    FFilling = false;
    FIniFile = iniFile;
    FSection = section;
    FListChanged = false;
}

void TfrmSelectChecked::tbNewClick()
{
    FFilling = true;
    AppendEditRow(Grid(), 0, 1);
    FFilling = false;
}

void TfrmSelectChecked::tbDeleteClick()
{
    if (DeleteCheckedRows(Grid(), 0, 1))
        FListChanged = true;
}

void TfrmSelectChecked::asgListClickCell(int row, int column)
{
    // A click on a name checks or unchecks it.
    if (column == 1)
        ToggleCheck(Grid(), row + Grid().FixedRows(), 0);
}

int PickFromList(const QString& caption, const QString& prompt, QString& text, const QString& section,
                 const QString& iniFile)
{
    text.clear();
    TfrmSelectChecked dialog;
    dialog.setWindowTitle(caption);
    dialog.SetPrompt(prompt);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->geometry().center() - dialog.rect().center());
    dialog.LoadList(iniFile, section);
    const int result = ModalResult(DialogRunner().Exec(dialog));
    if (result == kModalOK)
        text = JoinCheckedTexts(dialog.Grid(), 0, 1);
    return result;
}
