#include "settings/TEgoNetDisplaySettings.h"

#include "foundation/StreamError.h"
#include "foundation/ValueReader.h"
#include "foundation/ValueTags.h"
#include "model/Records.h"
#include "model/TEgoNetModel.h"
#include "settings/IDisplaySettingsView.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

using TSettings = TEgoNetDisplaySettings;

const QString kReadError = QStringLiteral("Display settings data read error");

// A view whose colours differ from the record's defaults. Its Boolean properties are the bits
// of Flags in block order; by default each is the opposite of the record's default.
struct TFakeView final : IDisplaySettingsView
{
    TDisplayOptions DisplayOptions() const override
    {
        const auto bit = [this](int k) { return bool(Flags >> k & 1); };
        return {.BkColor = 0x101010,
                .ClusterColor = 0x505050,
                .PositionColor = 0x606060,
                .nSelectionColor = 0x202020,
                .ShowBkImage = bit(0),
                .ShowShape = bit(1),
                .ShowImage = bit(2),
                .ShowLabel = bit(3),
                .ShowDisabledNodes = bit(4),
                .ShowToolTips = bit(5),
                .ShowBorders = bit(6),
                .ShowEdges = bit(7),
                .ShowDirections = bit(8),
                .ShowEdgeLabel = bit(9),
                .ShowStress = bit(10),
                .ShowEdgeType = bit(11),
                .AutoOrganize = bit(12),
                .Animation = bit(13),
                .SoundEffects = bit(14)};
    }
    uint32_t AltColor() const override { return 0x303030; }
    uint32_t GrpColor() const override { return 0x404040; }
    const TEgoNetModel& Model() const override { return FModel; }

    uint32_t Flags = 0b101'1110'0000'0100;
    TEgoNetModel FModel;
};

// Every block field away from its default and from the others.
void FillAll(TSettings& s)
{
    s.BkColor = 0xA1B2C3;
    s.ClusterColor = 0xFFFFFFFF;
    s.BkImage = QImage(3, 2, QImage::Format_RGB32);
    s.BkImage.fill(qRgb(10, 20, 30));
    s.BkImage.setPixel(2, 1, qRgb(250, 128, 1));
    bool* flags[] = {&s.ShowBkImage, &s.ShowShape, &s.ShowImage, &s.ShowLabel, &s.ShowDisabledNodes,
                     &s.ShowToolTips, &s.ShowBorders, &s.ShowEdges, &s.ShowDirections, &s.ShowEdgeLabel,
                     &s.ShowStress, &s.Reserved1, &s.Reserved2, &s.ShowEdgeType, &s.AutoOrganize, &s.Animation,
                     &s.SoundEffects};
    for (size_t i = 0; i < std::size(flags); ++i)
        *flags[i] = (0b1'0101'1101'0011'0110u >> i) & 1;
    s.Reserved3 = -123456;
    s.nAltColor = 0x010203;
    s.nGrpColor = 0x040506;
    s.nShape = 11;
    s.nImageID = "DEADBEEF";
    s.nImageTransparent = true;
    s.nHeight = 300;
    s.nFont = {QString::fromUtf8("Gen\xc3\xa8ve"), 13, 0x070809, TFontData::fsItalic | TFontData::fsUnderline};
    s.nLbOrientation = 3;
    s.nSelectionColor = 0x0A0B0C;
    s.eColor = 0x0D0E0F;
    s.eWidth = 5;
    s.eStyle = 4;
    s.eFont = {"Courier", 9, 0x111213, TFontData::fsBold | TFontData::fsStrikeOut};
    s.eHeadColor = 0x141516;
    s.eHeadLength = 17;
    s.eHeadWidth = 6;
    s.eWeight = 0.375f;
}

QByteArray Block(const TSettings& s)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    s.WriteToStream(buffer);
    return bytes;
}

// The message of reading bytes into s, or empty on success.
QString ReadBlock(QByteArray bytes, TSettings& s)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        s.ReadFromStream(buffer);
    } catch (const EStreamError& e) {
        return e.Message();
    }
    return QString();
}

