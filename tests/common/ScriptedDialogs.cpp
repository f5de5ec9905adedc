#include "common/ScriptedDialogs.h"

#include <gtest/gtest.h>

TScriptedDialogs::TScriptedDialogs()
    : FPrevious(SetUserDialogs(this))
{
}

TScriptedDialogs::~TScriptedDialogs()
{
    SetUserDialogs(FPrevious);
}

int TScriptedDialogs::Ask(const QString& message, TMessageKind kind, const QStringList& captions)
{
    FMessages.append({message, kind, captions});
    if (WhileAsking)
        WhileAsking();
    if (FAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << message.toStdString();
        return Closed;
    }
    return FAnswers.takeFirst();
}

void TScriptedDialogs::Show(const QString& message, TMessageKind kind)
{
    FMessages.append({message, kind, {}});
}
