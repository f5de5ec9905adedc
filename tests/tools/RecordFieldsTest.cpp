#include "GraphJson.h"
#include "ToolTestSupport.h"

#include "foundation/ValueTestSupport.h"
#include "model/Records.h"
#include "model/TEgoNetModel.h"
#include "settings/GraphFile.h"
#include "settings/TEgoNetDisplaySettings.h"

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <random>

namespace {

void ReadFrom(const QByteArray& bytes, const std::function<void(ValueReader&)>& read)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    ValueReader reader(buffer);
    read(reader);
}

// Random values for every kind of field, from a fixed seed so that a failure repeats.
class TRandomFields
{
public:
    explicit TRandomFields(unsigned seed) : FEngine(seed) {}

    int32_t Integer() { return int32_t(FEngine()); }
    uint32_t Colour() { return uint32_t(FEngine()); }
    uint8_t Code() { return uint8_t(FEngine()); }
    bool Flag() { return FEngine() & 1; }
    int Below(int n) { return int(FEngine() % unsigned(n)); }
    float Single() { return std::bit_cast<float>(uint32_t(FEngine())); }
    double Date() { return std::uniform_real_distribution<double>(-700000, 3000000)(FEngine); }
    QPoint Point() { return QPoint(Integer(), Integer()); }

    QString Text()
    {
        static const QString letters = QString::fromUtf8("aZ09 =_-é友—\t.");
        QString text;
        for (int n = Below(12); n > 0; --n)
            text += letters[Below(int(letters.size()))];
        return text;
    }

    QStringList Texts()
    {
        QStringList list;
        for (int n = Below(5); n > 0; --n)
            list.append(Text());
        return list;
    }

    TFontData Font() { return TFontData{Text(), Integer(), Colour(), uint8_t(Below(16))}; }

    QImage Picture()
    {
        QImage image(1 + Below(6), 1 + Below(6), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, 0xFF000000u | (FEngine() & 0xFFFFFFu));
        return image;
    }

    TPoints Bends()
    {
        TPoints points;
        for (int n = Below(5); n > 0; --n)
            points.Add(Point());
        return points;
    }

    // Every field shared by persons and links.
    void FillObject(TEgoNetObject& o)
    {
        o.SetCaption(Text());
        o.Font = Font();
        o.Color = Colour();
        static_cast<QStringList&>(o.Attributes) = Texts();
        o.IsGroup = Flag();
        o.GroupIDs = Texts();
        o.Clusters = Texts();
        o.ReservedInt1 = Integer();
        o.ReservedInt2 = Integer();
        o.Key = Text();
        o.HideLabel = Flag();
        o.ReservedFloat = Single();
    }

    void FillNode(TEgoNetNode& n, const QString& id)
    {
        FillObject(n);
        n.ID = id;
        n.SetTypeName(Text());
        n.ReservedFlag = Flag();
        n.Position = Point();
        n.LabelPos = Point();
        n.LabelOrientation = Code();
        n.ImageID = Text();
        n.Image = Picture();
        n.ImageTransparent = Flag();
        n.Shape = Code();
        n.Size = Integer();
        n.Linked = Flag();
        n.Enabled = Flag();
        n.Visible = Flag();
        n.Movable = Flag();
        n.SetSelected(Flag());
        n.SelectTime = Date();
    }

    void FillLink(TEgoNetEdge& l, const QString& typeName)
    {
        FillObject(l);
        l.SetTypeName(typeName);
        l.Directed = Flag();
        l.Bends = Bends();
        l.MidPoint = Point();
        l.CurvePoint = Point();
        l.Offset = Integer();
        l.Strength = Single();
        l.Width = Integer();
        l.PenStyle = Code();
        l.HeadLength = Integer();
        l.HeadWidth = Integer();
        l.HeadColor = Colour();
    }

private:
    std::mt19937 FEngine;
};

// A network of random persons and links; the filter shows every link.
void FillRandomNetwork(TEgoNetModel& model, TRandomFields& random)
{
    for (int i = 0; i < 6; ++i)
        random.FillNode(*model.NewNode(QPoint(), QString()), QStringLiteral("N%1").arg(i) + random.Text());
    const QStringList types = {QStringLiteral("knows"), QStringLiteral("works_with"), QStringLiteral("is_linked_to")};
    for (int i = 0; i < 8; ++i) {
        TEgoNetEdge* link = model.NewLink(model.GetNode(random.Below(6)), model.GetNode(random.Below(6)), QString(), QString());
        random.FillLink(*link, types[random.Below(3)]);
    }
    // A link marks its ends linked whenever it is added, reading the JSON too.
    QStringList used;
    for (TEgoNetEdge* link : model.Links()) {
        link->MarkEndsLinked();
        if (!used.contains(link->TypeName()))
            used.append(link->TypeName());
    }
    model.SetShownLinkTypes(used);
}

QByteArray NodeBytes(const TEgoNetNode& node)
{
    return Written([&](ValueWriter& w) { WriteNodeRecord(node, w); });
}

QByteArray LinkBytes(const TEgoNetEdge& link)
{
    return Written([&](ValueWriter& w) { WriteLinkRecord(link, w); });
}

