#pragma once

#include "foundation/UserDialogs.h"

#include <QList>
#include <QStringList>

#include <functional>

// Answers questions from a script and records every message, so no test waits for a click.
// Installed for its lifetime; a question with no scripted answer fails the test and is
// answered as closed.
class TScriptedDialogs final : public IUserDialogs
{
public:
    struct TMessage
    {
        QString Text;
        TMessageKind Kind;
        QStringList Captions; // empty for Show
    };

    TScriptedDialogs();
    ~TScriptedDialogs() override;

    void Answer(int choice) { FAnswers.append(choice); }
    // Runs while a question is open, before it is answered: what a user might do behind the box.
    std::function<void()> WhileAsking;

    int Ask(const QString& message, TMessageKind kind, const QStringList& captions) override;
    void Show(const QString& message, TMessageKind kind) override;

    const QList<TMessage>& Messages() const { return FMessages; }
    bool AllAnswersUsed() const { return FAnswers.isEmpty(); }

private:
    QList<int> FAnswers;
    QList<TMessage> FMessages;
    IUserDialogs* FPrevious;
};
