#include "exchange/TGexfWriter.h"

#include "exchange/NetworkTable.h"
#include "model/TEgoNetModel.h"

#include <QXmlStreamWriter>

namespace {

const QString kViz = QStringLiteral("http://www.gexf.net/1.2draft/viz");

void DeclareAttributes(QXmlStreamWriter& xml, const char* kind, const QStringList& names)
{
    if (names.isEmpty())
        return;
    xml.writeStartElement(QStringLiteral("attributes"));
    xml.writeAttribute(QStringLiteral("class"), QLatin1String(kind));
    for (qsizetype i = 0; i < names.size(); ++i) {
        xml.writeEmptyElement(QStringLiteral("attribute"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(i));
        xml.writeAttribute(QStringLiteral("title"), TNetworkTable::XmlSafe(names[i]));
        xml.writeAttribute(QStringLiteral("type"), names[i] == ExchangeKeys::Directed ? QStringLiteral("boolean")
                                                                                     : QStringLiteral("string"));
    }
    xml.writeEndElement();
}

void WriteValues(QXmlStreamWriter& xml, const QStringList& names, const QStringList& values)
{
    xml.writeStartElement(QStringLiteral("attvalues"));
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (values[i].isEmpty())
            continue;
        xml.writeEmptyElement(QStringLiteral("attvalue"));
        xml.writeAttribute(QStringLiteral("for"), QString::number(i));
        xml.writeAttribute(QStringLiteral("value"), TNetworkTable::XmlSafe(values[i]));
    }
    xml.writeEndElement();
}

void WriteColour(QXmlStreamWriter& xml, uint32_t colour)
{
    xml.writeEmptyElement(kViz, QStringLiteral("color"));
    xml.writeAttribute(QStringLiteral("r"), QString::number(TNetworkTable::Red(colour)));
    xml.writeAttribute(QStringLiteral("g"), QString::number(TNetworkTable::Green(colour)));
    xml.writeAttribute(QStringLiteral("b"), QString::number(TNetworkTable::Blue(colour)));
}

} // namespace

QByteArray TGexfWriter::Write(const TEgoNetModel& model)
{
    const TNetworkTable table(model);
    // The types of persons and links travel as attributes, after the free ones.
    const QStringList personColumns = table.PersonAttributes + QStringList{ExchangeKeys::NodeType};
    QStringList linkColumns = table.LinkAttributes + QStringList{ExchangeKeys::LinkType};
    if (table.MixedDirections)
        linkColumns << ExchangeKeys::Directed;

    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QStringLiteral("http://www.gexf.net/1.2draft"));
    xml.writeNamespace(kViz, QStringLiteral("viz"));
    xml.writeStartElement(QStringLiteral("gexf"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.2"));
    xml.writeStartElement(QStringLiteral("meta"));
    xml.writeTextElement(QStringLiteral("creator"), QStringLiteral("Circlewright " CW_VERSION));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("graph"));
    xml.writeAttribute(QStringLiteral("mode"), QStringLiteral("static"));
    xml.writeAttribute(QStringLiteral("defaultedgetype"),
                       table.Directed ? QStringLiteral("directed") : QStringLiteral("undirected"));
    DeclareAttributes(xml, "node", personColumns);
    DeclareAttributes(xml, "edge", linkColumns);

    xml.writeStartElement(QStringLiteral("nodes"));
    for (qsizetype i = 0; i < table.Persons.size(); ++i) {
        const TEgoNetNode& person = *table.Persons[i];
        xml.writeStartElement(QStringLiteral("node"));
        xml.writeAttribute(QStringLiteral("id"), TNetworkTable::XmlSafe(table.PersonIDs[i]));
        xml.writeAttribute(QStringLiteral("label"), TNetworkTable::XmlSafe(person.Caption()));
        QStringList values;
        for (const QString& name : table.PersonAttributes)
            values << TNetworkTable::Value(person, name);
        values << person.TypeName();
        WriteValues(xml, personColumns, values);
        xml.writeEmptyElement(kViz, QStringLiteral("size"));
        xml.writeAttribute(QStringLiteral("value"), QString::number(person.Size));
        xml.writeEmptyElement(kViz, QStringLiteral("position"));
        xml.writeAttribute(QStringLiteral("x"), QString::number(person.Position.x()));
        xml.writeAttribute(QStringLiteral("y"), QString::number(person.Position.y()));
        xml.writeAttribute(QStringLiteral("z"), QStringLiteral("0"));
        WriteColour(xml, person.Color);
        xml.writeEndElement();
    }
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("edges"));
    for (qsizetype i = 0; i < table.Links.size(); ++i) {
        const TEgoNetEdge& link = *table.Links[i];
        xml.writeStartElement(QStringLiteral("edge"));
        xml.writeAttribute(QStringLiteral("id"), TNetworkTable::XmlSafe(table.LinkIDs[i]));
        xml.writeAttribute(QStringLiteral("source"), TNetworkTable::XmlSafe(table.PersonID(link.Source)));
        xml.writeAttribute(QStringLiteral("target"), TNetworkTable::XmlSafe(table.PersonID(link.Target)));
        if (!link.Caption().isEmpty())
            xml.writeAttribute(QStringLiteral("label"), TNetworkTable::XmlSafe(link.Caption()));
        xml.writeAttribute(QStringLiteral("weight"), QString::number(double(link.Strength)));
        QStringList values;
        for (const QString& name : table.LinkAttributes)
            values << TNetworkTable::Value(link, name);
        values << link.TypeName();
        if (table.MixedDirections)
            values << (link.Directed ? QStringLiteral("true") : QStringLiteral("false"));
        WriteValues(xml, linkColumns, values);
        WriteColour(xml, link.Color);
        xml.writeEmptyElement(kViz, QStringLiteral("thickness"));
        xml.writeAttribute(QStringLiteral("value"), QString::number(link.Width));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}
