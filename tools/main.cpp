#include "GraphJson.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <exception>

namespace {

const char* const kUsage =
    "Usage: circlewright-tool VERB [ARGUMENTS]\n"
    "\n"
    "The command-line companion of Circlewright: works on graph files without a window.\n"
    "\n"
    "Verbs:\n"
    "  dump FILE.eng           print the network of a graph file as JSON, read as the program reads it\n"
    "  build IN.json OUT.eng   write a graph file from JSON (the form is in docs/json-format.md)\n"
    "  --help                  show this text\n";

int Fail(const QString& message)
{
    std::fprintf(stderr, "circlewright-tool: %s\n", message.toLocal8Bit().constData());
    return 1;
}

int Dump(const QString& fileName)
{
    const QByteArray json = DumpGraphFile(fileName);
    if (std::fwrite(json.constData(), 1, size_t(json.size()), stdout) != size_t(json.size()) || std::fflush(stdout) != 0)
        return Fail(QStringLiteral("cannot write to standard output"));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h") {
        std::fputs(kUsage, stdout);
        return args.isEmpty() ? 1 : 0;
    }
    const QString& verb = args.first();
    try {
        if (verb == "dump" && args.size() == 2)
            return Dump(args[1]);
        if (verb == "build" && args.size() == 3) {
            BuildGraphFile(args[1], args[2]);
            return 0;
        }
    } catch (const std::exception& e) {
        return Fail(QString::fromUtf8(e.what()));
    }
    if (verb == "dump" || verb == "build")
        return Fail(QStringLiteral("wrong number of arguments for %1 (see --help)").arg(verb));
    return Fail(QStringLiteral("unknown verb \"%1\" (see --help)").arg(verb));
}
