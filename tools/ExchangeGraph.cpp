#include "ExchangeGraph.h"

#include "ToolView.h"

#include "exchange/ExchangeFormats.h"
#include "view/TEgoNetGraphDisplay.h"
#include "view/TGraphDocument.h"

#include <QFileInfo>

QString ImportIntoGraphFile(const QStringList& arguments)
{
    if (arguments.size() < 2)
        throw EToolError(QStringLiteral("import wants SOURCE... INTO.eng (see --help)"));
    const QString into = arguments.last();
    if (!TGraphDocument::IsGraphFileName(into))
        throw EToolError(QStringLiteral("import writes a graph file ending in .eng, not \"%1\"").arg(into));
    TEgoNetGraphDisplay view;
    TGraphDocument document(view);
    if (QFileInfo::exists(into))
        OpenGraph(document, into);
    const TImportReport report = ImportFiles(view.Model(), arguments.mid(0, arguments.size() - 1), view.Settings());
    SaveGraph(document, into);
    return report.Text();
}

QStringList ExportGraphFile(const QStringList& arguments)
{
    if (arguments.size() != 2)
        throw EToolError(QStringLiteral("export wants IN.eng OUT.graphml|OUT.gexf|OUT.vcf|OUT.csv (see --help)"));
    if (!IsExportFileName(arguments[1]))
        throw EToolError(QStringLiteral("export writes .graphml, .gexf, .vcf or .csv, not \"%1\"").arg(arguments[1]));
    TEgoNetGraphDisplay view;
    TGraphDocument document(view);
    OpenGraph(document, arguments[0]);
    ExportNetwork(view.Model(), arguments[1], view.Caption);
    return ExportedFiles(arguments[1]);
}
