#pragma once

class QDialog;

// Every modal window of the program is shown through this: the program runs it with exec(),
// tests install a runner that works the dialog's controls and closes it instead, so that no
// test ever waits for a click.
class IDialogRunner
{
public:
    virtual ~IDialogRunner() = default;
    // Shows the dialog modally; its result (QDialog::Accepted is 1, Rejected 0).
    virtual int Exec(QDialog& dialog) = 0;
};

// The runner in force: exec() until another is installed.
IDialogRunner& DialogRunner();
// Installs a runner (not owned); nullptr returns to exec(). Returns the previous one.
IDialogRunner* SetDialogRunner(IDialogRunner* runner);
