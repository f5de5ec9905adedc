#include "ExchangeGraph.h"
#include "GraphJson.h"
#include "LayoutGraph.h"
#include "RenderGraph.h"

#include "model/FontFiles.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <memory>
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
    "  render IN.eng OUT [--size WxH] [--depth 1|4|8|24] [--fit]\n"
    "                          save the picture of a graph file as the program shows it in a view of\n"
    "                          WxH (default 800x600), fitted to the view with --fit; OUT ends in .bmp\n"
    "                          (at --depth bits per pixel, default 24), .jpg, .jpeg, .emf or .png\n"
    "  layout IN.eng OUT.eng [--size WxH] [--ego ID_OR_CAPTION] [--seed N]\n"
    "                          lay the network out in a view of WxH (default 800x600) with one run of\n"
    "                          the spring layout, or of the layout around the given person, write it\n"
    "                          to OUT.eng and print the number of steps; --seed repeats a run exactly;\n"
    "                          dense networks are laid out without asking\n"
    "  import SOURCE... INTO.eng\n"
    "                          add the persons of contact files (vCard .vcf, Google or Outlook .csv)\n"
    "                          and the persons and links of .graphml files to INTO.eng, created when\n"
    "                          it does not exist; a person already there (same e-mail, else same first\n"
    "                          and last name) is completed, not added twice; prints what was added,\n"
    "                          merged and skipped, and why; a bad source changes nothing\n"
    "  export IN.eng OUT       write the network in the format of OUT's extension: .graphml, .gexf,\n"
    "                          .vcf (vCard 4.0 of every person) or .csv (the tables OUT-persons.csv,\n"
    "                          OUT-links.csv and OUT-ego.csv)\n"
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
    // Only rendering, layout, import and export work in a real view, which needs the widget
    // application; the tool never shows a window, so it needs no screen.
    const bool inView = argc > 1 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "layout") == 0 ||
                                     std::strcmp(argv[1], "import") == 0 || std::strcmp(argv[1], "export") == 0);
    std::unique_ptr<QCoreApplication> app;
    if (inView) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
        LoadFontFiles();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const QStringList args = app->arguments().mid(1);
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
        if (verb == "render") {
            RenderGraphFile(ParseRenderOptions(args.mid(1)));
            return 0;
        }
        if (verb == "layout") {
            const int steps = LayoutGraphFile(ParseLayoutOptions(args.mid(1)));
            std::printf("%d\n", steps);
            return 0;
        }
        if (verb == "import") {
            const QByteArray report = ImportIntoGraphFile(args.mid(1)).toUtf8();
            std::printf("%s\n", report.constData());
            return 0;
        }
        if (verb == "export") {
            for (const QString& file : ExportGraphFile(args.mid(1)))
                std::printf("%s\n", file.toLocal8Bit().constData());
            return 0;
        }
    } catch (const std::exception& e) {
        return Fail(QString::fromUtf8(e.what()));
    }
    if (verb == "dump" || verb == "build")
        return Fail(QStringLiteral("wrong number of arguments for %1 (see --help)").arg(verb));
    return Fail(QStringLiteral("unknown verb \"%1\" (see --help)").arg(verb));
}
