#include "app/mainwindow/HelpFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

QString FindHelpFile(const QString& dir, const QString& key)
{
    const QDir folder(dir);
    for (const char* pattern : {"*.PDF", "*.DOC"}) {
        // Name filters ignore case, as the manual may be "x.pdf" or "X.PDF".
        const QStringList entries = folder.entryList({QString::fromLatin1(pattern)}, QDir::Files | QDir::NoDotAndDotDot,
                                                     QDir::Unsorted);
        for (const QString& entry : entries)
            if (entry.contains(key, Qt::CaseInsensitive))
                return folder.filePath(entry);
    }
    return {};
}

QString FindHelp(const QString& programDir)
{
    const QStringList dirs{programDir, programDir + QStringLiteral("Help/"), programDir + QStringLiteral("Circlewright Help/")};
    for (const QString& key : {QStringLiteral("Circlewright User Manual"), QStringLiteral("User Manual")})
        for (const QString& dir : dirs)
            if (const QString hit = FindHelpFile(dir, key); !hit.isEmpty())
                return hit;
    const QString readme = programDir + QStringLiteral("Readme.rtf");
    return QFileInfo::exists(readme) ? readme : QString();
}
