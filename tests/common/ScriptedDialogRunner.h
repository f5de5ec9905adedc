#pragma once

#include "app/dialogs/DialogRunner.h"

#include <QDialog>
#include <QList>

#include <functional>

// Runs each dialog through the next scripted step instead of exec(): the step works the dialog's
// controls (as a user would) and returns the result, or leaves it open and lets the dialog's own
// accept/reject decide. A dialog with no step left fails the test and is rejected.
class TScriptedDialogRunner final : public IDialogRunner
{
public:
    using TStep = std::function<void(QDialog& dialog)>;

    TScriptedDialogRunner() : FPrevious(SetDialogRunner(this)) {}
    ~TScriptedDialogRunner() override { SetDialogRunner(FPrevious); }

    void Then(TStep step) { FSteps.append(std::move(step)); }
    int Shown() const { return FShown; }

    int Exec(QDialog& dialog) override;

private:
    QList<TStep> FSteps;
    int FShown = 0;
    IDialogRunner* FPrevious;
};
