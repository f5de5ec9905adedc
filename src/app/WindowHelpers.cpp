#include "app/WindowHelpers.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

int AskWithCaptions(const QString& message, TMessageKind kind, const QStringList& captions)
{
    return UserDialogs().Ask(message, kind, captions);
}

bool OpenWithDefaultViewer(const QString& fileName)
{
    if (fileName.isEmpty())
        return false;
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(fileName)))
        return true;
    UserDialogs().Show(QStringLiteral("Launching your default viewer on the \"%1\" failed.\r\nTry to open it manually.").arg(fileName),
                       TMessageKind::Information);
    return false;
}

QString FileVersionText(const QString& fileName)
{
    const QString file = QFileInfo(fileName).canonicalFilePath();
    if (file.isEmpty() || file != QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath())
        return QStringLiteral("Unknown");
    const QStringList parts = QStringLiteral(CW_VERSION).split(QLatin1Char('.'));
    if (parts.size() != 4)
        return QStringLiteral("Unknown");
    for (const QString& part : parts) {
        bool ok = false;
        if (part.toUInt(&ok) > 0xFFFF || !ok)
            return QStringLiteral("Unknown");
    }
    return parts.join(QLatin1Char('.'));
}
