#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class TEgoNetModel;

// Reads vCards (3.0 and 4.0, also the 2.1 forms phones still write) into persons: one new node of
// into per card. Folded lines, quoted-printable values, "item1." groups and Windows-1252 bytes
// are taken as they come; what is left out on purpose (a picture given as a link) goes to notes.
// A file that is not a set of cards raises EImportError naming the line.
class TVCardReader
{
public:
    static void Read(const QByteArray& bytes, const QString& fileName, TEgoNetModel& into, QStringList& notes);
};
