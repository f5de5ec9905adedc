#include "GraphJson.h"
#include "ToolTestSupport.h"

#include "model/BuiltinPictures.h"
#include "model/TEgoNetModel.h"
#include "settings/GraphFile.h"
#include "settings/TEgoNetDisplaySettings.h"

#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

QJsonObject PictureJson(const QImage& image)
{
    return QJsonObject{{"Width", image.width()},
                       {"Height", image.height()},
                       {"BMP", QString::fromLatin1(EncodeBmp(image).toBase64())}};
}

// Every key of the JSON form, each away from its default, in the form a load leaves the network
// in (nothing selected, ends of links linked, curve points on their midpoints, attributes
// normalised), so that a build followed by a dump must give it back unchanged.
QJsonObject CompleteNetwork()
{
    QByteArray text = R"({
  "Caption": "Zoë's circle", "Description": "Freunde — 友達",
  "Settings": {"BkColor": 1193046, "ClusterColor": 4294967295, "BkImage": "PICTURE", "ShowBkImage": false,
    "ShowShape": false, "ShowImage": true, "ShowLabel": false, "ShowDisabledNodes": false, "ShowToolTips": false,
    "ShowBorders": false, "ShowEdges": false, "ShowDirections": false, "ShowEdgeLabel": true, "ShowStress": true,
    "Reserved1": true, "Reserved2": true, "ShowEdgeType": true, "AutoOrganize": true, "Animation": false,
    "SoundEffects": true, "Reserved3": -7, "nAltColor": 1, "nGrpColor": 2, "nShape": 11, "nImageID": "0000ABCD",
    "nImageTransparent": true, "nHeight": 30,
    "nFont": {"Name": "Arial", "Size": 11, "Color": 255, "Style": ["fsBold", "fsStrikeOut"]},
    "nLbOrientation": 3, "nSelectionColor": 3, "eColor": 4, "eWidth": 5, "eStyle": 2,
    "eFont": {"Name": "Courier", "Size": 9, "Color": 65280, "Style": ["fsItalic", "fsUnderline"]},
    "eHeadColor": 6, "eHeadLength": 12, "eHeadWidth": 7, "eWeight": 0.1},
  "Nodes": [
    {"ID": "0000000A", "TypeName": "person", "Caption": "Zoë", "ReservedFlag": true, "Position": [-40, 2147483647],
     "LabelPos": [5, -6], "LabelOrientation": 0, "ImageID": "1234ABCD", "Image": "PICTURE", "ImageTransparent": true,
     "Font": {"Name": "Times", "Size": 20, "Color": 16711680, "Style": ["fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"]},
     "Shape": 9, "Color": 8, "Size": 40, "Linked": true, "Selected": false, "Enabled": false, "Visible": false,
     "Movable": false, "SelectTime": 0, "Attributes": ["Stadt=Zürich", "age=41"], "IsGroup": true,
     "GroupIDs": ["0000000B"], "Clusters": ["1", "3"], "ReservedInt1": -1, "ReservedInt2": 2, "Key": "zoe",
     "HideLabel": true, "ReservedFloat": 3.4028235e+38},
    {"ID": "0000000B", "Caption": "Bob", "Attributes": ["Stadt=na", "age=na"]}],
  "Links": [
    {"Source": "0000000A", "Target": "0000000B", "TypeName": "friend", "Caption": "since 1999", "Directed": false,
     "Bends": [[1, 2], [-3, 4]], "MidPoint": [10, 20], "CurvePoint": [10, 20], "Offset": 3, "Strength": -2.5,
     "Color": 9, "Width": 4, "PenStyle": 3, "Font": {"Name": "Verdana", "Size": 6, "Color": 7, "Style": []},
     "HeadLength": 20, "HeadWidth": 8, "HeadColor": 10, "Attributes": ["since=1999"], "IsGroup": true,
     "GroupIDs": ["g"], "Clusters": ["2"], "ReservedInt1": 5, "ReservedInt2": -6, "Key": "k", "HideLabel": true,
     "ReservedFloat": 1e-45, "Shown": true},
    {"Source": "0000000B", "Target": "0000000A", "TypeName": "work", "Shown": false, "Attributes": ["since=na"]}],
  "NodeTypes": ["person", "default"],
  "ShownLinkTypes": ["friend"]
})";
    text.replace("\"PICTURE\"", QJsonDocument(PictureJson(TestPicture(3, 2))).toJson(QJsonDocument::Compact));
    return ParseJsonObject(text);
}

