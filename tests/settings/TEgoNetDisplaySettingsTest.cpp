#include "settings/TEgoNetDisplaySettings.h"

#include "foundation/ObjectRecord.h"
#include "foundation/StreamError.h"
#include "foundation/ValueReader.h"
#include "foundation/ValueWriter.h"
#include "model/Records.h"
#include "model/TEgoNetModel.h"
#include "settings/IDisplaySettingsView.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

using TSettings = TEgoNetDisplaySettings;

const QString kReadError = QStringLiteral("Display settings data read error");

// A view whose every property differs from the record's default.
struct TFakeView final : IDisplaySettingsView
{
    uint32_t FColor = 0x101010;
    uint32_t FSelectionColor = 0x202020;
    uint32_t FAltColor = 0x303030;
    uint32_t FGrpColor = 0x404040;
    uint32_t FClusterColor = 0x505050;
    uint32_t FPositionColor = 0x606060;
    bool FShowBkImage = false;
    bool FShowShape = false;
    bool FShowImage = true;
    bool FShowCaption = false;
    bool FShowEdges = false;
    bool FShowEdgeType = true;
    bool FShowEdgeLabel = true;
    bool FShowStress = true;
    bool FShowDirections = false;
    bool FShowDisabledNodes = false;
    bool FShowToolTips = false;
    bool FShowBorders = false;
    bool FAutoOrganize = true;
    bool FSoundEffects = true;
    bool FSpringAnimation = false;
    TEgoNetModel FModel;

    uint32_t Color() const override { return FColor; }
    uint32_t SelectionColor() const override { return FSelectionColor; }
    uint32_t AltColor() const override { return FAltColor; }
    uint32_t GrpColor() const override { return FGrpColor; }
    uint32_t ClusterColor() const override { return FClusterColor; }
    uint32_t PositionColor() const override { return FPositionColor; }
    bool ShowBkImage() const override { return FShowBkImage; }
    bool ShowShape() const override { return FShowShape; }
    bool ShowImage() const override { return FShowImage; }
    bool ShowCaption() const override { return FShowCaption; }
    bool ShowEdges() const override { return FShowEdges; }
    bool ShowEdgeType() const override { return FShowEdgeType; }
    bool ShowEdgeLabel() const override { return FShowEdgeLabel; }
    bool ShowStress() const override { return FShowStress; }
    bool ShowDirections() const override { return FShowDirections; }
    bool ShowDisabledNodes() const override { return FShowDisabledNodes; }
    bool ShowToolTips() const override { return FShowToolTips; }
    bool ShowBorders() const override { return FShowBorders; }
    bool AutoOrganize() const override { return FAutoOrganize; }
    bool SoundEffects() const override { return FSoundEffects; }
    bool SpringAnimation() const override { return FSpringAnimation; }
    const TEgoNetModel& Model() const override { return FModel; }
};

// The Booleans B4 ... B20 in block order.
constexpr bool TSettings::*kBlockFlags[] = {
    &TSettings::ShowBkImage,   &TSettings::ShowShape,    &TSettings::ShowImage,     &TSettings::ShowLabel,
    &TSettings::ShowDisabledNodes, &TSettings::ShowToolTips, &TSettings::ShowBorders, &TSettings::ShowEdges,
    &TSettings::ShowDirections, &TSettings::ShowEdgeLabel, &TSettings::ShowStress,  &TSettings::Reserved1,
    &TSettings::Reserved2,     &TSettings::ShowEdgeType, &TSettings::AutoOrganize,  &TSettings::Animation,
    &TSettings::SoundEffects,
};

QImage SmallPicture()
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    picture.setPixel(2, 1, qRgb(250, 128, 1));
    return picture;
}

