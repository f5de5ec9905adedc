#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Replaces a file's content so that a failure at any moment (disk full, crash, killed process)
// leaves either the old file or the new one, never a mix: the bytes go to a temporary file
// beside the target, are forced to disk, and only then take the target's name.
//
// Returns false with a readable reason in error when anything fails; the old file is then
// untouched. afterChunk, if set, is called after each chunk with the bytes written so far
// (tests use it to simulate a crash in the middle).
bool WriteFileAtomically(const QString& fileName, const QByteArray& bytes, QString& error,
                         const std::function<void(qint64)>& afterChunk = {});