TEST(RecordFields, RandomRecordsWriteReadWriteToTheSameBytes)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        TRandomFields random(seed);
        TEgoNetNode source;
        TEgoNetNode target;
        random.FillNode(source, random.Text());
        random.FillNode(target, random.Text());
        TEgoNetEdge link(&source, &target);
        random.FillLink(link, random.Text());

        const QByteArray nodeBytes = NodeBytes(source);
        TOrganizedNode nodeBack;
        ReadFrom(nodeBytes, [&](ValueReader& r) { ReadNodeRecord(nodeBack, r); });
        EXPECT_EQ(NodeBytes(nodeBack).toHex(), nodeBytes.toHex()) << "seed " << seed;
        EXPECT_EQ(nodeBack.Image.size(), source.Image.size()) << "seed " << seed;
        EXPECT_FALSE(nodeBack.ImageMask.isNull()) << "seed " << seed;

        const QByteArray linkBytes = LinkBytes(link);
        TEgoNetEdge linkBack;
        QString sourceID;
        QString targetID;
        ReadFrom(linkBytes, [&](ValueReader& r) { ReadLinkRecord(linkBack, r, sourceID, targetID); });
        EXPECT_EQ(sourceID, source.ID);
        EXPECT_EQ(targetID, target.ID);
        linkBack.Source = &source;
        linkBack.Target = &target;
        EXPECT_EQ(LinkBytes(linkBack).toHex(), linkBytes.toHex()) << "seed " << seed;
    }
}

TEST(RecordFields, RandomNetworksGoThroughJsonAndBackUnchanged)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (unsigned seed = 1; seed <= 10; ++seed) {
        TRandomFields random(seed);
        TEgoNetModel model;
        FillRandomNetwork(model, random);

        // In memory every value comes back, also those a load would decide.
        const QJsonObject json = GraphToJson({}, TEgoNetDisplaySettings(), model);
        TGraphHeader header;
        TEgoNetDisplaySettings settings;
        TEgoNetModel built;
        GraphFromJson(json, header, settings, built);
        EXPECT_EQ(QJsonDocument(GraphToJson(header, settings, built)).toJson(), QJsonDocument(json).toJson())
            << "seed " << seed;

        // Through the files: the dump of a written network, built and dumped again, stays the same.
        const QString graph = dir.filePath(QStringLiteral("random.graph"));
        const QString rebuilt = dir.filePath(QStringLiteral("rebuilt.graph"));
        const QString text = dir.filePath(QStringLiteral("random.json"));
        WriteGraphFile(graph, {}, TEgoNetDisplaySettings(), model);
        const QByteArray dumped = DumpGraphFile(graph);
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(dumped);
        file.close();
        BuildGraphFile(text, rebuilt);
        EXPECT_EQ(DumpGraphFile(rebuilt), dumped) << "seed " << seed;
    }
}

// Of several bad values in one record, the first in the order of the record is named.
TEST(RecordFields, JsonNamesTheFirstBadValueInRecordOrder)
{
    EXPECT_EQ(JsonErrorOf(R"({"Nodes": [{"ReservedFloat": "x", "Font": 1, "Position": 2}]})"),
              "Nodes[0].Position: expected [x, y]");
    EXPECT_EQ(JsonErrorOf(R"({"Nodes": [{"ID": "A"}], "Links": [{"Source": "A", "Target": "A", "Caption": 1, "Bends": 2}]})"),
              "Links[0].Bends: expected a list of [x, y]");
}

// A person and a link with a value away from the default in each field.
void FillFixed(TEgoNetNode& node, TEgoNetNode& other, TEgoNetEdge& link)
{
    TRandomFields random(2024);
    random.FillNode(node, QStringLiteral("0000ABCD"));
    random.FillNode(other, QStringLiteral("0000EF01"));
    random.FillLink(link, QStringLiteral("knows"));
    node.SelectTime = 46000.25;
}

// Captured from the writer before its fields were listed in one place.
const char kFixedNode[] =
    "0608303030304142434406043d610930140a0000002e300939e58f8b3d613908048820f961047e7d7fb70461e0b36104"
    "12af74ac025a06022e5f545046300654496d61676500044c656674020003546f70020005576964746802020648656967"
    "68740203084175746f53697a65090c506963747572652e446174610a5a00000007544269746d61704e000000424d4e00"
    "00000000000036000000280000000200000003000000010018000000000018000000c40e0000c40e0000000000000000"
    "000080d5672b540e000060a8c3b7972f00005e82e38d870e0000000009060330392e044a60b4cb044231edad060003f7"
    "0004a5f34d790416fe6cf5080909090811000000000876e640010200000901020000010202140b0000003d30206130e2"
    "8094e2809414100000005f5a395a30e28094e58f8b0930c3a93d00041bb3736004567375181404000000c3a9392d090f"
    "36f93b48";
const char kFixedLink[] =
    "06056b6e6f777306083030303041424344060830303030454630310901020204745401eb0465a71f5804a6c139390453"
    "96cb3a000408bbe72204e1fed2f10419aa331f045f89ae4a0487aef868060a5f203d393d205a30395f0f8f1d83b50444"
    "a02fb604692a71560225060761616161092e0904b45bf1f804bef4c2280618206673556e6465726c696e652066735374"
    "72696b654f757404fc3207f304ec5bb43a0494281e3b010201140c000000203d2d3d093920c3a9613009000801020206"
    "0961612d2d3d39393d2d140d00000030e58f8be280942e2061e2809400010202140d0000003909e2809409396130c3a9"
    "5a2e06032039300004600493e10499234b701405000000e58f8b3d20090f2b661196";

TEST(RecordFields, FixedRecordsKeepTheirBytes)
{
    TEgoNetNode node;
    TEgoNetNode other;
    TEgoNetEdge link(&node, &other);
    FillFixed(node, other, link);
    EXPECT_EQ(NodeBytes(node).toHex().toStdString(), kFixedNode);
    EXPECT_EQ(LinkBytes(link).toHex().toStdString(), kFixedLink);
}

} // namespace
