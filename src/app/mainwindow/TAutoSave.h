#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <map>
#include <memory>

class QLockFile;
class TEgoNetGraphDisplay;
class TGraphDocument;

// Recovery copies: while the graph has unsaved changes, a copy of it is written every so often
// into the recovery folder, so that a crash loses at most that interval of work. Each running
// program owns its copy through a lock file, so two programs never share one; the copy of a
// program that is gone is found at the next start.
class TAutoSave : public QObject
{
public:
    // The INI section and key of the interval, in seconds.
    static inline const QString Section = QStringLiteral("Autosave");
    static inline const QString IntervalKey = QStringLiteral("Interval");
    static constexpr int DefaultInterval = 60;

    // A copy left by a program that is gone.
    struct TCopy
    {
        QString Base;     // the copy's files without their extensions
        QString Original; // the graph file it is a copy of, or "Untitled"
        QDateTime Time;   // when it was written
        QString GraphFile() const { return Base + QStringLiteral(".eng"); }
    };

    TAutoSave(TGraphDocument& document, TEgoNetGraphDisplay& view, const QString& folder, int intervalSeconds);
    // A program that ends normally leaves no copy.
    ~TAutoSave() override;

    // Writes the copy now. A copy that cannot be written is reported once, then silently until
    // a write succeeds again.
    bool WriteNow();
    // The graph is saved, or was replaced: its copy goes.
    void Remove();
    // The copies of programs that are gone, oldest first; this program holds each of them until
    // it restores, discards or releases it.
    std::vector<TCopy> Orphans();
    void Discard(const TCopy& copy);
    void Release(const TCopy& copy);

    const QString& OwnBase() const { return FBase; }

private:
    void Tick();

    TGraphDocument& FDocument;
    TEgoNetGraphDisplay& FView;
    QString FFolder;
    QString FBase;
    std::unique_ptr<QLockFile> FLock;
    std::map<QString, std::unique_ptr<QLockFile>> FOrphanLocks;
    QTimer FTimer;
    bool FWarned = false;
};
