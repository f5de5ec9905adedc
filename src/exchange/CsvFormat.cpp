#include "exchange/CsvFormat.h"

#include "exchange/ExchangeError.h"

QList<TCsvRow> ParseCsv(const QString& text, const QString& fileName)
{
    QList<TCsvRow> rows;
    TCsvRow row;
    QString field;
    int line = 1;
    row.Line = 1;
    bool quoted = false;
    int quoteLine = 0;
    bool fieldStarted = false;
    const auto endRow = [&] {
        row.Fields.append(field);
        const bool blank = row.Fields.size() == 1 && row.Fields.first().isEmpty();
        if (!blank)
            rows.append(row);
        row = TCsvRow{line + 1, {}};
        field.clear();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
        } else if (c == '"' && !fieldStarted) {
            quoted = true;
            quoteLine = line;
            fieldStarted = true;
        } else if (c == ',') {
            row.Fields.append(field);
            field.clear();
            fieldStarted = false;
        } else if (c == '\n') {
            endRow();
            ++line;
        } else if (c != '\r') {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted)
        throw EImportError(fileName, QStringLiteral("line %1").arg(quoteLine),
                           QStringLiteral("a quoted field that never ends"));
    if (fieldStarted || !row.Fields.isEmpty())
        endRow();
    return rows;
}

QString CsvField(const QString& value)
{
    const bool quote = value.contains(',') || value.contains('"') || value.contains('\n') || value.contains('\r') ||
                       (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
    if (!quote)
        return value;
    QString out = value;
    out.replace('"', QLatin1String("\"\""));
    return '"' + out + '"';
}

QString CsvLine(const QStringList& fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += CsvField(fields[i]);
    }
    return line + QLatin1String("\r\n");
}
