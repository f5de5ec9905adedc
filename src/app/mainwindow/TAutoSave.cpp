#include "app/mainwindow/TAutoSave.h"

#include "foundation/StreamError.h"
#include "foundation/UserDialogs.h"
#include "settings/TIniFile.h"
#include "view/TEgoNetGraphDisplay.h"
#include "view/TGraphDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLockFile>

#include <algorithm>

namespace {

const QString kInfoSection = QStringLiteral("Recovery");
const QString kPattern = QStringLiteral("recovery-*.ini");
// A drag in progress postpones the copy this long.
constexpr int kRetryMilliseconds = 1000;

std::unique_ptr<QLockFile> LockOf(const QString& base)
{
    auto lock = std::make_unique<QLockFile>(base + QStringLiteral(".lock"));
    // Only a dead owner makes a lock stale, however old it is.
    lock->setStaleLockTime(0);
    return lock;
}

void RemoveFiles(const QString& base)
{
    QFile::remove(base + QStringLiteral(".eng"));
    QFile::remove(base + QStringLiteral(".ini"));
}

} // namespace

TAutoSave::TAutoSave(TGraphDocument& document, TEgoNetGraphDisplay& view, const QString& folder, int intervalSeconds)
    : FDocument(document)
    , FView(view)
    , FFolder(folder)
{
    QDir().mkpath(folder);
    FBase = QDir(folder).filePath(QStringLiteral("recovery-%1-%2")
                                      .arg(QCoreApplication::applicationPid())
                                      .arg(QDateTime::currentMSecsSinceEpoch()));
    FLock = LockOf(FBase);
    FLock->tryLock(0);
    FTimer.setInterval(std::max(1, intervalSeconds) * 1000);
    connect(&FTimer, &QTimer::timeout, this, &TAutoSave::Tick);
    FTimer.start();
}

TAutoSave::~TAutoSave()
{
    Remove();
}

void TAutoSave::Tick()
{
    if (!FView.IsChanged())
        return;
    // Never in the middle of a drag: the persons are between two places.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        QTimer::singleShot(kRetryMilliseconds, this, &TAutoSave::Tick);
        return;
    }
    WriteNow();
}

bool TAutoSave::WriteNow()
{
    QString problem;
    try {
        FDocument.WriteCopy(FBase + QStringLiteral(".eng"));
        TIniFile info(FBase + QStringLiteral(".ini"));
        info.WriteString(kInfoSection, QStringLiteral("Original"), FDocument.FileName());
        info.WriteString(kInfoSection, QStringLiteral("Time"), QDateTime::currentDateTime().toString(Qt::ISODate));
        if (!info.UpdateFile())
            problem = QStringLiteral("Cannot write \"%1\"").arg(FBase + QStringLiteral(".ini"));
    } catch (const EStreamError& error) {
        problem = error.Message();
    }
    if (problem.isEmpty()) {
        FWarned = false;
        return true;
    }
    if (!FWarned) {
        FWarned = true;
        UserDialogs().Show(QStringLiteral("The recovery copy of your unsaved changes cannot be written:\r\n%1\r\n\r\n"
                                          "Save your work to keep it safe. This is not shown again until a copy "
                                          "can be written.")
                               .arg(problem),
                           TMessageKind::Warning);
    }
    return false;
}

void TAutoSave::Remove()
{
    RemoveFiles(FBase);
}

std::vector<TAutoSave::TCopy> TAutoSave::Orphans()
{
    std::vector<TCopy> copies;
    const QDir folder(FFolder);
    for (const QString& name : folder.entryList({kPattern}, QDir::Files)) {
        const QString base = folder.filePath(name.chopped(4));
        if (base == FBase || FOrphanLocks.count(base))
            continue;
        auto lock = LockOf(base);
        if (!lock->tryLock(0))
            continue; // its program still runs
        const TIniFile info(base + QStringLiteral(".ini"));
        TCopy copy{base, info.ReadString(kInfoSection, QStringLiteral("Original"), TGraphDocument::Untitled),
                   QDateTime::fromString(info.ReadString(kInfoSection, QStringLiteral("Time"), QString()), Qt::ISODate)};
        if (!QFile::exists(copy.GraphFile())) {
            RemoveFiles(base);
            continue;
        }
        FOrphanLocks[base] = std::move(lock);
        copies.push_back(copy);
    }
    std::sort(copies.begin(), copies.end(), [](const TCopy& a, const TCopy& b) { return a.Time < b.Time; });
    return copies;
}

void TAutoSave::Discard(const TCopy& copy)
{
    RemoveFiles(copy.Base);
    FOrphanLocks.erase(copy.Base);
}

void TAutoSave::Release(const TCopy& copy)
{
    FOrphanLocks.erase(copy.Base);
}