// Every key of expected has its value in actual.
void ExpectSubset(const QJsonObject& actual, const QJsonObject& expected, const QString& place)
{
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(JsonText(actual.value(it.key())), JsonText(it.value())) << place.toStdString() << "." << it.key().toStdString();
}

QJsonObject BuiltAndDumped(const QJsonObject& json)
{
    QTemporaryDir dir;
    WriteBytes(dir.filePath("in.json"), QJsonDocument(json).toJson());
    BuildGraphFile(dir.filePath("in.json"), dir.filePath("out.eng"));
    return ParseJsonObject(DumpGraphFile(dir.filePath("out.eng")));
}

} // namespace

TEST(GraphJson, BuildThenDumpGivesBackEveryField)
{
    const QJsonObject given = CompleteNetwork();
    const QJsonObject dumped = BuiltAndDumped(given);

    // The complete records come back whole, no key missing and none added.
    const auto record = [](const QJsonObject& json, const char* list, int i) { return json[list][i].toObject(); };
    EXPECT_EQ(JsonText(dumped["Settings"]), JsonText(given["Settings"]));
    EXPECT_EQ(JsonText(record(dumped, "Nodes", 0)), JsonText(record(given, "Nodes", 0)));
    EXPECT_EQ(JsonText(record(dumped, "Links", 0)), JsonText(record(given, "Links", 0)));
    ExpectSubset(record(dumped, "Nodes", 1), record(given, "Nodes", 1), "Nodes[1]");
    ExpectSubset(record(dumped, "Links", 1), record(given, "Links", 1), "Links[1]");
    for (const char* key : {"Caption", "Description", "NodeTypes", "ShownLinkTypes"})
        EXPECT_EQ(JsonText(dumped[key]), JsonText(given[key])) << key;
    EXPECT_EQ(dumped.keys(), given.keys());
}

TEST(GraphJson, FloatsReadBackToTheSameBitsAndPrintShort)
{
    const float values[] = {0.1f, 1.0f / 3, FLT_MAX, -FLT_MAX, FLT_MIN, std::numeric_limits<float>::denorm_min(),
                            16777216.0f, 1e10f, std::bit_cast<float>(0x15ae43fdu), std::bit_cast<float>(0x95ae43fdu),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()};
    for (float value : values) {
        TEgoNetModel model;
        model.NewNode(QPoint(), "Ann")->ReservedFloat = value;
        TEgoNetDisplaySettings settings;
        settings.eWeight = value;
        const QByteArray text = QJsonDocument(GraphToJson({}, settings, model)).toJson();

        TGraphHeader header;
        TEgoNetDisplaySettings readSettings;
        TEgoNetModel read;
        GraphFromJson(ParseJsonObject(text), header, readSettings, read);
        for (float back : {read.GetNode(0)->ReservedFloat, readSettings.eWeight}) {
            if (std::isnan(value))
                EXPECT_TRUE(std::isnan(back));
            else
                EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0) << value << " came back as " << back;
        }
    }
    TEgoNetModel model;
    model.NewNode(QPoint(), "Ann")->ReservedFloat = 0.1f;
    EXPECT_EQ(GraphToJson({}, TEgoNetDisplaySettings(), model)["Nodes"][0]["ReservedFloat"].toDouble(), 0.1);
}

