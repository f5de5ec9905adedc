#pragma once

#include <QByteArray>
#include <QString>

// Text of a file from another program: UTF-8 (a byte-order mark is dropped) when the bytes are
// valid UTF-8, else Windows-1252, the code page older mail programs write.
QString DecodeImportedText(QByteArray bytes);
// The same with the character set a file names ("UTF-8", "windows-1252", "ISO-8859-1"); an
// unknown or empty name falls back to DecodeImportedText.
QString DecodeImportedText(const QByteArray& bytes, const QByteArray& charset);
