#include "exchange/TGraphMLWriter.h"

#include "exchange/NetworkTable.h"
#include "model/TEgoNetModel.h"

#include <QXmlStreamWriter>

namespace {

const QString kYedNamespace = QStringLiteral("http://www.yworks.com/xml/graphml");

struct TKey
{
    QString Id;
    const char* For;
    QString Name;
    const char* Type;
};

class TWriter
{
public:
    TWriter(QByteArray& out, const TNetworkTable& table)
        : FXml(&out)
        , FTable(table)
    {
        FXml.setAutoFormatting(true);
        FXml.setAutoFormattingIndent(1);
    }

    void Write()
    {
        FXml.writeStartDocument();
        FXml.writeDefaultNamespace(QStringLiteral("http://graphml.graphdrawing.org/xmlns"));
        FXml.writeNamespace(kYedNamespace, QStringLiteral("y"));
        FXml.writeStartElement(QStringLiteral("graphml"));
        DeclareKeys();
        FXml.writeStartElement(QStringLiteral("graph"));
        FXml.writeAttribute(QStringLiteral("id"), QStringLiteral("G"));
        FXml.writeAttribute(QStringLiteral("edgedefault"),
                            FTable.Directed ? QStringLiteral("directed") : QStringLiteral("undirected"));
        for (qsizetype i = 0; i < FTable.Persons.size(); ++i)
            WritePerson(*FTable.Persons[i], FTable.PersonIDs[i]);
        for (qsizetype i = 0; i < FTable.Links.size(); ++i)
            WriteLink(*FTable.Links[i], FTable.LinkIDs[i]);
        FXml.writeEndElement();
        FXml.writeEndElement();
        FXml.writeEndDocument();
    }

private:
    void DeclareKeys()
    {
        using namespace ExchangeKeys;
        FKeys = {{"label", "node", Label, "string"},    {"x", "node", X, "double"},
                 {"y", "node", Y, "double"},            {"size", "node", Size, "double"},
                 {"r", "node", Red, "int"},             {"g", "node", Green, "int"},
                 {"b", "node", Blue, "int"},            {"node_type", "node", NodeType, "string"},
                 {"elabel", "edge", Label, "string"},   {"weight", "edge", Weight, "double"},
                 {"er", "edge", Red, "int"},            {"eg", "edge", Green, "int"},
                 {"eb", "edge", Blue, "int"},           {"width", "edge", Width, "double"},
                 {"link_type", "edge", LinkType, "string"}};
        if (FTable.MixedDirections)
            FKeys.append({"directed", "edge", Directed, "boolean"});
        for (qsizetype i = 0; i < FTable.PersonAttributes.size(); ++i)
            FKeys.append({QStringLiteral("na%1").arg(i), "node", FTable.PersonAttributes[i], "string"});
        for (qsizetype i = 0; i < FTable.LinkAttributes.size(); ++i)
            FKeys.append({QStringLiteral("ea%1").arg(i), "edge", FTable.LinkAttributes[i], "string"});
        for (const TKey& key : std::as_const(FKeys)) {
            FXml.writeStartElement(QStringLiteral("key"));
            FXml.writeAttribute(QStringLiteral("id"), key.Id);
            FXml.writeAttribute(QStringLiteral("for"), QLatin1String(key.For));
            FXml.writeAttribute(QStringLiteral("attr.name"), TNetworkTable::XmlSafe(key.Name));
            FXml.writeAttribute(QStringLiteral("attr.type"), QLatin1String(key.Type));
            FXml.writeEndElement();
        }
        for (const char* kind : {"node", "edge"}) {
            FXml.writeStartElement(QStringLiteral("key"));
            FXml.writeAttribute(QStringLiteral("id"), QStringLiteral("y%1").arg(QLatin1String(kind)));
            FXml.writeAttribute(QStringLiteral("for"), QLatin1String(kind));
            FXml.writeAttribute(QStringLiteral("yfiles.type"), QStringLiteral("%1graphics").arg(QLatin1String(kind)));
            FXml.writeEndElement();
        }
    }

    void Data(const QString& key, const QString& value)
    {
        FXml.writeStartElement(QStringLiteral("data"));
        FXml.writeAttribute(QStringLiteral("key"), key);
        FXml.writeCharacters(TNetworkTable::XmlSafe(value));
        FXml.writeEndElement();
    }

    void Attributes(const TEgoNetObject& object, const QStringList& names, const char* prefix)
    {
        for (qsizetype i = 0; i < names.size(); ++i)
            if (const QString value = TNetworkTable::Value(object, names[i]); !value.isEmpty())
                Data(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i), value);
    }

