#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

const char* const kUsage =
    "Usage: circlewright-tool VERB [ARGUMENTS]\n"
    "\n"
    "The command-line companion of Circlewright: works on graph files without a window.\n"
    "\n"
    "Verbs:\n"
    "  --help    show this text\n";

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h") {
        std::fputs(kUsage, stdout);
        return args.isEmpty() ? 1 : 0;
    }
    std::fprintf(stderr, "circlewright-tool: unknown verb \"%s\" (see --help)\n",
                 args.first().toLocal8Bit().constData());
    return 1;
}
