#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmFind;
}

// Asks for the text of the person search. Created once and reused, so the two options stay as
// the user left them.
class TfrmFind : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmFind(QWidget* parent = nullptr);
    ~TfrmFind() override;

    // Shows the dialog with the text; on OK gives the edited text and the options and true,
    // on Cancel false, the arguments untouched.
    bool Execute(QString& text, bool& caseSensitive, bool& wholeWord);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmFind> FUi;
};
