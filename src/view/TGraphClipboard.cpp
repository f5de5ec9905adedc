#include "view/TGraphClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace TGraphClipboard {

QString MimeType()
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"CF_ENGRAPH\"");
}

void Put(const QByteArray& block)
{
    auto* data = new QMimeData;
    data->setData(MimeType(), block);
    // The clipboard owns the data from here on.
    QGuiApplication::clipboard()->setMimeData(data);
}

bool HasGraph()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(MimeType());
}

QByteArray Get()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data ? data->data(MimeType()) : QByteArray();
}

void ClearGraph()
{
    if (HasGraph())
        QGuiApplication::clipboard()->clear();
}

} // namespace TGraphClipboard
