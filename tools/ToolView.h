#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include "foundation/UserDialogs.h"

#include <stdexcept>

class TGraphDocument;

// A request of circlewright-tool that cannot be carried out; the message says why.
class EToolError : public std::runtime_error
{
public:
    explicit EToolError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// The value of --size: WIDTHxHEIGHT, each 1 to 20000.
QSize ParseViewSize(const QString& value);

// The verbs that work on a view share their option scanning: every argument that is not an
// option is a file; takeOption(name, value) gets each option in valued with its value and each
// flag with an empty one. Unknown options and missing values raise EToolError.
template <typename TakeOption>
QStringList ScanArguments(const QStringList& arguments, const QStringList& valued, const QStringList& flags,
                          TakeOption takeOption)
{
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (flags.contains(argument)) {
            takeOption(argument, QString());
        } else if (valued.contains(argument)) {
            if (++i == arguments.size())
                throw EToolError(QStringLiteral("%1 needs a value").arg(argument));
            takeOption(argument, arguments[i]);
        } else if (argument.startsWith(QLatin1String("--"))) {
            throw EToolError(QStringLiteral("unknown option \"%1\"").arg(argument));
        } else {
            files << argument;
        }
    }
    return files;
}

// The tool answers for the user while a verb runs: every question gets the first answer (a
// script asked for the work, so it goes on), warnings and errors are kept as the verb's failure,
// other messages go to standard error.
class TToolDialogs final : public IUserDialogs
{
public:
    TToolDialogs() : FPrevious(SetUserDialogs(this)) {}
    ~TToolDialogs() override { SetUserDialogs(FPrevious); }
    TToolDialogs(const TToolDialogs&) = delete;
    TToolDialogs& operator=(const TToolDialogs&) = delete;

    int Ask(const QString&, TMessageKind, const QStringList&) override { return 1; }
    void Show(const QString& message, TMessageKind kind) override;
    // The first warning or error since the last call, then none.
    QString TakeProblem();

private:
    IUserDialogs* FPrevious;
    QString FProblem;
};

// Opens a graph file as the program does. Raises EToolError with the reason when it cannot be
// opened or read.
void OpenGraph(TGraphDocument& document, const QString& fileName);
// Saves as the program does; raises EToolError with the reason when the file cannot be written.
void SaveGraph(TGraphDocument& document, const QString& fileName);
