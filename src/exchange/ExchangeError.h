#pragma once

#include <QString>

#include <stdexcept>

// A file that cannot be imported: the message names the file and the line or element at fault.
// Importing reads every file completely before anything is added, so this leaves the graph as it was.
class EImportError : public std::runtime_error
{
public:
    EImportError(const QString& fileName, const QString& where, const QString& what)
        : std::runtime_error((where.isEmpty() ? QStringLiteral("%1: %3") : QStringLiteral("%1, %2: %3"))
                                 .arg(fileName, where, what)
                                 .toStdString())
    {
    }

    QString Message() const { return QString::fromUtf8(what()); }
};

// A file that cannot be exported (unknown extension, cannot be written); the message says why.
class EExportError : public std::runtime_error
{
public:
    explicit EExportError(const QString& message) : std::runtime_error(message.toStdString()) {}

    QString Message() const { return QString::fromUtf8(what()); }
};