// The block's values as text, read without the record: integers in hexadecimal, Booleans as
// T or F, strings quoted, the picture as its size.
QString BlockValues(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ValueReader r(buffer);
    QStringList values;
    while (true) {
        r.Finish();
        if (buffer.atEnd())
            return values.join(QLatin1Char(' '));
        const uint8_t tag = r.PeekTag();
        if (tag == 'T') {
            const QImage picture = ReadPictureRecord(r);
            values << QStringLiteral("pic%1x%2").arg(picture.width()).arg(picture.height());
        } else if (tag == ValueTag::True || tag == ValueTag::False)
            values << (r.ReadBoolean() ? "T" : "F");
        else if (tag == ValueTag::Single)
            values << QString::number(r.ReadSingle());
        else if (tag == ValueTag::ShortString || tag == ValueTag::Utf8String)
            values << '"' + r.ReadString() + '"';
        else
            values << QString::number(uint32_t(r.ReadInteger()), 16);
    }
}

} // namespace

TEST(TEgoNetDisplaySettings, DefaultsAndSetDefaults)
{
    TSettings s;
    EXPECT_EQ(s.View(), nullptr);
    EXPECT_EQ(s.StyleName, "Default");
    EXPECT_EQ(s.PositionColor, 0x009900u);
    EXPECT_EQ(BlockValues(Block(s)),
              "ffffff ff999a pic0x0 T T F T T T T T T F F F F F F T F 0 ccff 8f00bf 2 \"00000000\" F e "
              "\"Tahoma\" 8 0 \"\" 2 bf d68200 1 0 \"Tahoma\" 7 975300 \"\" d68200 a 3 1");

    FillAll(s);
    s.StyleName = "Dark";
    s.SetDefaults();
    TSettings expected;
    expected.Reserved3 = -123456;
    EXPECT_EQ(Block(s), Block(expected)) << "all but Reserved3";
    EXPECT_EQ(s.StyleName, "Default");
}

TEST(TEgoNetDisplaySettings, BlockRoundTripsEveryFieldInTableOrder)
{
    TSettings s;
    FillAll(s);
    s.StyleName = "Classic";
    s.PositionColor = 0x123456;
    const QByteArray bytes = Block(s);
    EXPECT_EQ(BlockValues(bytes),
              QString::fromUtf8("a1b2c3 ffffffff pic3x2 F T T F T T F F T F T T T F T F T fffe1dc0 10203 40506 b "
                                "\"DEADBEEF\" T 12c \"Gen\xc3\xa8ve\" d 70809 \" fsItalic fsUnderline\" 3 a0b0c "
                                "d0e0f 5 4 \"Courier\" 9 111213 \" fsBold fsStrikeOut\" 141516 11 6 0.375"));

    TSettings read;
    ASSERT_EQ(ReadBlock(bytes, read), "");
    EXPECT_EQ(Block(read), bytes);
    EXPECT_EQ(read.BkImage.pixel(2, 1), qRgb(250, 128, 1));
    EXPECT_EQ(read.StyleName, "Default") << "not in the block";
    EXPECT_EQ(read.PositionColor, 0x009900u) << "not in the block";

    // An empty background in the block clears the picture the record had.
    ASSERT_EQ(ReadBlock(Block(TSettings()), read), "");
    EXPECT_TRUE(read.BkImage.isNull());

    // The block ends exactly where the next reader starts.
    QByteArray followed = bytes + QByteArray("\x06\x04tail", 6);
    QBuffer buffer(&followed);
    buffer.open(QIODevice::ReadOnly);
    read.ReadFromStream(buffer);
    EXPECT_EQ(ValueReader(buffer).ReadString(), "tail");
}

