#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated values as spreadsheets and mail programs write them: fields in double quotes
// may hold commas, quotes (doubled) and line breaks.

struct TCsvRow
{
    int Line = 0; // where the row starts, from 1
    QStringList Fields;
};

// The rows of a text, blank lines left out. An unterminated quoted field raises EImportError
// naming fileName and the line where the field starts.
QList<TCsvRow> ParseCsv(const QString& text, const QString& fileName);

// One field as written: quoted when it holds a comma, a quote, a line break or outer blanks.
QString CsvField(const QString& value);
// A row of fields with its line end.
QString CsvLine(const QStringList& fields);
