#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class TEgoNetEdge;
class TEgoNetModel;
class TEgoNetNode;
class TEgoNetObject;

// What the network exports (GraphML, GEXF, CSV tables) share: the persons and links in model
// order with unique IDs, the attribute names, and the values the formats take.
class TNetworkTable
{
public:
    explicit TNetworkTable(const TEgoNetModel& model);

    QList<const TEgoNetNode*> Persons;
    QList<const TEgoNetEdge*> Links;
    // Unique within the file: the object's own ID, numbered on when two share one.
    QStringList PersonIDs;
    QStringList LinkIDs;
    QStringList PersonAttributes;
    QStringList LinkAttributes;
    // True when links differ in direction: the file then carries it per link.
    bool MixedDirections = false;
    bool Directed = true;

    QString PersonID(const TEgoNetNode* person) const;

    static int Red(uint32_t colour) { return int(colour & 0xFF); }
    static int Green(uint32_t colour) { return int((colour >> 8) & 0xFF); }
    static int Blue(uint32_t colour) { return int((colour >> 16) & 0xFF); }
    // "#RRGGBB".
    static QString HexColour(uint32_t colour);
    // The value of an attribute, empty when missing.
    static QString Value(const TEgoNetObject& object, const QString& name);
    // Without the control characters that XML 1.0 forbids.
    static QString XmlSafe(const QString& text);

private:
    QHash<const TEgoNetNode*, int> FIndex;
};

// The keys the exports write besides the free attributes, so that import finds its own again.
namespace ExchangeKeys {
inline const QString Label = QStringLiteral("label");
inline const QString X = QStringLiteral("x");
inline const QString Y = QStringLiteral("y");
inline const QString Size = QStringLiteral("size");
inline const QString Red = QStringLiteral("r");
inline const QString Green = QStringLiteral("g");
inline const QString Blue = QStringLiteral("b");
inline const QString Weight = QStringLiteral("weight");
inline const QString Width = QStringLiteral("width");
inline const QString LinkType = QStringLiteral("link_type");
inline const QString NodeType = QStringLiteral("node_type");
inline const QString Directed = QStringLiteral("directed");
} // namespace ExchangeKeys
