#include "ToolView.h"

#include "settings/GraphFile.h"
#include "view/TEgoNetGraphDisplay.h"

#include <QRegularExpression>

QSize ParseViewSize(const QString& value)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,5})x([0-9]{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(value);
    const QSize size = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
    if (size.width() < 1 || size.height() < 1 || size.width() > 20000 || size.height() > 20000)
        throw EToolError(QStringLiteral("--size wants WIDTHxHEIGHT, each 1 to 20000, not \"%1\"").arg(value));
    return size;
}

void LoadGraphIntoView(TEgoNetGraphDisplay& view, const QString& fileName)
{
    TGraphHeader header;
    if (!ReadGraphFile(fileName, header, view.Settings(), view.Model(), [&] { view.ApplySettings(); }))
        throw EToolError(QStringLiteral("\"%1\" is not a graph file").arg(fileName));
    view.Caption = header.Caption;
    view.Description = header.Description;
    view.UpdateCurrent();
    view.Model().NormalizeNodeAttrs();
    view.Model().NormalizeLinkAttrs();
    view.SetIsChanged(false);
}