// Every block field away from its default, and all of them different from each other.
void FillAll(TSettings& s)
{
    s.BkColor = 0x00A1B2C3;
    s.ClusterColor = 0xFFFFFFFF;
    s.BkImage = SmallPicture();
    for (size_t i = 0; i < std::size(kBlockFlags); ++i)
        s.*kBlockFlags[i] = (0x1A6B5u >> i) & 1;
    s.Reserved3 = -123456;
    s.nAltColor = 0x00010203;
    s.nGrpColor = 0x00040506;
    s.nShape = 11;
    s.nImageID = "DEADBEEF";
    s.nImageTransparent = true;
    s.nHeight = 300;
    s.nFont = TFontData{QString::fromUtf8("Gen\xc3\xa8ve Sans"), 13, 0x00070809, TFontData::fsItalic | TFontData::fsUnderline};
    s.nLbOrientation = 3;
    s.nSelectionColor = 0x000A0B0C;
    s.eColor = 0x000D0E0F;
    s.eWidth = 5;
    s.eStyle = 4;
    s.eFont = TFontData{"Courier", 9, 0x00111213, TFontData::fsBold | TFontData::fsStrikeOut};
    s.eHeadColor = 0x00141516;
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

// The error message of reading bytes into s, or empty on success.
QString ReadBlock(const QByteArray& bytes, TSettings& s)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    try {
        s.ReadFromStream(buffer);
    } catch (const EStreamError& e) {
        return e.Message();
    }
    return QString();
}

} // namespace

TEST(TEgoNetDisplaySettings, CreationHoldsTheBuiltInDefaults)
{
    const TSettings s;
    EXPECT_EQ(s.View(), nullptr);
    EXPECT_EQ(s.StyleName, "Default");
    EXPECT_EQ(s.BkColor, 0xFFFFFFu);
    EXPECT_TRUE(s.BkImage.isNull());
    EXPECT_EQ(s.ClusterColor, 0xFF999Au);
    EXPECT_EQ(s.PositionColor, 0x009900u);
    const bool flags[] = {true, true, false, true, true, true, true, true, true,
                          false, false, false, false, false, false, true, false};
    for (size_t i = 0; i < std::size(kBlockFlags); ++i)
        EXPECT_EQ(s.*kBlockFlags[i], flags[i]) << "flag B" << i + 4;
    EXPECT_EQ(s.Reserved3, 0);
    EXPECT_EQ(s.nSelectionColor, 0x0000BFu);
    EXPECT_EQ(s.eWeight, 1.0f);
    const TDisplayDefaults base;
    EXPECT_EQ(s.nFont, base.nFont);
    EXPECT_EQ(s.eFont, (TFontData{"Tahoma", 7, 0x975300, 0}));
    EXPECT_EQ(s.nShape, 2);
    EXPECT_EQ(s.nHeight, 14);
}

TEST(TEgoNetDisplaySettings, SetDefaultsResetsAllButReserved3)
{
    TSettings s;
    FillAll(s);
    s.StyleName = "Dark";
    s.SetDefaults();
    EXPECT_EQ(Block(s), [] {
        TSettings expected;
        expected.Reserved3 = -123456;
        return Block(expected);
    }()) << "every block field but Reserved3 back at its default";
    EXPECT_EQ(s.StyleName, "Default");
    EXPECT_EQ(s.PositionColor, 0x009900u);
}

TEST(TEgoNetDisplaySettings, BlockValuesComeInTableOrder)
{
    TSettings s;
    FillAll(s);
    QByteArray bytes = Block(s);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ValueReader r(buffer);
    EXPECT_EQ(r.ReadInteger(), int32_t(0x00A1B2C3));
    EXPECT_EQ(r.ReadInteger(), -1) << "ClusterColor";
    const QImage picture = ReadPictureRecord(r);
    EXPECT_EQ(picture.size(), QSize(3, 2));
    for (size_t i = 0; i < std::size(kBlockFlags); ++i)
        EXPECT_EQ(r.ReadBoolean(), s.*kBlockFlags[i]) << "flag B" << i + 4;
    EXPECT_EQ(r.ReadInteger(), -123456);
    EXPECT_EQ(r.ReadInteger(), 0x00010203);
    EXPECT_EQ(r.ReadInteger(), 0x00040506);
    EXPECT_EQ(r.ReadInteger(), 11);
    EXPECT_EQ(r.ReadString(), "DEADBEEF");
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_EQ(r.ReadInteger(), 300);
    EXPECT_EQ(r.ReadString(), s.nFont.Name);
    EXPECT_EQ(r.ReadInteger(), 13);
    EXPECT_EQ(r.ReadInteger(), 0x00070809);
    EXPECT_EQ(r.ReadString(), " fsItalic fsUnderline");
    EXPECT_EQ(r.ReadInteger(), 3);
    EXPECT_EQ(r.ReadInteger(), 0x000A0B0C);
    EXPECT_EQ(r.ReadInteger(), 0x000D0E0F);
    EXPECT_EQ(r.ReadInteger(), 5);
    EXPECT_EQ(r.ReadInteger(), 4);
    EXPECT_EQ(r.ReadString(), "Courier");
    EXPECT_EQ(r.ReadInteger(), 9);
    EXPECT_EQ(r.ReadInteger(), 0x00111213);
    EXPECT_EQ(r.ReadString(), " fsBold fsStrikeOut");
    EXPECT_EQ(r.ReadInteger(), 0x00141516);
    EXPECT_EQ(r.ReadInteger(), 17);
    EXPECT_EQ(r.ReadInteger(), 6);
    EXPECT_EQ(r.ReadSingle(), 0.375f);
    r.Finish();
    EXPECT_TRUE(buffer.atEnd()) << "nothing after B44";

    // The style words as plain bytes: short string, length 19.
    EXPECT_TRUE(bytes.contains(QByteArray("\x06\x13 fsBold fsStrikeOut")));
}

