#pragma once

#include <QString>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

class TEgoNetGraphDisplay;

// The steps a graph went through, for undo and redo. Each step keeps a copy of everything a save
// would write (persons, links, the link-type filter, caption and description, display settings);
// the copies share unchanged texts, lists and pictures with the graph, so a step costs one copy
// of the objects. The oldest steps go when the copies outgrow the cap.
class TUndoHistory
{
public:
    static constexpr qint64 DefaultCap = qint64(256) << 20;

    explicit TUndoHistory(TEgoNetGraphDisplay& view);
    ~TUndoHistory();
    TUndoHistory(const TUndoHistory&) = delete;
    TUndoHistory& operator=(const TUndoHistory&) = delete;

    // Bytes the kept steps may take, roughly.
    qint64 Cap = DefaultCap;
    // After an undo or redo, with the graph restored: the owner shows it anew.
    std::function<void()> OnRestored;
    // What can be undone or redone has changed.
    std::function<void()> OnChanged;

    // Forgets every step: undoing stops at the graph as it is now (a file was opened).
    void Reset();
    // An edit ended and is a step of that name. Edits of one user action arrive one after
    // another in one turn of the event loop; they become one step, named by the last.
    void Record(const QString& step);
    // Takes the step recorded in this turn now.
    void Flush();
    // The graph as it is now is what its file holds.
    void MarkSaved();

    bool CanUndo() const { return !FUndo.empty(); }
    bool CanRedo() const { return !FRedo.empty(); }
    // "Undo Delete Persons", "Redo Layout"; plain "Undo" or "Redo" when there is nothing. Once
    // steps were dropped for the cap, the undo text says so.
    QString UndoText() const;
    QString RedoText() const;
    // Steps were dropped to stay within the cap.
    bool Dropped() const { return FDropped; }
    void Undo();
    void Redo();

    // Roughly what the steps take now.
    qint64 Bytes() const { return FBytes; }

private:
    struct TState;
    std::unique_ptr<TState> Capture(const QString& step);
    void Restore(const TState& state);
    void Trim();
    void Changed();

    TEgoNetGraphDisplay& FView;
    std::unique_ptr<TState> FCurrent;
    std::deque<std::unique_ptr<TState>> FUndo;
    std::deque<std::unique_ptr<TState>> FRedo;
    QString FPending;
    QTimer FFlushTimer;
    qint64 FSerial = 0;
    qint64 FSavedSerial = 0;
    qint64 FBytes = 0;
    bool FDropped = false;
};
