// The network exports, read back by our own GraphML reader and by Qt's XML reader.
#include "ExchangeTestSupport.h"

#include "exchange/ExchangeError.h"
#include "exchange/TCsvTableWriter.h"
#include "exchange/TGexfWriter.h"
#include "exchange/TGraphMLReader.h"
#include "exchange/TGraphMLWriter.h"
#include "exchange/CsvFormat.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// Three persons, two links of different direction, attributes with characters XML forbids.
void BuildNetwork(TEgoNetModel& model)
{
    TOrganizedNode* ann = AddPerson(model, "Ann", "Lee", "ann@example.org");
    ann->Position = QPoint(40, 60);
    ann->Color = 0x00332211;
    ann->Size = 20;
    ann->Attributes.AddAttribute("club", QString::fromUtf8("Chess & <Go>\x01"));
    TOrganizedNode* bo = AddPerson(model, "Bo", "Ek");
    bo->Position = QPoint(300, 200);
    TOrganizedNode* cy = AddPerson(model, QString::fromUtf8("Çy"), "");
    cy->Position = QPoint(120, 400);
    TEgoNetEdge* ab = model.NewLink(ann, bo, "friend", "since 1990");
    ab->Strength = 2.5f;
    ab->Color = 0x000000FF;
    ab->Width = 3;
    ab->Attributes.AddAttribute("met", "school");
    TEgoNetEdge* bc = model.NewLink(bo, cy, "colleague", "");
    bc->Directed = false;
    model.NormalizeNodeAttrs();
    model.NormalizeLinkAttrs();
}

std::unique_ptr<TEgoNetModel> ReadGraphML(const QByteArray& bytes)
{
    return ReadWith<TGraphMLReader>(bytes, QStringLiteral("net.graphml"));
}

QString GraphMLError(const QByteArray& bytes)
{
    return ReadErrorWith<TGraphMLReader>(bytes, QStringLiteral("net.graphml"));
}

} // namespace

TEST(GraphML, RoundTripKeepsPersonsLinksAttributesPositionsAndColours)
{
    TEgoNetModel model;
    BuildNetwork(model);
    const QByteArray written = TGraphMLWriter::Write(model);
    EXPECT_FALSE(written.contains("\x01"));
    EXPECT_FALSE(written.contains("\"long\""));
    const auto back = ReadGraphML(written);
    ASSERT_EQ(back->NodeCount(), 3);
    ASSERT_EQ(back->LinkCount(), 2);
    for (int i = 0; i < 3; ++i) {
        const TEgoNetNode* a = model.GetNode(i);
        const TEgoNetNode* b = back->GetNode(i);
        EXPECT_EQ(b->ID, a->ID);
        EXPECT_EQ(b->Caption(), a->Caption());
        EXPECT_EQ(b->Position, a->Position);
        EXPECT_EQ(b->Color, a->Color);
        EXPECT_EQ(b->Size, a->Size);
        EXPECT_EQ(b->TypeName(), a->TypeName());
        for (qsizetype k = 0; k < a->Attributes.size(); ++k) {
            const QString name = a->Attributes.NameAt(int(k));
            EXPECT_EQ(Field(b, name), Field(a, name).remove(QChar(1))) << name.toStdString();
        }
    }
    const TEgoNetEdge* ab = back->GetLink(0);
    EXPECT_EQ(ab->Source, back->GetNode(0));
    EXPECT_EQ(ab->Target, back->GetNode(1));
    EXPECT_EQ(ab->Caption(), "since 1990");
    EXPECT_EQ(ab->TypeName(), "friend");
    EXPECT_FLOAT_EQ(ab->Strength, 2.5f);
    EXPECT_EQ(ab->Color, 0x000000FFu);
    EXPECT_EQ(ab->Width, 3);
    EXPECT_TRUE(ab->Directed);
    QString met;
    ab->Attributes.GetValue("met", met);
    EXPECT_EQ(met, "school");
    EXPECT_FALSE(back->GetLink(1)->Directed);
    EXPECT_EQ(back->GetLink(1)->TypeName(), "colleague");
}

