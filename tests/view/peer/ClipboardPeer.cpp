// One instance of the graph view for the clipboard test between processes, on the real windowing
// system: "copy IN.eng READY" reads a graph, copies all of it, creates READY and keeps the
// clipboard until it is stopped; "paste OUT.eng" pastes what the clipboard holds into an empty
// graph and saves it.
#include "view/TEgoNetGraphDisplay.h"
#include "view/TGraphClipboard.h"
#include "view/TGraphCommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

int Copy(QApplication& app, const QString& graphFile, const QString& readyFile)
{
    TEgoNetGraphDisplay view;
    if (!view.ReadGraphFile(graphFile))
        return 1;
    view.Model().SelectAll(true);
    if (!view.Commands().CopyToClipboard())
        return 1;
    QFile ready(readyFile);
    if (!ready.open(QIODevice::WriteOnly))
        return 1;
    ready.close();
    // The clipboard's data lives in this process; it must run until the other one has read it.
    QTimer::singleShot(60000, &app, &QApplication::quit);
    return app.exec();
}

int Paste(const QString& graphFile)
{
    // Ownership of the clipboard may take a moment to reach this client.
    QElapsedTimer clock;
    clock.start();
    while (!TGraphClipboard::HasGraph() && clock.elapsed() < 20000) {
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
    TEgoNetGraphDisplay view;
    view.Commands().PasteFromClipboard();
    if (view.Model().NodeCount() == 0) {
        std::fprintf(stderr, "nothing was pasted\n");
        return 1;
    }
    view.WriteGraphFile(graphFile);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "copy")
        return Copy(app, args[2], args[3]);
    if (args.size() == 3 && args[1] == "paste")
        return Paste(args[2]);
    std::fprintf(stderr, "usage: clipboard_peer copy IN.eng READY | paste OUT.eng\n");
    return 2;
}
