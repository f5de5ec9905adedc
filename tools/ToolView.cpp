#include "ToolView.h"

#include "view/TGraphDocument.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <utility>

QSize ParseViewSize(const QString& value)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,5})x([0-9]{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(value);
    const QSize size = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
    if (size.width() < 1 || size.height() < 1 || size.width() > 20000 || size.height() > 20000)
        throw EToolError(QStringLiteral("--size wants WIDTHxHEIGHT, each 1 to 20000, not \"%1\"").arg(value));
    return size;
}

void TToolDialogs::Show(const QString& message, TMessageKind kind)
{
    if ((kind == TMessageKind::Warning || kind == TMessageKind::Error) && FProblem.isEmpty())
        FProblem = message;
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

QString TToolDialogs::TakeProblem()
{
    return std::exchange(FProblem, QString());
}

void OpenGraph(TGraphDocument& document, const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        throw EToolError(QStringLiteral("Cannot open \"%1\": no such file").arg(fileName));
    TToolDialogs dialogs;
    if (!document.Open(fileName)) {
        const QString problem = dialogs.TakeProblem();
        throw EToolError(problem.isEmpty() ? QStringLiteral("\"%1\" is not a graph file").arg(fileName) : problem);
    }
}

void SaveGraph(TGraphDocument& document, const QString& fileName)
{
    TToolDialogs dialogs;
    if (!document.SaveTo(fileName))
        throw EToolError(dialogs.TakeProblem());
}
