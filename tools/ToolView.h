#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <stdexcept>

class TEgoNetGraphDisplay;

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

// Opens a graph file in the view as the program does: the settings block applied to the view,
// the current node and link found, every attribute name given to every person and link.
// Raises EToolError for a file that is not a graph file and EStreamError for a read error.
void LoadGraphIntoView(TEgoNetGraphDisplay& view, const QString& fileName);