TEST(TEgoNetDisplaySettings, EachFlagHasItsOwnPlace)
{
    for (size_t k = 0; k < std::size(kBlockFlags); ++k) {
        TSettings s;
        for (bool TSettings::*flag : kBlockFlags)
            s.*flag = false;
        s.*kBlockFlags[k] = true;
        TSettings read;
        ASSERT_EQ(ReadBlock(Block(s), read), "");
        for (size_t i = 0; i < std::size(kBlockFlags); ++i)
            EXPECT_EQ(read.*kBlockFlags[i], i == k) << "set B" << k + 4 << ", looking at B" << i + 4;
    }
}

TEST(TEgoNetDisplaySettings, BlockRoundTripsEveryField)
{
    TSettings s;
    FillAll(s);
    s.StyleName = "Classic";
    s.PositionColor = 0x123456;
    const QByteArray bytes = Block(s);

    TSettings read;
    ASSERT_EQ(ReadBlock(bytes, read), "");
    EXPECT_EQ(Block(read), bytes);
    EXPECT_EQ(read.BkImage.pixel(2, 1), qRgb(250, 128, 1));
    EXPECT_EQ(read.ClusterColor, 0xFFFFFFFFu);
    EXPECT_EQ(read.Reserved3, -123456);
    EXPECT_EQ(read.nFont, s.nFont);
    EXPECT_EQ(read.eFont, s.eFont);
    EXPECT_EQ(read.nShape, 11);
    EXPECT_EQ(read.eWeight, 0.375f);
    EXPECT_EQ(read.StyleName, "Default") << "not part of the block";
    EXPECT_EQ(read.PositionColor, 0x009900u) << "not part of the block";
}

TEST(TEgoNetDisplaySettings, ReadingLeavesTheDeviceRightAfterTheBlock)
{
    TSettings s;
    FillAll(s);
    QByteArray bytes = Block(s);
    bytes += QByteArray("\x06\x04tail", 6);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TSettings read;
    read.ReadFromStream(buffer);
    ValueReader next(buffer);
    EXPECT_EQ(next.ReadString(), "tail");
}

TEST(TEgoNetDisplaySettings, BlockWithoutPictureClearsTheBackground)
{
    const QByteArray bytes = Block(TSettings());
    TSettings read;
    read.BkImage = SmallPicture();
    ASSERT_EQ(ReadBlock(bytes, read), "");
    EXPECT_TRUE(read.BkImage.isNull());
}

TEST(TEgoNetDisplaySettings, PictureOfAnotherKindClearsTheBackground)
{
    const QByteArray plain = Block(TSettings());
    // Where B3 starts and ends in a real block.
    QByteArray copy = plain;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    qint64 start = 0;
    {
        ValueReader r(buffer);
        r.ReadInteger();
        r.ReadInteger();
        r.Finish();
        start = buffer.pos();
        ReadPictureRecord(r);
    }
    const qint64 end = buffer.pos();

    QByteArray icon;
    QBuffer iconBuffer(&icon);
    iconBuffer.open(QIODevice::WriteOnly);
    {
        ValueWriter w(iconBuffer);
        WriteObjectRecordStart(w, "TImage");
        w.WriteName("Picture.Data");
        w.WriteBinary(QByteArray("\x05TIcon\x02\x00\x00\x00xy", 12));
        WriteObjectRecordEnd(w);
        w.Finish();
    }
    TSettings read;
    read.BkImage = SmallPicture();
    ASSERT_EQ(ReadBlock(plain.left(start) + icon + plain.mid(end), read), "");
    EXPECT_TRUE(read.BkImage.isNull());
}

