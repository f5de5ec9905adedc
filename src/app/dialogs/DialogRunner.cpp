#include "app/dialogs/DialogRunner.h"

#include <QDialog>

namespace {

class TExecRunner final : public IDialogRunner
{
public:
    int Exec(QDialog& dialog) override { return dialog.exec(); }
};

TExecRunner gExecRunner;
IDialogRunner* gRunner = nullptr;

} // namespace

IDialogRunner& DialogRunner()
{
    return gRunner ? *gRunner : gExecRunner;
}

IDialogRunner* SetDialogRunner(IDialogRunner* runner)
{
    IDialogRunner* previous = gRunner;
    gRunner = runner;
    return previous;
}
