#include "app/WindowHelpers.h"

#include <QDesktopServices>
#include <QUrl>

int AskWithCaptions(const QString& message, TMessageKind kind, const QStringList& captions)
{
    return UserDialogs().Ask(message, kind, captions);
}

bool OpenWithDefaultViewer(const QString& fileName)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}
