#include "app/mainwindow/TApplication.h"

#include <cstdio>
#include <exception>

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "circlewright: a command failed: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "circlewright: a command failed\n");
    }
    return false;
}