TEST(TEgoNetDisplaySettings, BlockCutShortAnywhereFails)
{
    TSettings s;
    FillAll(s);
    const QByteArray bytes = Block(s);
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        TSettings read;
        EXPECT_EQ(ReadBlock(bytes.left(n), read), kReadError) << "cut at " << n << " of " << bytes.size();
    }
}

TEST(TEgoNetDisplaySettings, FieldsReadBeforeAFailureKeepTheirValues)
{
    TSettings s;
    FillAll(s);
    QByteArray bytes = Block(s);
    // B25, the image identifier, becomes an integer.
    const qsizetype at = bytes.indexOf("\x06\x08" "DEADBEEF");
    ASSERT_GT(at, 0);
    bytes[at] = char(2);

    TSettings read;
    EXPECT_EQ(ReadBlock(bytes, read), kReadError);
    EXPECT_EQ(read.nShape, 11) << "B24 was read";
    EXPECT_EQ(read.Reserved3, -123456);
    EXPECT_EQ(read.BkImage.size(), QSize(3, 2));
    EXPECT_EQ(read.nImageID, "00000000") << "B25 failed";
    EXPECT_EQ(read.eWeight, 1.0f);
}

TEST(TEgoNetDisplaySettings, DamagedBlocksFailOnlyWithTheirMessage)
{
    TSettings s;
    FillAll(s);
    const QByteArray good = Block(s);
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = good;
        const int changes = 1 + int(random() % 4);
        for (int c = 0; c < changes; ++c)
            bytes[qsizetype(random() % uint32_t(bytes.size()))] = char(random());
        if (round % 3 == 0)
            bytes.truncate(qsizetype(random() % uint32_t(bytes.size())) + 1);
        TSettings read;
        const QString message = ReadBlock(bytes, read);
        if (!message.isEmpty()) {
            ASSERT_EQ(message, kReadError) << "round " << round;
        }
    }
    for (int round = 0; round < 500; ++round) {
        QByteArray junk(qsizetype(random() % 300), Qt::Uninitialized);
        for (char& b : junk)
            b = char(random());
        TSettings read;
        const QString message = ReadBlock(junk, read);
        if (!message.isEmpty()) {
            ASSERT_EQ(message, kReadError);
        }
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
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    QTemporaryDir FDir;
};

} // namespace

TEST_F(TIniSettingsTest, MissingFileChangesNothing)
{
    TSettings s;
    FillAll(s);
    s.StyleName = "Mine";
    const QByteArray before = Block(s);
    EXPECT_FALSE(s.LoadFromIni(FDir.filePath("absent.ini")));
    EXPECT_FALSE(s.LoadFromIni(QString()));
    EXPECT_FALSE(s.LoadFromIni(FDir.path())) << "a directory is no INI file";
    EXPECT_EQ(Block(s), before);
    EXPECT_EQ(s.StyleName, "Mine");
}

TEST_F(TIniSettingsTest, EmptyFileGivesEveryDefaultButKeepsWhatItDoesNotDescribe)
{
    TSettings s;
    FillAll(s);
    ASSERT_TRUE(s.LoadFromIni(Ini("")));
    TSettings expected;
    expected.BkImage = s.BkImage;
    expected.Reserved1 = s.Reserved1;
    expected.Reserved2 = s.Reserved2;
    expected.Reserved3 = s.Reserved3;
    EXPECT_EQ(Block(s), Block(expected));
    EXPECT_EQ(s.StyleName, "Default");
}

