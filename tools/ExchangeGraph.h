#pragma once

#include <QString>
#include <QStringList>

// import SOURCE... INTO.eng: reads every source, then adds its persons and links to INTO.eng
// (created when it does not exist) and saves it as the program saves. Returns the report for
// the user. Raises EImportError, leaving INTO.eng untouched, when a source cannot be imported,
// and EToolError when INTO.eng cannot be opened or written. Needs a QApplication.
QString ImportIntoGraphFile(const QStringList& arguments);

// export IN.eng OUT.graphml|OUT.gexf|OUT.vcf|OUT.csv: writes the network of IN.eng in the format
// of OUT's extension (every person for a vCard). Returns the files written. Raises EToolError or
// EExportError. Needs a QApplication.
QStringList ExportGraphFile(const QStringList& arguments);
