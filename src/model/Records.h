#pragma once

#include <QString>

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