TEST(TEgoNetDisplaySettings, DamagedBlocks)
{
    TSettings s;
    FillAll(s);
    const QByteArray good = Block(s);
    for (qsizetype n = 0; n < good.size(); ++n) {
        TSettings read;
        ASSERT_EQ(ReadBlock(good.left(n), read), kReadError) << "cut at " << n;
    }

    // B25, the image identifier, as an integer: what came before stays read.
    QByteArray wrongKind = good;
    wrongKind[wrongKind.indexOf("\x06\x08" "DEADBEEF")] = char(ValueTag::Integer8);
    TSettings read;
    EXPECT_EQ(ReadBlock(wrongKind, read), kReadError);
    EXPECT_EQ(read.nShape, 11);
    EXPECT_EQ(read.BkImage.size(), QSize(3, 2));
    EXPECT_EQ(read.nImageID, "00000000");

    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = good;
        for (int c = 0; c < 3; ++c)
            bytes[qsizetype(random() % uint32_t(bytes.size()))] = char(random());
        const QString message = ReadBlock(bytes, read);
        ASSERT_TRUE(message.isEmpty() || message == kReadError) << "round " << round;
    }
}

// INI reading

namespace {

class TIniSettingsTest : public ::testing::Test
{
protected:
    QString Ini(const QByteArray& text, const QString& name = QStringLiteral("enDispSettings.ini"))
    {
        const QString path = FDir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        return path;
    }

    QTemporaryDir FDir;
};

} // namespace

TEST_F(TIniSettingsTest, FileMissingOrEmpty)
{
    TSettings s;
    FillAll(s);
    s.StyleName = "Mine";
    const QByteArray before = Block(s);
    EXPECT_FALSE(s.LoadFromIni(FDir.filePath("absent.ini")));
    EXPECT_FALSE(s.LoadFromIni(QString()));
    EXPECT_FALSE(s.LoadFromIni(FDir.path()));
    EXPECT_EQ(Block(s), before);
    EXPECT_EQ(s.StyleName, "Mine");

    // An empty file gives the defaults of everything it could hold.
    ASSERT_TRUE(s.LoadFromIni(Ini("")));
    TSettings expected;
    expected.BkImage = s.BkImage;
    expected.Reserved1 = s.Reserved1;
    expected.Reserved2 = s.Reserved2;
    expected.Reserved3 = s.Reserved3;
    EXPECT_EQ(Block(s), Block(expected));
    EXPECT_EQ(s.StyleName, "Default");
}

TEST_F(TIniSettingsTest, EveryKey)
{
    TSettings s;
    ASSERT_TRUE(s.LoadFromIni(Ini("[EgoNet Display General Settings]\n"
                                  "BkColor=0x123456\nClusterColor=$ABCDEF\nPositionColor=-1\nShowBkImage=0\n"
                                  "ShowShape=0\nShowImage=1\nShowLabel=0\nShowDisabledNodes=0\nShowToolTips=0\n"
                                  "ShowBorders=0\nShowEdges=0\nShowDirections=0\nShowEdgeLabel=1\nShowStress=5\n"
                                  "ShowEdgeType=1\nAutoOrganize=1\nAnimation=0\nSoundEffects=1\n"
                                  "[node settings]\n"
                                  "nAltColor=1\nnGrpColor=2\nNSHAPE=266\nnImageID= 0012AB34 \nnImageTransparent=1\n"
                                  "nHeight=20\nnFont=Arial, 10, 255, fsBold fsUnderline\nnLbOrientation=0\n"
                                  "nSelectionColor=3\n"
                                  "[Edge Settings]\n"
                                  "eColor=4\neWidth=5\neStyle=3\neFont=Courier,6,0x10,fsItalic\neHeadColor=7\n"
                                  "eHeadLength=8\neHeadWidth=9\neWeight=0.25\n")));
    EXPECT_EQ(BlockValues(Block(s)),
              "123456 abcdef pic0x0 F F T F F F F F F T T F F T T F T 0 1 2 a \"0012AB34\" T 14 "
              "\"Arial\" a ff \" fsBold fsUnderline\" 0 3 4 5 3 \"Courier\" 6 10 \" fsItalic\" 7 8 9 0.25");
    EXPECT_EQ(s.PositionColor, 0xFFFFFFFFu);
}

