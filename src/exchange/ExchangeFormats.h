#pragma once

#include "exchange/TPersonMerger.h"

#include <QList>
#include <QString>
#include <QStringList>

class TEgoNetModel;
class TEgoNetNode;
struct TDisplayDefaults;

// The one way in and out for the desktop program and circlewright-tool: the format follows the
// file's extension.

// ".vcf", ".csv" (Google or Outlook contacts), ".graphml".
bool IsImportFileName(const QString& fileName);
// ".graphml", ".gexf", ".vcf", ".csv" (three tables).
bool IsExportFileName(const QString& fileName);

// Reads every file completely, then merges them into target in the order given. Any file that
// cannot be read or understood raises EImportError before anything is added.
TImportReport ImportFiles(TEgoNetModel& target, const QStringList& fileNames, const TDisplayDefaults& defaults);

// Writes the network; a ".vcf" holds the persons given (all persons when the list is empty), a
// ".csv" becomes the three tables beside it, the graph being the ego named egoName. Every file is
// replaced atomically. Raises EExportError when the extension is unknown or a file cannot be
// written.
void ExportNetwork(const TEgoNetModel& model, const QString& fileName, const QString& egoName,
                   const QList<const TEgoNetNode*>& persons = {});
// The files an export to fileName writes.
QStringList ExportedFiles(const QString& fileName);
