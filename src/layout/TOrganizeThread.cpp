#include "layout/TOrganizeThread.h"

#include "foundation/UserDialogs.h"
#include "layout/ILayoutView.h"
#include "model/TEgoNetModel.h"

TOrganizeThread::TOrganizeThread(ILayoutView* view)
    : FView(view)
    , FRandom(QRandomGenerator::securelySeeded())
{
    FTimer.setSingleShot(true);
    QObject::connect(&FTimer, &QTimer::timeout, &FTimer, [this] { RunStep(); });
}

TOrganizeThread::~TOrganizeThread()
{
    if (FDestroyed)
        *FDestroyed = true;
    if (FView)
        FView->LayoutGone(this);
}

void TOrganizeThread::DetachView()
{
    Suspend();
    FView = nullptr;
    // The notifications were connected by the view and lead into it.
    OnIteration = nullptr;
    OnDone = nullptr;
}

void TOrganizeThread::Resume()
{
    if (FTerminated || !FView)
        return;
    FRunning = true;
    // A step in progress schedules the next one itself when it returns.
    if (!FInStep && !FTimer.isActive())
        FTimer.start(Animated ? StepDelay : 0);
}

void TOrganizeThread::Suspend()
{
    FRunning = false;
    FTimer.stop();
}

void TOrganizeThread::Terminate()
{
    FTerminated = true;
    Suspend();
}

void TOrganizeThread::RunStep()
{
    // A question inside a step runs a nested event loop; a resume from there must not start a
    // second step inside the first.
    if (FInStep || !FRunning || !FView)
        return;
    FInStep = true;
    if (!Survives([this] { Step(); }))
        return;
    FInStep = false;
    if (FRunning && FView)
        FTimer.start(Animated ? StepDelay : 0);
}

void TOrganizeThread::EndRun()
{
    Suspend();
    if (!Animated && FView)
        FView->Repaint();
    Raise(OnDone);
}

bool TOrganizeThread::Survives(const std::function<void()>& call)
{
    bool destroyed = false;
    bool* const outer = FDestroyed;
    FDestroyed = &destroyed;
    call();
    if (destroyed) {
        // A call further out is told as well.
        if (outer)
            *outer = true;
        return false;
    }
    FDestroyed = outer;
    return true;
}

bool TOrganizeThread::Raise(const std::function<void()>& notification)
{
    if (!notification)
        return true;
    const std::function<void()> copy = notification;
    return Survives(copy);
}

bool TOrganizeThread::AskDenseGraph(bool animatedOnly)
{
    if (animatedOnly && !Animated)
        return true;
    if (!FView)
        return true;
    const TEgoNetModel& model = FView->LayoutModel();
    const int nodes = model.NodeCount();
    if (nodes < 100 || qint64(nodes) * model.ShownLinkCount() < 200000)
        return true;
    const QString question = QStringLiteral("The layout animation of dense graph with %1 nodes may take a minute or more.\r\n\r\n"
                                            "Continue anyway?")
                                 .arg(nodes);
    return UserDialogs().Ask(question, TMessageKind::Information, {QStringLiteral("Yes"), QStringLiteral("No")}) == 1;
}