TEST_F(TIniSettingsTest, UnreadableValuesGiveDefaults)
{
    TSettings s;
    ASSERT_TRUE(s.LoadFromIni(Ini("[EgoNet Display General Settings]\n"
                                  "BkColor=red\nShowShape=0\nShowImage=0\nAnimation=no\n"
                                  "[Node Settings]\nnHeight=0X7FFFFFFF\nnShape=$-1\n"
                                  "[Edge Settings]\neWidth=0x 3\neHeadWidth=0x1FFFFFFFF\neWeight=1e300\n")));
    EXPECT_EQ(s.BkColor, 16777215u);
    EXPECT_TRUE(s.ShowShape) << "never neither shape nor picture";
    EXPECT_FALSE(s.ShowImage);
    EXPECT_TRUE(s.Animation);
    EXPECT_EQ(s.nHeight, 0x7FFFFFFF);
    EXPECT_EQ(s.nShape, 2);
    EXPECT_EQ(s.eWidth, 1);
    EXPECT_EQ(s.eHeadWidth, 3) << "beyond 32 bits";
    EXPECT_EQ(s.eWeight, 1.0f) << "beyond the range of a float";
    EXPECT_EQ(s.eFont, (TFontData{"Tahoma", 7, 0x975300, 0})) << "missing font";
}

TEST_F(TIniSettingsTest, StyleName)
{
    TSettings s;
    const auto styleOf = [&](const char* text, const char* file) {
        EXPECT_TRUE(s.LoadFromIni(Ini(text, file)));
        return s.StyleName;
    };
    EXPECT_EQ(styleOf("[Style]\nStyleFile=\n", "Dark.ini"), "Dark");
    EXPECT_EQ(styleOf("[Style]\nStyleFile=\n", "Night.blue.ini"), "Night");
    EXPECT_EQ(styleOf("[Style]\nStyleFile=Classic.ini\n", "a.ini"), "Classic");
    EXPECT_EQ(styleOf("[Style]\nStyleFile=NoDot\n", "b.ini"), "NoDot");
    EXPECT_EQ(styleOf("", "c.ini"), "Default");
}

TEST_F(TIniSettingsTest, Fonts)
{
    const TFontData fallback{"Tahoma", 8, 0, 0};
    const struct
    {
        const char* Value;
        TFontData Expected;
    } cases[] = {
        {"Arial,ten,0,fsBold", fallback},
        {"Arial,10,black", fallback},
        {"", fallback},
        {" Times New Roman , 11 , $FF , fsStrikeOut fsBold ",
         {"Times New Roman", 11, 255, TFontData::fsBold | TFontData::fsStrikeOut}},
        // Style words are case-sensitive substrings of everything after the third comma.
        {"A,1,2,fsbold xfsItalicx,fsUnderline", {"A", 1, 2, TFontData::fsItalic | TFontData::fsUnderline}},
        // Without a further comma the last field is taken again.
        {"A,9", {"A", 9, 9, 0}},
    };
    TSettings s;
    for (const auto& c : cases) {
        s.nFont = {"Old", 99, 99, TFontData::fsBold};
        ASSERT_TRUE(s.LoadFromIni(Ini(QByteArray("[Node Settings]\nnFont=") + c.Value)));
        EXPECT_EQ(s.nFont, c.Expected) << c.Value;
    }
    ASSERT_TRUE(s.LoadFromIni(Ini("[Edge Settings]\neFont=Arial,x,0,fsBold\n")));
    EXPECT_EQ(s.eFont, (TFontData{"Tahoma", 7, 0x975300, 0}));
}

// Capturing and deriving

