#include "common/ScriptedDialogRunner.h"

#include <QEventLoop>
#include <gtest/gtest.h>

int TScriptedDialogRunner::Exec(QDialog& dialog)
{
    ++FShown;
    if (FSteps.isEmpty()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.windowTitle().toStdString();
        return QDialog::Rejected;
    }
    const TStep step = FSteps.takeFirst();
    // Shown without a modal loop; the step's clicks and keys reach it at once.
    dialog.setResult(-1);
    dialog.show();
    step(dialog);
    const int result = dialog.result();
    dialog.hide();
    // A step that closed nothing counts as a cancel.
    return result < 0 ? int(QDialog::Rejected) : result;
}