    void WritePerson(const TEgoNetNode& person, const QString& id)
    {
        FXml.writeStartElement(QStringLiteral("node"));
        FXml.writeAttribute(QStringLiteral("id"), TNetworkTable::XmlSafe(id));
        // yEd's graphics come first: readers that take position and label from them as well then
        // meet the plain keys last.
        FXml.writeStartElement(QStringLiteral("data"));
        FXml.writeAttribute(QStringLiteral("key"), QStringLiteral("ynode"));
        FXml.writeStartElement(kYedNamespace, QStringLiteral("ShapeNode"));
        FXml.writeEmptyElement(kYedNamespace, QStringLiteral("Geometry"));
        FXml.writeAttribute(QStringLiteral("x"), QString::number(person.Position.x() - person.Size / 2.0));
        FXml.writeAttribute(QStringLiteral("y"), QString::number(person.Position.y() - person.Size / 2.0));
        FXml.writeAttribute(QStringLiteral("width"), QString::number(person.Size));
        FXml.writeAttribute(QStringLiteral("height"), QString::number(person.Size));
        FXml.writeEmptyElement(kYedNamespace, QStringLiteral("Fill"));
        FXml.writeAttribute(QStringLiteral("color"), TNetworkTable::HexColour(person.Color));
        FXml.writeAttribute(QStringLiteral("transparent"), QStringLiteral("false"));
        FXml.writeTextElement(kYedNamespace, QStringLiteral("NodeLabel"), TNetworkTable::XmlSafe(person.Caption()));
        FXml.writeEmptyElement(kYedNamespace, QStringLiteral("Shape"));
        FXml.writeAttribute(QStringLiteral("type"), QStringLiteral("ellipse"));
        FXml.writeEndElement();
        FXml.writeEndElement();
        Data(QStringLiteral("label"), person.Caption());
        Data(QStringLiteral("x"), QString::number(person.Position.x()));
        Data(QStringLiteral("y"), QString::number(person.Position.y()));
        Data(QStringLiteral("size"), QString::number(person.Size));
        Data(QStringLiteral("r"), QString::number(TNetworkTable::Red(person.Color)));
        Data(QStringLiteral("g"), QString::number(TNetworkTable::Green(person.Color)));
        Data(QStringLiteral("b"), QString::number(TNetworkTable::Blue(person.Color)));
        Data(QStringLiteral("node_type"), person.TypeName());
        Attributes(person, FTable.PersonAttributes, "na");
        FXml.writeEndElement();
    }

    void WriteLink(const TEgoNetEdge& link, const QString& id)
    {
        FXml.writeStartElement(QStringLiteral("edge"));
        FXml.writeAttribute(QStringLiteral("id"), TNetworkTable::XmlSafe(id));
        FXml.writeAttribute(QStringLiteral("source"), TNetworkTable::XmlSafe(FTable.PersonID(link.Source)));
        FXml.writeAttribute(QStringLiteral("target"), TNetworkTable::XmlSafe(FTable.PersonID(link.Target)));
        FXml.writeStartElement(QStringLiteral("data"));
        FXml.writeAttribute(QStringLiteral("key"), QStringLiteral("yedge"));
        FXml.writeStartElement(kYedNamespace, QStringLiteral("PolyLineEdge"));
        FXml.writeEmptyElement(kYedNamespace, QStringLiteral("LineStyle"));
        FXml.writeAttribute(QStringLiteral("color"), TNetworkTable::HexColour(link.Color));
        FXml.writeAttribute(QStringLiteral("type"), QStringLiteral("line"));
        FXml.writeAttribute(QStringLiteral("width"), QString::number(link.Width));
        FXml.writeEmptyElement(kYedNamespace, QStringLiteral("Arrows"));
        FXml.writeAttribute(QStringLiteral("source"), QStringLiteral("none"));
        FXml.writeAttribute(QStringLiteral("target"), link.Directed ? QStringLiteral("standard") : QStringLiteral("none"));
        if (!link.Caption().isEmpty())
            FXml.writeTextElement(kYedNamespace, QStringLiteral("EdgeLabel"), TNetworkTable::XmlSafe(link.Caption()));
        FXml.writeEndElement();
        FXml.writeEndElement();
        if (!link.Caption().isEmpty())
            Data(QStringLiteral("elabel"), link.Caption());
        Data(QStringLiteral("weight"), QString::number(double(link.Strength)));
        Data(QStringLiteral("er"), QString::number(TNetworkTable::Red(link.Color)));
        Data(QStringLiteral("eg"), QString::number(TNetworkTable::Green(link.Color)));
        Data(QStringLiteral("eb"), QString::number(TNetworkTable::Blue(link.Color)));
        Data(QStringLiteral("width"), QString::number(link.Width));
        Data(QStringLiteral("link_type"), link.TypeName());
        if (FTable.MixedDirections)
            Data(QStringLiteral("directed"), link.Directed ? QStringLiteral("true") : QStringLiteral("false"));
        Attributes(link, FTable.LinkAttributes, "ea");
        FXml.writeEndElement();
    }

    QXmlStreamWriter FXml;
    const TNetworkTable& FTable;
    QList<TKey> FKeys;
};

} // namespace

QByteArray TGraphMLWriter::Write(const TEgoNetModel& model)
{
    QByteArray out;
    const TNetworkTable table(model);
    TWriter(out, table).Write();
    return out;
}