TEST_F(TIniSettingsTest, ValuesOfEveryKind)
{
    TSettings s;
    ASSERT_TRUE(s.LoadFromIni(Ini("[Style]\nStyleFile=Classic.ini\n"
                                  "[EgoNet Display General Settings]\n"
                                  "BkColor=0xFF\nClusterColor=$FF00\nPositionColor=-1\n"
                                  "ShowLabel=0\nShowStress=7\nSoundEffects=0x1\nAnimation=no\n"
                                  "[node settings]\n"
                                  "NSHAPE=258\nnImageID= 0012AB34 \nnHeight=0X7FFFFFFF\n"
                                  "nFont=Arial, 10, 255, fsBold fsUnderline\nnLbOrientation=1\n"
                                  "[Edge Settings]\n"
                                  "eColor=red\neWidth=3\neHeadColor=0x\neHeadLength=$-1\n"
                                  "eHeadWidth=0x1FFFFFFFF\neStyle=0x0 1\neWeight=0.25\n")));
    EXPECT_EQ(s.StyleName, "Classic");
    EXPECT_EQ(s.BkColor, 255u);
    EXPECT_EQ(s.ClusterColor, 0xFF00u);
    EXPECT_EQ(s.PositionColor, 0xFFFFFFFFu);
    EXPECT_FALSE(s.ShowLabel);
    EXPECT_TRUE(s.ShowStress);
    EXPECT_TRUE(s.SoundEffects);
    EXPECT_TRUE(s.Animation) << "not a number: the default";
    EXPECT_EQ(s.nShape, 2) << "the low byte of 258";
    EXPECT_EQ(s.nImageID, "0012AB34");
    EXPECT_EQ(s.nHeight, 0x7FFFFFFF);
    EXPECT_EQ(s.nFont, (TFontData{"Arial", 10, 255, TFontData::fsBold | TFontData::fsUnderline}));
    EXPECT_EQ(s.nLbOrientation, 1);
    EXPECT_EQ(s.eColor, 0xD68200u) << "red is no number";
    EXPECT_EQ(s.eWidth, 3);
    EXPECT_EQ(s.eHeadColor, 0xD68200u);
    EXPECT_EQ(s.eHeadLength, 10);
    EXPECT_EQ(s.eHeadWidth, 3) << "beyond 32 bits";
    EXPECT_EQ(s.eStyle, 0) << "hexadecimal digits only";
    EXPECT_EQ(s.eWeight, 0.25f);
    EXPECT_EQ(s.eFont, (TFontData{"Tahoma", 7, 0x975300, 0})) << "missing font";
}

TEST_F(TIniSettingsTest, WhiteBackgroundForAnUnreadableColour)
{
    TSettings s;
    s.BkColor = 0x123;
    ASSERT_TRUE(s.LoadFromIni(Ini("[EgoNet Display General Settings]\nBkColor=red\n")));
    EXPECT_EQ(s.BkColor, 16777215u);
}

TEST_F(TIniSettingsTest, NeitherShapeNorImageShowsTheShape)
{
    TSettings s;
    ASSERT_TRUE(s.LoadFromIni(Ini("[EgoNet Display General Settings]\nShowShape=0\nShowImage=0\n")));
    EXPECT_TRUE(s.ShowShape);
    EXPECT_FALSE(s.ShowImage);
    ASSERT_TRUE(s.LoadFromIni(Ini("[EgoNet Display General Settings]\nShowShape=0\nShowImage=1\n")));
    EXPECT_FALSE(s.ShowShape);
    EXPECT_TRUE(s.ShowImage);
}

TEST_F(TIniSettingsTest, StyleNameFromTheFileWhenTheKeyIsEmpty)
{
    TSettings s;
    ASSERT_TRUE(s.LoadFromIni(Ini("[Style]\nStyleFile=\n", "Dark.ini")));
    EXPECT_EQ(s.StyleName, "Dark");
    ASSERT_TRUE(s.LoadFromIni(Ini("[Style]\nStyleFile=\n", "Night.blue.ini")));
    EXPECT_EQ(s.StyleName, "Night");
    ASSERT_TRUE(s.LoadFromIni(Ini("[Style]\nStyleFile=NoDot\n", "Other.ini")));
    EXPECT_EQ(s.StyleName, "NoDot");
    ASSERT_TRUE(s.LoadFromIni(Ini("[Style]\n", "Plain.ini")));
    EXPECT_EQ(s.StyleName, "Default");
}