// A network as the program may hold it when it saves: pictures, non-ASCII text, links that the
// filter hides, link types that differ only in case, an untyped link, and shown links in another
// order than the links themselves, so that the written filter lists its types in that order.
TEST(GraphJson, DumpBuildDumpOfAProgramFileIsStable)
{
    TEgoNetModel model;
    TOrganizedNode* ann = model.NewNode(QPoint(10, 20), QString::fromUtf8("Ann Müller"));
    TOrganizedNode* bob = model.NewNode(QPoint(-5, 7), "Bob");
    TOrganizedNode* cid = model.NewNode(QPoint(300, 40), QString::fromUtf8("Cid 😀"));
    ann->Image = TestPicture(5, 4);
    ann->Attributes = {QString::fromUtf8("Stadt=Zürich")};
    ann->ReservedFloat = std::numeric_limits<float>::quiet_NaN();
    bob->ReservedFloat = std::numeric_limits<float>::infinity();
    cid->Font.Style = TFontData::fsItalic;
    TEgoNetEdge* friendLink = model.NewLink(ann, bob, "friend", "old friends");
    TEgoNetEdge* workLink = model.NewLink(bob, cid, "work", "");
    model.NewLink(cid, ann, "family", "");
    TEgoNetEdge* upperFriend = model.NewLink(cid, bob, "Friend", "");
    TEgoNetEdge* untyped = model.NewLink(ann, ann, "", "self");
    friendLink->Strength = 1.0f / 3;
    workLink->Bends.Add(QPoint(1, 1));
    model.SetShownLinkTypes({"work"});
    for (TEgoNetEdge* link : {upperFriend, friendLink, untyped})
        model.AddLink(link);
    untyped->SetTypeName("");
    TEgoNetDisplaySettings settings;
    settings.BkImage = TestPicture(2, 2);
    settings.eWeight = 0.7f;

    QTemporaryDir dir;
    WriteGraphFile(dir.filePath("first.eng"), {QString::fromUtf8("Ünïcödé"), "line 1\r\nline 2"}, settings, model);
    const QByteArray first = DumpGraphFile(dir.filePath("first.eng"));
    WriteBytes(dir.filePath("first.json"), first);
    BuildGraphFile(dir.filePath("first.json"), dir.filePath("second.eng"));
    EXPECT_EQ(QString::fromUtf8(DumpGraphFile(dir.filePath("second.eng"))), QString::fromUtf8(first));

    // What the stable dump says is right.
    const QJsonObject json = ParseJsonObject(first);
    EXPECT_EQ(JsonText(json["ShownLinkTypes"]), R"(["work","Friend",""])");
    QStringList shown;
    for (const QJsonValue& link : json["Links"].toArray())
        shown << link["TypeName"].toString() + (link["Shown"].toBool() ? "+" : "-");
    EXPECT_EQ(shown, QStringList({"friend+", "work+", "family-", "Friend+", "+"}));
    EXPECT_EQ(json["Caption"].toString(), QString::fromUtf8("Ünïcödé"));
    EXPECT_EQ(json["Nodes"][2]["Caption"].toString(), QString::fromUtf8("Cid 😀"));
    EXPECT_EQ(JsonText(json["Nodes"][0]["Attributes"]), QString::fromUtf8(R"(["Stadt=Zürich"])"));
    EXPECT_EQ(JsonText(json["Nodes"][1]["Attributes"]), R"(["Stadt=na"])");
    EXPECT_EQ(PictureOf(json["Nodes"][0]["Image"]), TestPicture(5, 4));
    EXPECT_EQ(PictureOf(json["Nodes"][1]["Image"]), ColorBallPicture().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(PictureOf(json["Settings"]["BkImage"]), TestPicture(2, 2));
    EXPECT_EQ(json["Nodes"][0]["ReservedFloat"].toString(), "NaN");
    EXPECT_EQ(json["Nodes"][1]["ReservedFloat"].toString(), "Infinity");
    EXPECT_EQ(float(json["Links"][0]["Strength"].toDouble()), 1.0f / 3);
    EXPECT_EQ(JsonText(json["Nodes"][2]["Font"]["Style"]), R"(["fsItalic"])");
}

TEST(GraphJson, MissingKeysTakeTheDefaultsOfTheDataModel)
{
    TGraphHeader header;
    TEgoNetDisplaySettings settings;
    TEgoNetModel model;
    GraphFromJson(ParseJsonObject(R"({"Nodes": [{"Caption": "Ann"}, {"Caption": "Bob"}]})"), header, settings, model);
    ASSERT_EQ(model.NodeCount(), 2);
    EXPECT_EQ(model.GetNode(1)->Caption(), "Bob");
    EXPECT_EQ(model.GetNode(0)->ID.size(), 8);
    EXPECT_NE(model.GetNode(0)->ID, model.GetNode(1)->ID);
    EXPECT_EQ(model.GetNode(0)->TypeName(), "default");
    EXPECT_EQ(model.GetNode(0)->Image, ColorBallPicture());
    EXPECT_EQ(JsonText(GraphToJson(header, settings, model)["Settings"]),
              JsonText(GraphToJson({}, TEgoNetDisplaySettings(), TEgoNetModel())["Settings"]));

    TEgoNetModel linked;
    GraphFromJson(ParseJsonObject(R"({"Nodes": [{"ID": "a1"}, {"ID": "B2", "Position": [40, 10]}],
                                      "Links": [{"Source": "A1", "Target": "b2"}]})"),
                  header, settings, linked);
    const TEgoNetEdge* link = linked.GetLink(0);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->Source, linked.GetNode(0));
    EXPECT_EQ(link->Target, linked.GetNode(1));
    EXPECT_EQ(link->TypeName(), "is_linked_to");
    EXPECT_EQ(link->MidPoint, QPoint(20, 5));
    EXPECT_EQ(link->Strength, 1.0f);
    EXPECT_EQ(linked.ShownLinks(), QList<TEgoNetEdge*>({linked.GetLink(0)}));
    EXPECT_EQ(linked.ShownLinkTypes, QStringList({"is_linked_to"}));
}