TEST(GraphML, ReadsGephiKeysAndYedGraphics)
{
    const QByteArray gephi = R"(<?xml version="1.0"?>
<graphml xmlns="http://graphml.graphdrawing.org/xmlns" xmlns:y="http://www.yworks.com/xml/graphml">
 <key id="l" for="node" attr.name="label" attr.type="string"/>
 <key id="x" for="node" attr.name="x" attr.type="float"/>
 <key id="y" for="node" attr.name="y" attr.type="float"/>
 <key id="s" for="node" attr.name="size" attr.type="float"/>
 <key id="r" for="node" attr.name="r" attr.type="int"/>
 <key id="g" for="node" attr.name="g" attr.type="int"/>
 <key id="b" for="node" attr.name="b" attr.type="int"/>
 <key id="age" for="node" attr.name="Age" attr.type="int"><default>40</default></key>
 <key id="w" for="edge" attr.name="weight" attr.type="double"/>
 <key id="gr" for="node" yfiles.type="nodegraphics"/>
 <graph edgedefault="undirected">
  <node id="n0"><data key="l">Ann</data><data key="x">-50.4</data><data key="y">10</data>
   <data key="s">30</data><data key="r">255</data><data key="g">0</data><data key="b">128</data>
   <data key="age">33</data></node>
  <node id="n1"><data key="gr"><y:ShapeNode><y:Geometry x="100" y="200" width="40" height="40"/>
   <y:Fill color="#00FF00" transparent="false"/><y:NodeLabel>Bo Ek</y:NodeLabel></y:ShapeNode></data></node>
  <edge source="n0" target="n1"><data key="w">0.5</data></edge>
 </graph>
</graphml>)";
    const auto model = ReadGraphML(gephi);
    ASSERT_EQ(model->NodeCount(), 2);
    const TEgoNetNode* ann = model->GetNode(0);
    EXPECT_EQ(ann->Caption(), "Ann");
    EXPECT_EQ(ann->Position, QPoint(-50, 10));
    EXPECT_EQ(ann->Size, 30);
    EXPECT_EQ(ann->Color, 0x008000FFu);
    EXPECT_EQ(Field(ann, "Age"), "33");
    EXPECT_EQ(Field(ann, PersonKeys::FirstName), "Ann");
    const TEgoNetNode* bo = model->GetNode(1);
    EXPECT_EQ(bo->Caption(), "Bo Ek");
    EXPECT_EQ(bo->Position, QPoint(120, 220));
    EXPECT_EQ(bo->Size, 40);
    EXPECT_EQ(bo->Color, 0x0000FF00u);
    EXPECT_EQ(Field(bo, "Age"), "40");
    EXPECT_EQ(Field(bo, PersonKeys::LastName), "Ek");
    ASSERT_EQ(model->LinkCount(), 1);
    EXPECT_FALSE(model->GetLink(0)->Directed);
    EXPECT_FLOAT_EQ(model->GetLink(0)->Strength, 0.5f);
}

TEST(GraphML, BadInputNamesFileAndLine)
{
    const QByteArray head = "<graphml xmlns=\"http://graphml.graphdrawing.org/xmlns\">\n<graph>\n";
    EXPECT_EQ(GraphMLError(head + "<node id=\"a\"/>\n<edge source=\"a\" target=\"zz\"/>\n</graph></graphml>"),
              "net.graphml, line 4: <edge> \"\" joins the unknown node \"zz\"");
    EXPECT_TRUE(GraphMLError(head + "<node id=\"a\">\n</graph></graphml>").startsWith("net.graphml, line 4: "));
    EXPECT_EQ(GraphMLError(head + "<node id=\"a\"><data key=\"k\">1</data></node></graph></graphml>"),
              "net.graphml, line 3: <data> names the undeclared key \"k\"");
    EXPECT_EQ(GraphMLError("<html/>"), "net.graphml, line 1: the file is not GraphML (it starts with <html>)");
}

TEST(Gexf, WritesVizAndDeclaredAttributes)
{
    TEgoNetModel model;
    BuildNetwork(model);
    QXmlStreamReader xml(TGexfWriter::Write(model));
    QStringList attributes;
    int nodes = 0;
    int edges = 0;
    QString firstPosition;
    QString firstColour;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("attribute"))
            attributes << a.value(QLatin1String("title")).toString();
        else if (xml.name() == QLatin1String("node"))
            ++nodes;
        else if (xml.name() == QLatin1String("edge"))
            ++edges;
        else if (xml.name() == QLatin1String("position") && firstPosition.isEmpty())
            firstPosition = a.value(QLatin1String("x")).toString() + ',' + a.value(QLatin1String("y")).toString();
        else if (xml.name() == QLatin1String("color") && firstColour.isEmpty())
            firstColour = QStringLiteral("%1,%2,%3").arg(a.value(QLatin1String("r")), a.value(QLatin1String("g")),
                                                        a.value(QLatin1String("b")));
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(nodes, 3);
    EXPECT_EQ(edges, 2);
    EXPECT_EQ(firstPosition, "40,60");
    EXPECT_EQ(firstColour, "17,34,51");
    EXPECT_TRUE(attributes.contains("club") && attributes.contains("met") && attributes.contains("directed"));
}

TEST(CsvTables, ColumnsAnalysisToolsReadWithoutMapping)
{
    TEgoNetModel model;
    BuildNetwork(model);
    const TCsvTableWriter::TTables tables = TCsvTableWriter::Write(model, "My net");
    const QList<TCsvRow> persons = ParseCsv(QString::fromUtf8(tables.Persons), "p.csv");
    const QList<TCsvRow> links = ParseCsv(QString::fromUtf8(tables.Links), "l.csv");
    const QList<TCsvRow> ego = ParseCsv(QString::fromUtf8(tables.Ego), "e.csv");
    ASSERT_EQ(persons.size(), 4);
    ASSERT_EQ(links.size(), 3);
    ASSERT_EQ(ego.size(), 2);
    EXPECT_EQ(persons[0].Fields.mid(0, 3), QStringList({"Id", "Label", "egoID"}));
    EXPECT_EQ(persons[1].Fields.mid(0, 3), QStringList({model.GetNode(0)->ID, "Ann Lee", "My net"}));
    EXPECT_EQ(links[0].Fields.mid(0, 6), QStringList({"Source", "Target", "Type", "Id", "Label", "Weight"}));
    EXPECT_EQ(links[1].Fields[0], model.GetNode(0)->ID);
    EXPECT_EQ(links[1].Fields[2], "Directed");
    EXPECT_EQ(links[2].Fields[2], "Undirected");
    EXPECT_EQ(links[1].Fields[5], "2.5");
    EXPECT_EQ(ego[1].Fields, QStringList({"My net", "My net", "3", "2"}));
    EXPECT_EQ(TCsvTableWriter::TableFileName("/d/out.CSV", "links"), "/d/out-links.csv");
}