TEST_F(TIniSettingsTest, FontValues)
{
    struct TCase
    {
        const char* Value;
        TFontData Expected;
    };
    const TFontData fallback{"Tahoma", 8, 0, 0};
    const TCase cases[] = {
        {"Arial,ten,0,fsBold", fallback},
        {"Arial,10,black", fallback},
        {"", fallback},
        {"Verdana,12,$FF,fsItalic", {"Verdana", 12, 0xFF, TFontData::fsItalic}},
        {"  Times New Roman , 11 , 0 , fsStrikeOut fsBold ", {"Times New Roman", 11, 0, TFontData::fsBold | TFontData::fsStrikeOut}},
        // Style words are case-sensitive substrings of everything after the third comma.
        {"A,1,2,fsbold xfsItalicx", {"A", 1, 2, TFontData::fsItalic}},
        {"A,1,2,fsUnderline,fsBold", {"A", 1, 2, TFontData::fsUnderline | TFontData::fsBold}},
        // Without a fourth field the last number is both colour and what the styles are read from.
        {"A,1,2", {"A", 1, 2, 0}},
        {"A,9", {"A", 9, 9, 0}},
    };
    for (const TCase& c : cases) {
        TSettings s;
        s.nFont = TFontData{"Old", 99, 99, TFontData::fsBold};
        ASSERT_TRUE(s.LoadFromIni(Ini(QByteArray("[Node Settings]\nnFont=") + c.Value + "\n")));
        EXPECT_EQ(s.nFont, c.Expected) << c.Value;
    }
    TSettings s;
    ASSERT_TRUE(s.LoadFromIni(Ini("[Edge Settings]\neFont=Arial,x,0,fsBold\n")));
    EXPECT_EQ(s.eFont, (TFontData{"Tahoma", 7, 0x975300, 0}));
}

TEST_F(TIniSettingsTest, HostileFilesStillReadToDefaults)
{
    std::mt19937 random(7);
    QByteArray junk(1 << 20, Qt::Uninitialized);
    for (char& b : junk)
        b = char(random());
    TSettings s;
    EXPECT_TRUE(s.LoadFromIni(Ini(junk + "\n[Edge Settings]\neWidth=4")));
    EXPECT_EQ(s.eWidth, 4) << "the last line has no line break";
    EXPECT_TRUE(s.LoadFromIni(Ini("[Edge Settings]\neWeight=1e300\neHeadLength=" + QByteArray(100000, '9'))));
    EXPECT_EQ(s.eWeight, 1.0f) << "beyond the range of a float";
    EXPECT_EQ(s.eHeadLength, 10);
}

// Capturing and deriving

TEST(TEgoNetDisplaySettingsView, CaptureWithoutViewChangesNothing)
{
    TSettings s;
    FillAll(s);
    const QByteArray before = Block(s);
    EXPECT_FALSE(s.CaptureFromView());
    EXPECT_EQ(Block(s), before);
}

TEST(TEgoNetDisplaySettingsView, CaptureTakesEveryViewProperty)
{
    TFakeView view;
    TSettings s(&view);
    EXPECT_EQ(s.View(), &view);
    s.Reserved1 = true;
    ASSERT_TRUE(s.CaptureFromView());
    EXPECT_EQ(s.BkColor, view.FColor);
    EXPECT_EQ(s.nSelectionColor, view.FSelectionColor);
    EXPECT_EQ(s.nAltColor, view.FAltColor);
    EXPECT_EQ(s.nGrpColor, view.FGrpColor);
    EXPECT_EQ(s.ClusterColor, view.FClusterColor);
    EXPECT_EQ(s.PositionColor, view.FPositionColor);
    // Each view property is the opposite of the record's default, so a missed one shows.
    const TSettings d;
    for (size_t i = 0; i < std::size(kBlockFlags); ++i)
        if (kBlockFlags[i] != &TSettings::Reserved1 && kBlockFlags[i] != &TSettings::Reserved2) {
            EXPECT_NE(s.*kBlockFlags[i], d.*kBlockFlags[i]) << "flag B" << i + 4;
        }
    EXPECT_TRUE(s.Reserved1) << "not a view property";
    EXPECT_FALSE(s.ShowLabel) << "from ShowCaption";
    EXPECT_FALSE(s.Animation) << "from the spring layout";
}

TEST(TEgoNetDisplaySettingsView, EmptyGraphGivesDefaultsAndTheView)
{
    TFakeView view;
    TSettings s(&view);
    FillAll(s);
    s.DeriveFromGraph();

    TSettings expected(&view);
    expected.Reserved3 = s.Reserved3;
    expected.CaptureFromView();
    EXPECT_EQ(Block(s), Block(expected));
    EXPECT_EQ(s.BkColor, view.FColor);
    EXPECT_EQ(s.nShape, 2);
    EXPECT_TRUE(s.BkImage.isNull());
}

TEST(TEgoNetDisplaySettingsView, DeriveWithoutViewIsSetDefaults)
{
    TSettings s;
    FillAll(s);
    s.DeriveFromGraph();
    TSettings expected;
    expected.Reserved3 = s.Reserved3;
    EXPECT_EQ(Block(s), Block(expected));
}

