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

QString SettingsFilePathIn(const QString& programDirectory, const QString& userDirectory, const QString& fileName)
{
    const QDir programDir(programDirectory);
    if (QFileInfo(programDir.path()).isWritable())
        return programDir.filePath(fileName);
    const QDir userDir(userDirectory);
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

QString ProgramDirectory()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QString SettingsFilePath(const QString& fileName)
{
    if (!gSettingsDirectory.isEmpty())
        return QDir(gSettingsDirectory).filePath(fileName);
    return SettingsFilePathIn(QCoreApplication::applicationDirPath(),
                              QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation), fileName);
}

QString RecoveryFolder()
{
    const QString base = gSettingsDirectory.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                                      : gSettingsDirectory;
    return QDir(base).filePath(QStringLiteral("recovery"));
}

QString ProgramIniPath()
{
    return SettingsFilePath(QStringLiteral("Circlewright.ini"));
}

QString TemporaryFilePath(const QString& fileName)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation)).filePath(fileName);
}
