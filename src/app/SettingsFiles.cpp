#include "app/SettingsFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString gSettingsDirectory;

} // namespace

void SetSettingsDirectory(const QString& directory)
{
    gSettingsDirectory = directory;
}

QString SettingsFilePath(const QString& fileName)
{
    if (!gSettingsDirectory.isEmpty())
        return QDir(gSettingsDirectory).filePath(fileName);
    const QDir programDir(QCoreApplication::applicationDirPath());
    if (QFileInfo(programDir.path()).isWritable())
        return programDir.filePath(fileName);
    const QDir userDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    const QString path = userDir.filePath(fileName);
    if (!QFileInfo::exists(path)) {
        userDir.mkpath(QStringLiteral("."));
        // The template of "name.ini" is "name.in_".
        QString templateName = fileName;
        templateName.chop(1);
        // An installed template is read-only; the user's copy must not be.
        if (QFile::copy(programDir.filePath(templateName + QLatin1Char('_')), path))
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }
    return path;
}

QString ProgramIniPath()
{
    return SettingsFilePath(QStringLiteral("Circlewright.ini"));
}

QString TemporaryFilePath(const QString& fileName)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation)).filePath(fileName);
}
