#pragma once

#include "foundation/UserDialogs.h"

class QWidget;

// The desktop program's questions and message boxes, as standard message boxes whose buttons
// carry the caller's captions.
class TQtUserDialogs final : public IUserDialogs
{
public:
    explicit TQtUserDialogs(QWidget* parent = nullptr);

    int Ask(const QString& message, TMessageKind kind, const QStringList& captions) override;
    void Show(const QString& message, TMessageKind kind) override;

private:
    QWidget* FParent;
};
