#include "LayoutGraph.h"

#include "ToolView.h"

#include "foundation/UserDialogs.h"
#include "layout/TEgoOrganizer.h"
#include "view/TEgoNetGraphDisplay.h"

#include <QEventLoop>

#include <cstdio>
#include <memory>

namespace {

// A script asked for the layout, so the question whether to go on with a dense graph is
// answered yes; messages go to standard error.
class TGoOnDialogs : public IUserDialogs
{
public:
    TGoOnDialogs() : FPrevious(SetUserDialogs(this)) {}
    ~TGoOnDialogs() override { SetUserDialogs(FPrevious); }

    int Ask(const QString&, TMessageKind, const QStringList&) override { return 1; }
    void Show(const QString& message, TMessageKind) override
    {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }

private:
    IUserDialogs* FPrevious;
};

} // namespace

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
    LoadGraphIntoView(view, options.Input);

    TOrganizeThread* organizer = view.SpringOrganizer();
    std::unique_ptr<TEgoOrganizer> egoLayout;
    if (!options.Ego.isEmpty()) {
        int index = -1;
        TOrganizedNode* ego = view.Model().FindNodeByID(options.Ego);
        if (!ego && view.Model().FindNodeByCaptionOrID(options.Ego, index))
            ego = view.Model().GetNode(index);
        if (!ego)
            throw EToolError(QStringLiteral("no person \"%1\" in \"%2\"").arg(options.Ego, options.Input));
        // As the program starts the layout around a person.
        egoLayout = std::make_unique<TEgoOrganizer>(&view);
        egoLayout->SetEgo(ego);
        egoLayout->StepDelay = 1;
        view.LinkLengthFactor = 1.25f;
        view.SetOrganizer(egoLayout.get());
        organizer = egoLayout.get();
    }
    organizer->Animated = false;
    if (options.Seed)
        organizer->SetRandomSeed(*options.Seed);

    TGoOnDialogs dialogs;
    QEventLoop loop;
    view.OnOrganizeDone = [&](QObject*) {
        view.StraightenLinks(false);
        loop.quit();
    };
    view.Organize(true);
    if (organizer->Running())
        loop.exec();
    const int steps = organizer->StepCount;
    view.WriteGraphFile(options.Output);
    return steps;
}
