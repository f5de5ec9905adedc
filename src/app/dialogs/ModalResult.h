#pragma once

#include <QDialog>

// The program's modal results.
constexpr int kModalOK = 1;
constexpr int kModalCancel = 2;

inline int ModalResult(int dialogResult)
{
    return dialogResult == QDialog::Accepted ? kModalOK : kModalCancel;
}
