#pragma once

#include <QApplication>

// The program's application object. An error that escapes a command ends that command and
// nothing else: it is caught where Qt delivers the event, written to standard error, and the
// program goes on (Qt cannot carry exceptions through its event loop).
class TApplication : public QApplication
{
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