TEST(GraphJson, WhatALoadDecidesComesFromTheLoad)
{
    // Selection, link marks, curve points, attribute names and the missing picture are the
    // reader's; build writes them as given and dump shows them as loaded.
    const QJsonObject dumped = BuiltAndDumped(ParseJsonObject(R"({
        "Nodes": [{"ID": "A", "Selected": true, "SelectTime": 45000.5, "Linked": false, "Attributes": ["b=1"],
                   "Image": null},
                  {"ID": "B", "Position": [100, 0]}],
        "Links": [{"Source": "A", "Target": "B", "MidPoint": [50, 0], "CurvePoint": [7, 7]}],
        "NodeTypes": []})"));
    ExpectSubset(dumped["Nodes"][0].toObject(), ParseJsonObject(R"({"Selected": false, "SelectTime": 0,
        "Linked": true, "Attributes": ["b=1"]})"), "Nodes[0]");
    ExpectSubset(dumped["Nodes"][1].toObject(), ParseJsonObject(R"({"Linked": true, "Attributes": ["b=na"]})"), "Nodes[1]");
    EXPECT_EQ(JsonText(dumped["Links"][0]["CurvePoint"]), "[50,0]");
    EXPECT_EQ(PictureOf(dumped["Nodes"][0]["Image"]), ColorBallPicture().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(JsonText(dumped["NodeTypes"]), R"(["default"])");
}

TEST(GraphJson, RefusedInputNamesThePlace)
{
    const QByteArray twoNodes = R"("Nodes": [{"ID": "A"}, {"ID": "B"}])";
    const QByteArray bmp = EncodeBmp(TestPicture(3, 2)).toBase64();
    const struct
    {
        QByteArray Json;
        const char* Error;
    } cases[] = {
        {R"({"Nodes": [{}, {"Position": [1]}]})", "Nodes[1].Position: expected [x, y]"},
        {R"({"Nodes": [{"Position": [1, "2"]}]})", "Nodes[0].Position: expected [x, y]"},
        {R"({"Colour": 1})", "Colour: unknown key"},
        {R"({"Settings": {"StyleName": "x"}})", "Settings.StyleName: unknown key"},
        {R"({"Nodes": [{"Font": {"Bold": true}}]})", "Nodes[0].Font.Bold: unknown key"},
        {R"({"Caption": 5})", "Caption: expected a string"},
        {R"({"Settings": {"BkColor": -1}})", "Settings.BkColor: expected a colour, an integer from 0 to 4294967295"},
        {R"({"Settings": {"nShape": 256}})", "Settings.nShape: expected an integer from 0 to 255"},
        {R"({"Settings": {"eWeight": 1e39}})", "Settings.eWeight: expected a number within the range of a 32-bit float"},
        {R"({"Settings": {"eWeight": "1"}})", "Settings.eWeight: expected a number"},
        {R"({"Settings": {"ShowEdges": 1}})", "Settings.ShowEdges: expected true or false"},
        {R"({"Nodes": {}})", "Nodes: expected a list of nodes"},
        {R"({"Nodes": [5]})", "Nodes[0]: expected an object"},
        {R"({"Nodes": [{"Size": 1.5}]})", "Nodes[0].Size: expected an integer from -2147483648 to 2147483647"},
        {R"({"Nodes": [{"GroupIDs": ["a", 1]}]})", "Nodes[0].GroupIDs[1]: expected a string"},
        {R"({"Nodes": [{"Attributes": "a=1"}]})", "Nodes[0].Attributes: expected a list of strings"},
        {R"({"Nodes": [{"Font": {"Style": ["fsBold", "bold"]}}]})",
         "Nodes[0].Font.Style[1]: expected fsBold, fsItalic, fsUnderline or fsStrikeOut"},
        {R"({"Nodes": [{"Image": "x"}]})", "Nodes[0].Image: expected null or an object"},
        {R"({"Nodes": [{"Image": {"Width": 3}}]})", "Nodes[0].Image.BMP: missing"},
        {R"({"Nodes": [{"Image": {"BMP": "@@"}}]})", "Nodes[0].Image.BMP: expected a BMP file in base64"},
        {R"({"Nodes": [{"Image": {"BMP": "AAAA"}}]})", "Nodes[0].Image.BMP: not a readable BMP file"},
        {R"({"Nodes": [{"Image": {"BMP": ")" + bmp + R"(", "Width": 4}}]})", "Nodes[0].Image.Width: the BMP is 3 pixels wide"},
        {"{" + twoNodes + R"(, "Links": [{"Target": "A"}]})", "Links[0].Source: missing"},
        {"{" + twoNodes + R"(, "Links": [{"Source": "A", "Target": "C"}]})", R"(Links[0].Target: no node has the ID "C")"},
        {"{" + twoNodes + R"(, "Links": [{"Source": "A", "Target": "B", "Bends": [[1, 2], [3]]}]})",
         "Links[0].Bends[1]: expected [x, y]"},
        {"{" + twoNodes + R"(, "Links": [{"Source": "A", "Target": "B", "Shown": null}]})",
         "Links[0].Shown: expected true or false"},
        {"{" + twoNodes + R"(, "Links": [{"Source": "A", "Target": "B", "TypeName": "x"}], "ShownLinkTypes": ["y"]})",
         R"(ShownLinkTypes[0]: no link has the type "y")"},
        {"{" + twoNodes + R"(, "Links": [{"Source": "A", "Target": "B", "TypeName": "x"},
            {"Source": "B", "Target": "A", "TypeName": "X"}], "ShownLinkTypes": ["x", "X"]})",
         R"(ShownLinkTypes[1]: the type "X" is listed before)"},
        {"{" + twoNodes + R"(, "Links": [{"Source": "A", "Target": "B", "TypeName": "x", "Shown": true}],
            "ShownLinkTypes": []})",
         R"(Links[0].Shown: true, but ShownLinkTypes hides the type "x")"},
        {"{" + twoNodes + R"(, "Links": [{"Source": "A", "Target": "B", "TypeName": "Friend"},
            {"Source": "B", "Target": "A", "TypeName": "friend", "Shown": false}]})",
         R"(Links[1].Shown: false, but ShownLinkTypes shows the type "friend")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JsonErrorOf(c.Json), c.Error) << c.Json.toStdString();
}

TEST(GraphJson, MalformedTextNamesLineAndColumn)
{
    EXPECT_EQ(JsonErrorOf("{\n  \"Caption\": \"x\",\n  oops\n}"), "line 3, column 4: unterminated object");
    EXPECT_EQ(JsonErrorOf("[1, 2]"), "expected an object at the top level");
}
