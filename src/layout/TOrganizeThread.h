#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QTimer>

#include <functional>

class ILayoutView;

// Paces a layout: runs one step after another until a step ends the run, letting the
// application handle input and paint between two steps and pausing StepDelay milliseconds when
// animated. Every step runs on the user-interface thread, from its event loop: a step that asks
// a question cannot be re-entered by the next one, and nothing but that thread ever touches the
// model. (The name stays from the program's first design, in which a worker thread handed each
// step over; an event-loop timer gives the same behaviour without locks or hand-over.)
class TOrganizeThread
{
public:
    explicit TOrganizeThread(ILayoutView* view);
    virtual ~TOrganizeThread();
    TOrganizeThread(const TOrganizeThread&) = delete;
    TOrganizeThread& operator=(const TOrganizeThread&) = delete;

    QString LayoutName;
    // Repaint during the run and pause between steps.
    bool Animated = false;
    int StepDelay = 1;
    int StepCount = 0;
    // A link attracts only when both its ends are movable.
    bool FrozenEndsBlock = false;
    // After every step, and when a run ends.
    std::function<void()> OnIteration;
    std::function<void()> OnDone;

    ILayoutView* View() const { return FView; }
    // The view is going away: nothing more is stepped or asked of it, nor raised towards it.
    void DetachView();

    // Initialises a new run from the current positions.
    virtual void Prepare() = 0;
    // One layout step; the last one of a run calls EndRun.
    virtual void Step() = 0;

    // Steps from the next turn of the event loop on; a running worker just keeps running.
    void Resume();
    // No further step until Resume; a step in progress finishes.
    void Suspend();
    // For good: the worker never steps again.
    void Terminate();
    bool Running() const { return FRunning; }

    // Whether to go on with a large layout: asks for graphs of 100 nodes or more whose node
    // count times shown-link count reaches 200,000. animatedOnly skips the question for a
    // worker that is not animated.
    bool AskDenseGraph(bool animatedOnly);

    // Makes the random choices of a run repeatable.
    void SetRandomSeed(quint32 seed) { FRandom.seed(seed); }

protected:
    // Pauses the worker, repaints when not animated (an animated run has shown its steps) and
    // raises OnDone.
    void EndRun();
    // Runs what may free this worker: a notification's handler, or a question whose event loop
    // lets the user close the view that owns it. False when the worker is gone; the caller must
    // then return without touching it.
    bool Survives(const std::function<void()>& call);
    // Raises a notification through a copy, so that a handler may clear it.
    bool Raise(const std::function<void()>& notification);

    ILayoutView* FView;
    QRandomGenerator FRandom;

private:
    void RunStep();

    QTimer FTimer;
    bool FRunning = false;
    bool FTerminated = false;
    bool FInStep = false;
    // While Survives runs a call: set by the destructor.
    bool* FDestroyed = nullptr;
};
