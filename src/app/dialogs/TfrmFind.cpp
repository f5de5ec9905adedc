#include "app/dialogs/TfrmFind.h"

#include "app/dialogs/DialogRunner.h"

#include "ui_TfrmFind.h"

#include <QGuiApplication>
#include <QScreen>

TfrmFind::TfrmFind(QWidget* parent)
    : QDialog(parent)
    , FUi(std::make_unique<Ui::TfrmFind>())
{
    FUi->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrmFind::~TfrmFind() = default;

bool TfrmFind::Execute(QString& text, bool& caseSensitive, bool& wholeWord)
{
    FUi->edFind->setText(text);
    if (DialogRunner().Exec(*this) != QDialog::Accepted)
        return false;
    text = FUi->edFind->text();
    caseSensitive = FUi->cbCaseSensitive->isChecked();
    wholeWord = FUi->cbWholeWord->isChecked();
    return true;
}

void TfrmFind::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Typing replaces the last search at once.
    FUi->edFind->selectAll();
    FUi->edFind->setFocus();
}
