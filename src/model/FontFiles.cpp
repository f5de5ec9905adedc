#include "model/FontFiles.h"

#include <QFile>
#include <QFontDatabase>

void LoadFontFiles()
{
    static const bool loaded = [] {
        if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
            return true;
        for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
            if (QFile::exists(QString::fromLatin1(file)))
                QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        return true;
    }();
    Q_UNUSED(loaded);
}
