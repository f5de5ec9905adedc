#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the 8-bit code page of the files' plain strings. Qt 6 has no codec for it
// without ICU, and the table is small.

QString DecodeCp1252(const QByteArray& bytes);
QString DecodeCp1252(const char* bytes, qsizetype length);

// The byte of one character, -1 when the code page lacks it.
int Cp1252Byte(QChar c);

// Characters the code page lacks become '?'.
QByteArray EncodeCp1252(const QString& text);

// True when every character is 7-bit ASCII.
bool IsAscii(const QString& text);
