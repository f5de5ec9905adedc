#include "view/TUndoHistory.h"

#include "view/TEgoNetGraphDisplay.h"

#include <utility>

namespace {

// What a copied object takes beyond the texts and pictures it shares: a guess that errs on the
// safe side, good enough for a cap of hundreds of megabytes.
constexpr qint64 kNodeBytes = 512;
constexpr qint64 kLinkBytes = 384;
constexpr qint64 kAttributeBytes = 16;

} // namespace

struct TUndoHistory::TState
{
    QString Step;
    qint64 Serial = 0;
    qint64 Bytes = 0;
    TEgoNetModel Model;
    QString Caption;
    QString Description;
    TEgoNetDisplaySettings Settings;
};

TUndoHistory::TUndoHistory(TEgoNetGraphDisplay& view)
    : FView(view)
{
    FFlushTimer.setSingleShot(true);
    FFlushTimer.setInterval(0);
    QObject::connect(&FFlushTimer, &QTimer::timeout, [this] { Flush(); });
    Reset();
}

TUndoHistory::~TUndoHistory() = default;

std::unique_ptr<TUndoHistory::TState> TUndoHistory::Capture(const QString& step)
{
    auto state = std::make_unique<TState>();
    state->Step = step;
    state->Serial = ++FSerial;
    state->Model.CopyFrom(FView.Model());
    state->Caption = FView.Caption;
    state->Description = FView.Description;
    state->Settings = FView.Settings();
    state->Settings.CaptureFromView();
    qint64 attributes = 0;
    for (const TOrganizedNode* node : state->Model.Nodes())
        attributes += node->Attributes.size();
    for (const TEgoNetEdge* link : state->Model.Links())
        attributes += link->Attributes.size();
    state->Bytes = state->Model.NodeCount() * kNodeBytes + state->Model.LinkCount() * kLinkBytes +
                   attributes * kAttributeBytes;
    return state;
}

void TUndoHistory::Restore(const TState& state)
{
    FView.Organize(false);
    FView.ResetHover();
    FView.StartBlink(nullptr, 0);
    FView.Model().CopyFrom(state.Model);
    FView.Caption = state.Caption;
    FView.Description = state.Description;
    FView.Settings() = state.Settings;
    FView.ApplySettings();
    FView.UpdateCurrent();
    FView.SetIsChanged(state.Serial != FSavedSerial);
    FView.update();
    if (OnRestored)
        OnRestored();
}

void TUndoHistory::Reset()
{
    FFlushTimer.stop();
    FPending.clear();
    FUndo.clear();
    FRedo.clear();
    FDropped = false;
    FCurrent = Capture(QString());
    FSavedSerial = FCurrent->Serial;
    FBytes = FCurrent->Bytes;
    Changed();
}

void TUndoHistory::Record(const QString& step)
{
    FPending = step;
    FFlushTimer.start();
}

void TUndoHistory::Flush()
{
    FFlushTimer.stop();
    if (FPending.isEmpty())
        return;
    FUndo.push_back(std::move(FCurrent));
    FCurrent = Capture(std::exchange(FPending, QString()));
    FBytes += FCurrent->Bytes;
    for (const auto& state : FRedo)
        FBytes -= state->Bytes;
    FRedo.clear();
    Trim();
    Changed();
}

void TUndoHistory::Trim()
{
    while (FBytes > Cap && !FUndo.empty()) {
        FBytes -= FUndo.front()->Bytes;
        FUndo.pop_front();
        FDropped = true;
    }
}

void TUndoHistory::MarkSaved()
{
    Flush();
    FSavedSerial = FCurrent->Serial;
}

QString TUndoHistory::UndoText() const
{
    if (FUndo.empty())
        return QStringLiteral("Undo");
    const QString text = QStringLiteral("Undo ") + FCurrent->Step;
    return FDropped ? text + QStringLiteral(" (oldest steps dropped)") : text;
}

QString TUndoHistory::RedoText() const
{
    return FRedo.empty() ? QStringLiteral("Redo") : QStringLiteral("Redo ") + FRedo.back()->Step;
}

void TUndoHistory::Undo()
{
    Flush();
    if (FUndo.empty())
        return;
    FRedo.push_back(std::move(FCurrent));
    FCurrent = std::move(FUndo.back());
    FUndo.pop_back();
    Restore(*FCurrent);
    Changed();
}

void TUndoHistory::Redo()
{
    Flush();
    if (FRedo.empty())
        return;
    FUndo.push_back(std::move(FCurrent));
    FCurrent = std::move(FRedo.back());
    FRedo.pop_back();
    Restore(*FCurrent);
    Changed();
}

void TUndoHistory::Changed()
{
    if (OnChanged)
        OnChanged();
}
