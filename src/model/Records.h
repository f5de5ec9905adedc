#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

struct TFontData;
class TEgoNetEdge;
class TEgoNetNode;
class ValueReader;
class ValueWriter;

// The persisted form of one person and one connection: fixed sequences of tagged values
// without names, lengths or versions, so every field is read in order.

void WriteNodeRecord(const TEgoNetNode& node, ValueWriter& writer);
// Fills a node made with the defaults; any failure becomes "Node data read error" and the node
// keeps what was read before it.
void ReadNodeRecord(TEgoNetNode& node, ValueReader& reader);

// The link must have both ends.
void WriteLinkRecord(const TEgoNetEdge& link, ValueWriter& writer);
// Fills a link made with the defaults and hands back the IDs of its ends for the caller to
// wire; any failure becomes "Edge data read error".
void ReadLinkRecord(TEgoNetEdge& link, ValueReader& reader, QString& sourceID, QString& targetID);

// The picture object record that a node record embeds; the display settings use it for the
// background picture too. Reading gives a null image when the record carries no readable
// bitmap; its errors are the stream's own.
void WritePictureRecord(const QImage& image, ValueWriter& writer);
QImage ReadPictureRecord(ValueReader& reader);

// A font as four values: name, size, colour and the style words.
void WriteFontValues(const TFontData& font, ValueWriter& writer);
void ReadFontValues(TFontData& font, ValueReader& reader);

// A string list as a list of values: list start, count, the strings, list end. The count is
// only trusted as far as the strings are really there.
void WriteStringList(const QStringList& list, ValueWriter& writer);
void ReadStringList(QStringList& list, ValueReader& reader);
