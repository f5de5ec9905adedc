#include "exchange/ExchangeFormats.h"

#include "exchange/ExchangeError.h"
#include "exchange/TContactCsvReader.h"
#include "exchange/TCsvTableWriter.h"
#include "exchange/TGexfWriter.h"
#include "exchange/TGraphMLReader.h"
#include "exchange/TGraphMLWriter.h"
#include "exchange/TVCardReader.h"
#include "exchange/TVCardWriter.h"
#include "foundation/AtomicFileWriter.h"
#include "model/TEgoNetModel.h"

#include <QFile>
#include <QFileInfo>

#include <memory>

namespace {

QString Suffix(const QString& fileName)
{
    return QFileInfo(fileName).suffix().toLower();
}

void WriteFile(const QString& fileName, const QByteArray& bytes)
{
    QString error;
    if (!WriteFileAtomically(fileName, bytes, error))
        throw EExportError(QStringLiteral("Cannot write \"%1\": %2").arg(fileName, error));
}

} // namespace

bool IsImportFileName(const QString& fileName)
{
    const QString suffix = Suffix(fileName);
    return suffix == "vcf" || suffix == "vcard" || suffix == "csv" || suffix == "graphml";
}

bool IsExportFileName(const QString& fileName)
{
    const QString suffix = Suffix(fileName);
    return suffix == "graphml" || suffix == "gexf" || suffix == "vcf" || suffix == "csv";
}

TImportReport ImportFiles(TEgoNetModel& target, const QStringList& fileNames, const TDisplayDefaults& defaults)
{
    struct TRead
    {
        QString FileName;
        std::unique_ptr<TEgoNetModel> Model;
        bool CarriesLooks;
    };
    std::vector<TRead> reads;
    QStringList notes;
    for (const QString& fileName : fileNames) {
        if (!IsImportFileName(fileName))
            throw EImportError(fileName, QString(),
                               QStringLiteral("unknown kind of file (import reads .vcf, .csv and .graphml)"));
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            throw EImportError(fileName, QString(), QStringLiteral("cannot be read: %1").arg(file.errorString()));
        const QByteArray bytes = file.readAll();
        auto model = std::make_unique<TEgoNetModel>();
        const QString suffix = Suffix(fileName);
        if (suffix == "graphml")
            TGraphMLReader::Read(bytes, fileName, *model, notes);
        else if (suffix == "csv")
            TContactCsvReader::Read(bytes, fileName, *model, notes);
        else
            TVCardReader::Read(bytes, fileName, *model, notes);
        reads.push_back({fileName, std::move(model), suffix == "graphml"});
    }
    TPersonMerger merger(target, defaults);
    for (const TRead& read : reads)
        merger.Merge(*read.Model, read.FileName, read.CarriesLooks);
    merger.Finish();
    TImportReport report = merger.Report();
    report.Reasons << notes;
    return report;
}

QStringList ExportedFiles(const QString& fileName)
{
    if (Suffix(fileName) != "csv")
        return {fileName};
    return {TCsvTableWriter::TableFileName(fileName, "persons"), TCsvTableWriter::TableFileName(fileName, "links"),
            TCsvTableWriter::TableFileName(fileName, "ego")};
}

void ExportNetwork(const TEgoNetModel& model, const QString& fileName, const QString& egoName,
                   const QList<const TEgoNetNode*>& persons)
{
    const QString suffix = Suffix(fileName);
    if (suffix == "graphml") {
        WriteFile(fileName, TGraphMLWriter::Write(model));
    } else if (suffix == "gexf") {
        WriteFile(fileName, TGexfWriter::Write(model));
    } else if (suffix == "vcf") {
        QList<const TEgoNetNode*> chosen = persons;
        if (chosen.isEmpty())
            for (const TOrganizedNode* person : model.Nodes())
                chosen.append(person);
        WriteFile(fileName, TVCardWriter::Write(chosen));
    } else if (suffix == "csv") {
        const TCsvTableWriter::TTables tables = TCsvTableWriter::Write(model, egoName);
        const QStringList files = ExportedFiles(fileName);
        WriteFile(files[0], tables.Persons);
        WriteFile(files[1], tables.Links);
        WriteFile(files[2], tables.Ego);
    } else {
        throw EExportError(
            QStringLiteral("Cannot export to \"%1\": the name must end in .graphml, .gexf, .vcf or .csv").arg(fileName));
    }
}
