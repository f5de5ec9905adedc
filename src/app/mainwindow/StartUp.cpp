#include "app/mainwindow/StartUp.h"

#include "app/SettingsFiles.h"
#include "app/dialogs/TQtUserDialogs.h"
#include "app/mainwindow/TApplication.h"
#include "app/mainwindow/TfrmMain.h"
#include "model/FontFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

int RunCirclewright(int argc, char** argv)
{
    // The settings folder is found through the application object, so it comes first.
    TApplication app(argc, argv);
    RestoreFromTemplate(QStringLiteral("Circlewright.in_"), QStringLiteral("Circlewright.ini"));
    RestoreFromTemplate(QStringLiteral("enDispSettings.in_"), QStringLiteral("enDispSettings.ini"));
    LoadFontFiles();

    TfrmMain window;
    TQtUserDialogs dialogs(&window);
    IUserDialogs* const previous = SetUserDialogs(&dialogs);
    window.show();

    // Once the window is up: work a crash left unsaved is offered first; otherwise a graph file
    // named on the command line (a file manager opening it) opens.
    const QStringList arguments = app.arguments().mid(1);
    const QString fileName = arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).absoluteFilePath();
    QTimer::singleShot(0, &window, [&window, fileName] {
        if (window.OfferRecovery() || fileName.isEmpty())
            return;
        if (!window.OpenGraphFile(fileName) && !QFileInfo::exists(fileName))
            UserDialogs().Show(QStringLiteral("Cannot load file:  ") + fileName, TMessageKind::Information);
    });
    const int result = app.exec();
    SetUserDialogs(previous);
    return result;
}

bool RestoreFromTemplate(const QString& templateName, const QString& targetName)
{
    const QString target = SettingsFilePath(targetName);
    const QString templateFile = QFileInfo(target).dir().filePath(templateName);
    if (QFileInfo::exists(target))
        QFile::remove(templateFile);
    else if (QFileInfo::exists(templateFile))
        QFile::rename(templateFile, target);
    return QFileInfo::exists(target);
}
