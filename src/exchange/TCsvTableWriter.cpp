#include "exchange/TCsvTableWriter.h"

#include "exchange/CsvFormat.h"
#include "exchange/NetworkTable.h"
#include "model/TEgoNetModel.h"

TCsvTableWriter::TTables TCsvTableWriter::Write(const TEgoNetModel& model, const QString& egoName)
{
    const TNetworkTable table(model);
    TTables tables;

    QString persons = CsvLine(QStringList{"Id", "Label", "egoID", ExchangeKeys::NodeType} + table.PersonAttributes);
    for (qsizetype i = 0; i < table.Persons.size(); ++i) {
        const TEgoNetNode& person = *table.Persons[i];
        QStringList row{table.PersonIDs[i], person.Caption(), egoName, person.TypeName()};
        for (const QString& name : table.PersonAttributes)
            row << TNetworkTable::Value(person, name);
        persons += CsvLine(row);
    }
    tables.Persons = persons.toUtf8();

    QString links = CsvLine(QStringList{"Source", "Target", "Type", "Id", "Label", "Weight", "egoID",
                                        ExchangeKeys::LinkType} +
                            table.LinkAttributes);
    for (qsizetype i = 0; i < table.Links.size(); ++i) {
        const TEgoNetEdge& link = *table.Links[i];
        QStringList row{table.PersonID(link.Source), table.PersonID(link.Target),
                        link.Directed ? QStringLiteral("Directed") : QStringLiteral("Undirected"), table.LinkIDs[i],
                        link.Caption(), QString::number(double(link.Strength)), egoName, link.TypeName()};
        for (const QString& name : table.LinkAttributes)
            row << TNetworkTable::Value(link, name);
        links += CsvLine(row);
    }
    tables.Links = links.toUtf8();

    tables.Ego = (CsvLine({"egoID", "Label", "Persons", "Links"}) +
                  CsvLine({egoName, egoName, QString::number(table.Persons.size()), QString::number(table.Links.size())}))
                     .toUtf8();
    return tables;
}

QString TCsvTableWriter::TableFileName(const QString& fileName, const char* table)
{
    const QString base = fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? fileName.chopped(4) : fileName;
    return base + '-' + QLatin1String(table) + QLatin1String(".csv");
}
