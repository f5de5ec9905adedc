// mime_lookup FILE...: prints, for each file, the MIME type that Qt's database gives it by name
// and content, and the one by content alone. Qt reads the desktop's shared MIME database (the
// folders of XDG_DATA_DIRS), so this shows what file managers and file dialogs will see.

#include <QCoreApplication>
#include <QMimeDatabase>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QMimeDatabase database;
    for (const QString& file : app.arguments().mid(1)) {
        const QString byNameAndContent = database.mimeTypeForFile(file).name();
        const QString byContent = database.mimeTypeForFile(file, QMimeDatabase::MatchContent).name();
        std::printf("%s %s\n", qPrintable(byNameAndContent), qPrintable(byContent));
    }
    return 0;
}
