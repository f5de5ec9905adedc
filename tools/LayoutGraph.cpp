#include "LayoutGraph.h"

#include "ToolView.h"

#include "layout/TEgoOrganizer.h"
#include "view/TEgoNetGraphDisplay.h"
#include "view/TGraphDocument.h"

#include <QEventLoop>

TLayoutOptions ParseLayoutOptions(const QStringList& arguments)
{
    TLayoutOptions options;
    const QStringList files =
        ScanArguments(arguments, {"--size", "--ego", "--seed"}, {}, [&](const QString& option, const QString& value) {
            if (option == "--size") {
                options.Size = ParseViewSize(value);
            } else if (option == "--ego") {
                // An empty value would quietly fall back to the spring layout.
                if (value.isEmpty())
                    throw EToolError(QStringLiteral("--ego wants a person's identifier or caption"));
                options.Ego = value;
            } else {
                bool ok = false;
                options.Seed = value.toUInt(&ok);
                if (!ok)
                    throw EToolError(QStringLiteral("--seed wants a number from 0 to 4294967295, not \"%1\"").arg(value));
            }
        });
    if (files.size() != 2)
        throw EToolError(QStringLiteral("layout wants IN.eng OUT.eng (see --help)"));
    options.Input = files[0];
    options.Output = files[1];
    return options;
}

int LayoutGraphFile(const TLayoutOptions& options)
{
    TEgoNetGraphDisplay view;
    view.resize(options.Size);
    TGraphDocument document(view);
    OpenGraph(document, options.Input);

    TOrganizedNode* ego = nullptr;
    if (!options.Ego.isEmpty()) {
        int index = -1;
        ego = view.Model().FindNodeByID(options.Ego);
        if (!ego && view.Model().FindNodeByCaptionOrID(options.Ego, index))
            ego = view.Model().GetNode(index);
        if (!ego)
            throw EToolError(QStringLiteral("no person \"%1\" in \"%2\"").arg(options.Ego, options.Input));
    }
    TSpringEmbeddingOrganizer& organizer =
        ego ? document.PrepareEgoLayout(ego, false) : document.UseSpringLayout();
    if (options.Seed)
        organizer.SetRandomSeed(*options.Seed);

    TToolDialogs dialogs;
    QEventLoop loop;
    view.OnOrganizeDone = [&](QObject*) {
        document.LayoutDone();
        loop.quit();
    };
    document.StartLayout();
    if (organizer.Running())
        loop.exec();
    const int steps = organizer.StepCount;
    SaveGraph(document, options.Output);
    return steps;
}
