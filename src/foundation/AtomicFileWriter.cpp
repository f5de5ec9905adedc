#include "foundation/AtomicFileWriter.h"

#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr qint64 kChunk = 64 * 1024;

// The rename is only durable once the folder itself is on disk.
void SyncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool WriteFileAtomically(const QString& fileName, const QByteArray& bytes, QString& error,
                         const std::function<void(qint64)>& afterChunk)
{
    QSaveFile file(fileName);
    // Unbuffered, so every failed write is seen here and not lost in a final flush that
    // would still report success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 size = std::min(kChunk, qint64(bytes.size()) - written);
        const qint64 n = file.write(bytes.constData() + written, size);
        if (n != size) {
            error = file.errorString();
            file.cancelWriting();
            return false;
        }
        written += n;
        if (afterChunk)
            afterChunk(written);
    }
    if (::fdatasync(file.handle()) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    // The new content is in place either way; a folder that cannot be synced only makes the
    // rename less certain to survive a power cut, which is no reason to report a failure.
    SyncFolder(QFileInfo(fileName).absolutePath());
    return true;
}