TEST(TEgoNetDisplaySettingsView, CaptureTakesEveryViewProperty)
{
    TSettings alone;
    FillAll(alone);
    const QByteArray before = Block(alone);
    EXPECT_FALSE(alone.CaptureFromView());
    EXPECT_EQ(Block(alone), before);

    TFakeView view;
    TSettings s(&view);
    EXPECT_EQ(s.View(), &view);
    ASSERT_TRUE(s.CaptureFromView());
    EXPECT_EQ(s.PositionColor, 0x606060u);
    EXPECT_EQ(BlockValues(Block(s)),
              "101010 505050 pic0x0 F F T F F F F F F T T F F T T F T 0 303030 404040 2 \"00000000\" F e "
              "\"Tahoma\" 8 0 \"\" 2 202020 d68200 1 0 \"Tahoma\" 7 975300 \"\" d68200 a 3 1");
    // One property at a time, so that no two of them can be mixed up.
    for (int k = 0; k < 15; ++k) {
        view.Flags = 1u << k;
        s.CaptureFromView();
        QStringList flags = BlockValues(Block(s)).section(' ', 3, 19).split(' ');
        flags.remove(11, 2); // the reserved ones
        EXPECT_EQ(flags.join(""), QString(15, 'F').replace(k, 1, 'T')) << "view property " << k;
    }
}

TEST(TEgoNetDisplaySettingsView, DeriveWithoutNodesOrLinksOrView)
{
    TFakeView view;
    TSettings s(&view);
    FillAll(s);
    s.DeriveFromGraph();
    TSettings expected(&view);
    expected.Reserved3 = s.Reserved3;
    expected.CaptureFromView();
    EXPECT_EQ(Block(s), Block(expected));

    TSettings alone;
    FillAll(alone);
    alone.DeriveFromGraph();
    TSettings defaults;
    defaults.Reserved3 = alone.Reserved3;
    EXPECT_EQ(Block(alone), Block(defaults));
}

TEST(TEgoNetDisplaySettingsView, DeriveTakesWhatAllNodesOrAllShownLinksShare)
{
    TFakeView view;
    TEgoNetModel& model = view.FModel;
    for (int i = 0; i < 3; ++i) {
        TOrganizedNode* node = model.NewNode(QPoint(i * 10, 0), QString());
        node->Shape = 9;
        node->Size = 20;
        node->ImageID = "0000ABCD";
        node->ImageTransparent = true;
        node->Font = {"Arial", i == 2 ? 9 : 8, 0, 0};
        node->LabelOrientation = uint8_t(i == 2 ? 0 : 3);
        node->Color = 0x100u * uint32_t(i);
        node->Enabled = i != 1;
    }
    TEgoNetEdge* shown = model.NewLink(model.GetNode(0), model.GetNode(1), "friend", "");
    TEgoNetEdge* other = model.NewLink(model.GetNode(1), model.GetNode(0), "colleague", "");
    for (TEgoNetEdge* link : {shown, other}) {
        link->Strength = link == shown ? 0.75f : 0.125f;
        link->Width = link == shown ? 4 : 7;
        link->Color = link == shown ? 0xFF : 0xFF0000;
        link->PenStyle = 2;
        link->Font = {"Arial", 6, 0xAAAAAA, TFontData::fsUnderline};
        link->HeadColor = 0xBBBBBB;
        link->HeadLength = 12;
        link->HeadWidth = 5;
    }
    model.SetShownLinkTypes({"friend"});
    TSettings s(&view);
    s.DeriveFromGraph();
    // From the alternative colour on: node colours come from the view, the last node's label
    // position and font differ; the one shown link gives its look and strength.
    EXPECT_EQ(BlockValues(Block(s)).section(' ', 21),
              "303030 404040 9 \"0000ABCD\" T 14 \"Tahoma\" 8 0 \"\" 2 202020 "
              "ff 4 2 \"Arial\" 6 aaaaaa \" fsUnderline\" bbbbbb c 5 0.75");

    model.SetShownLinkTypes({"*"});
    model.DeleteNode(model.GetNode(2));
    s.DeriveFromGraph();
    EXPECT_EQ(BlockValues(Block(s)).section(' ', 21),
              "303030 404040 9 \"0000ABCD\" T 14 \"Arial\" 8 0 \"\" 3 202020 "
              "d68200 1 2 \"Arial\" 6 aaaaaa \" fsUnderline\" bbbbbb c 5 1")
        << "two nodes that agree; two links differing in colour, width and strength";
}
