#pragma once

#include <QByteArray>
#include <QString>

// The system clipboard as the graph sees it: one block of bytes under the program's private
// format. The MIME type is the one Qt maps to the registered Windows format "CF_ENGRAPH", so the
// name is the same between instances on every platform.
namespace TGraphClipboard {

QString MimeType();
// Replaces whatever the clipboard holds by the block.
void Put(const QByteArray& block);
bool HasGraph();
// The block as the platform hands it over, which may be longer than what was put.
QByteArray Get();
// Empties the clipboard when (and only when) it holds a graph block.
void ClearGraph();

} // namespace TGraphClipboard
