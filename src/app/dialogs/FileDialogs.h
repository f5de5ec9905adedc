#pragma once

#include <QString>

class QWidget;

// The program's file dialogs, shown through its dialog runner. Each gives the chosen file, or an
// empty text when the user cancelled.

// " Load Image": bitmaps or JPEG pictures (JPEG offered first), with a preview of the picture
// under the pointer.
QString AskPictureToOpen(QWidget* parent);
// "Save Image": a bitmap file.
QString AskBitmapToSave(QWidget* parent);

// "Open": an existing graph file.
QString AskGraphToOpen(QWidget* parent);
// "Save Graph": where to save the graph, starting from its current name.
QString AskGraphToSave(QWidget* parent, const QString& current);
// "Save Image": the picture of the graph as BMP at 1, 4, 8 or 24 bits, JPEG or EMF; depth gets
// the colour depth of the chosen format.
QString AskGraphPictureToSave(QWidget* parent, int& depth);

// "Import": one or more existing files matching the filter ("vCard files (*.vcf)"); empty when
// the user cancelled.
QStringList AskFilesToImport(QWidget* parent, const QString& filter);
// "Export": the file to write, given the extension suffix when typed without one.
QString AskFileToExport(QWidget* parent, const QString& filter, const QString& suffix);
