#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class TEgoNetModel;

// Reads GraphML into persons and links of into: our own export, Gephi's keys (label, x, y, size,
// r, g, b, weight), yEd's node and link graphics, and any other typed key as a free attribute.
// Malformed XML and links to unknown nodes raise EImportError naming the line and element.
class TGraphMLReader
{
public:
    static void Read(const QByteArray& bytes, const QString& fileName, TEgoNetModel& into, QStringList& notes);
};
