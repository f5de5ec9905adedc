#include "app/mainwindow/StartUp.h"

#include <QApplication>
#include <QMainWindow>

int RunCirclewright(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    return app.exec();
}

bool RestoreFromTemplate(const QString&, const QString&)
{
    return false;
}