TEST(TEgoNetDisplaySettingsView, SharedNodePropertiesOnly)
{
    TFakeView view;
    for (int i = 0; i < 3; ++i) {
        TOrganizedNode* node = view.FModel.NewNode(QPoint(i * 10, 0), QString("N%1").arg(i));
        node->Shape = 9;
        node->Size = 20;
        node->Font = TFontData{"Arial", 8 + i, 0, 0};
        node->LabelOrientation = uint8_t(i == 2 ? 0 : 3);
        node->ImageID = "0000ABCD";
        node->ImageTransparent = true;
        node->Color = 0x00000100u * uint32_t(i);
    }
    TSettings s(&view);
    s.DeriveFromGraph();
    EXPECT_EQ(s.nShape, 9);
    EXPECT_EQ(s.nHeight, 20);
    EXPECT_EQ(s.nImageID, "0000ABCD");
    EXPECT_TRUE(s.nImageTransparent);
    EXPECT_EQ(s.nLbOrientation, 2) << "the last node differs from the first";
    EXPECT_EQ(s.nFont, TDisplayDefaults().nFont) << "fonts differ";
    EXPECT_EQ(s.nAltColor, view.FAltColor) << "node colours are not derived";
}

TEST(TEgoNetDisplaySettingsView, OneNodeGivesItsLook)
{
    TFakeView view;
    TOrganizedNode* node = view.FModel.NewNode(QPoint(), "Solo");
    node->Shape = 5;
    node->Size = 33;
    node->Font = TFontData{"Arial", 12, 0x0000FF, TFontData::fsBold};
    node->LabelOrientation = 1;
    node->ImageID = "12345678";
    node->Enabled = false;
    TSettings s(&view);
    s.DeriveFromGraph();
    EXPECT_EQ(s.nShape, 5);
    EXPECT_EQ(s.nHeight, 33);
    EXPECT_EQ(s.nFont, node->Font);
    EXPECT_EQ(s.nLbOrientation, 1);
    EXPECT_EQ(s.nImageID, "12345678");
}

TEST(TEgoNetDisplaySettingsView, OneShownLinkGivesItsLookAndStrength)
{
    TFakeView view;
    TEgoNetModel& model = view.FModel;
    TOrganizedNode* a = model.NewNode(QPoint(0, 0), "A");
    TOrganizedNode* b = model.NewNode(QPoint(50, 0), "B");
    TEgoNetEdge* shown = model.NewLink(a, b, "friend", "");
    TEgoNetEdge* hidden = model.NewLink(b, a, "colleague", "");
    for (TEgoNetEdge* link : {shown, hidden}) {
        link->Strength = link == shown ? 0.75f : 0.125f;
        link->Width = link == shown ? 4 : 7;
        link->Color = link == shown ? 0x000000FF : 0x00FF0000;
        link->PenStyle = 2;
        link->Font = TFontData{"Arial", 6, 0x00AAAAAA, TFontData::fsUnderline};
        link->HeadColor = 0x00BBBBBB;
        link->HeadLength = 12;
        link->HeadWidth = 5;
    }
    model.SetShownLinkTypes({"friend"});
    ASSERT_EQ(model.ShownLinkCount(), 1);

    TSettings s(&view);
    s.DeriveFromGraph();
    EXPECT_EQ(s.eWeight, 0.75f);
    EXPECT_EQ(s.eWidth, 4);
    EXPECT_EQ(s.eColor, 0x000000FFu);
    EXPECT_EQ(s.eStyle, 2);
    EXPECT_EQ(s.eFont, shown->Font);
    EXPECT_EQ(s.eHeadColor, 0x00BBBBBBu);
    EXPECT_EQ(s.eHeadLength, 12);
    EXPECT_EQ(s.eHeadWidth, 5);

    model.SetShownLinkTypes({"*"});
    ASSERT_EQ(model.ShownLinkCount(), 2);
    s.DeriveFromGraph();
    EXPECT_EQ(s.eWeight, 1.0f) << "two links: the default";
    EXPECT_EQ(s.eWidth, 1) << "widths differ";
    EXPECT_EQ(s.eColor, 0xD68200u) << "colours differ";
    EXPECT_EQ(s.eStyle, 2);
    EXPECT_EQ(s.eFont, shown->Font);
    EXPECT_EQ(s.eHeadLength, 12);
}
