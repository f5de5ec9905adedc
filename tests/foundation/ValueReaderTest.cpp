#include "ValueTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ValueReader, IntegersOfEveryFormAreSignExtended)
{
    EXPECT_EQ(TReading(Hex("02 FF")).Reader.ReadInteger(), -1);
    EXPECT_EQ(TReading(Hex("02 80")).Reader.ReadInteger(), -128);
    EXPECT_EQ(TReading(Hex("03 00 80")).Reader.ReadInteger(), -32768);
    EXPECT_EQ(TReading(Hex("03 FF 7F")).Reader.ReadInteger(), 32767);
    EXPECT_EQ(TReading(Hex("04 00 00 00 80")).Reader.ReadInteger(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(TReading(Hex("04 2C 01 00 00")).Reader.ReadInteger(), 300);
}

TEST(ValueReader, IntegerRefusesOtherTags)
{
    for (const char* bytes : {"0F 00 00 80 3F", "13 05 00 00 00 00 00 00 00", "06 01 31", "08", "00"}) {
        TReading in(Hex(bytes));
        EXPECT_EQ(StreamErrorOf([&] { in.Reader.ReadInteger(); }), "Invalid property value") << bytes;
    }
}

TEST(ValueReader, BooleanIsTrueOnlyForItsTagAndConsumesOneByte)
{
    TReading in(Hex("09 08 01 02 09"));
    EXPECT_TRUE(in.Reader.ReadBoolean());
    EXPECT_FALSE(in.Reader.ReadBoolean());
    EXPECT_FALSE(in.Reader.ReadBoolean());
    // The integer's tag reads as false; its payload byte is the next value.
    EXPECT_FALSE(in.Reader.ReadBoolean());
    EXPECT_TRUE(in.Reader.ReadBoolean());
}

TEST(ValueReader, SingleAcceptsItsOwnTagAndEveryIntegerForm)
{
    EXPECT_EQ(TReading(Hex("0F 00 00 80 3F")).Reader.ReadSingle(), 1.0f);
    EXPECT_EQ(TReading(Hex("02 05")).Reader.ReadSingle(), 5.0f);
    EXPECT_EQ(TReading(Hex("03 00 80")).Reader.ReadSingle(), -32768.0f);
    EXPECT_EQ(TReading(Hex("04 00 00 00 01")).Reader.ReadSingle(), 16777216.0f);
    EXPECT_EQ(TReading(Hex("13 00 00 00 00 00 01 00 00")).Reader.ReadSingle(), 1099511627776.0f);
    for (const char* bytes : {"11 00 00 00 00 00 00 F8 3F", "05 00 00 00 00 00 00 00 80 FF 3F", "09"}) {
        TReading in(Hex(bytes));
        EXPECT_EQ(StreamErrorOf([&] { in.Reader.ReadSingle(); }), "Invalid property value") << bytes;
    }
}

TEST(ValueReader, DateAcceptsItsOwnTagAndEveryIntegerForm)
{
    EXPECT_EQ(TReading(Hex("11 00 00 00 00 00 00 F8 3F")).Reader.ReadDate(), 1.5);
    EXPECT_EQ(TReading(Hex("03 10 27")).Reader.ReadDate(), 10000.0);
    EXPECT_EQ(TReading(Hex("13 00 E4 0B 54 02 00 00 00")).Reader.ReadDate(), 1e10);
    TReading single(Hex("0F 00 00 80 3F"));
    EXPECT_EQ(StreamErrorOf([&] { single.Reader.ReadDate(); }), "Invalid property value");
}

TEST(ValueReader, EightBitStringsAreWindows1252)
{
    EXPECT_EQ(TReading(Hex("06 03 61 62 63")).Reader.ReadString(), "abc");
    EXPECT_EQ(TReading(Hex("06 00")).Reader.ReadString(), "");
    EXPECT_EQ(TReading(Hex("06 02 80 E9")).Reader.ReadString(), QString::fromUtf8("\xe2\x82\xac\xc3\xa9"));
    EXPECT_EQ(TReading(Hex("0C 03 00 00 00 78 79 9F")).Reader.ReadString(), QString::fromUtf8("xy\xc5\xb8"));
}

TEST(ValueReader, UnicodeStringsKeepEveryCharacter)
{
    // Characters outside the 8-bit code page stay as they are in memory.
    EXPECT_EQ(TReading(Hex("14 03 00 00 00 E4 B8 AD")).Reader.ReadString(), QString::fromUtf8("\xe4\xb8\xad"));
    EXPECT_EQ(TReading(Hex("12 02 00 00 00 E9 00 2D 4E")).Reader.ReadString(), QString::fromUtf8("\xc3\xa9\xe4\xb8\xad"));
    EXPECT_EQ(TReading(Hex("12 02 00 00 00 3D D8 00 DE")).Reader.ReadString(), QString::fromUtf8("\xf0\x9f\x98\x80"));
    EXPECT_EQ(TReading(Hex("12 00 00 00 00")).Reader.ReadString(), "");
}

TEST(ValueReader, StringRefusesOtherTags)
{
    for (const char* bytes : {"07 01 61", "0A 01 00 00 00 61", "02 05", "0B 00"}) {
        TReading in(Hex(bytes));
        EXPECT_EQ(StreamErrorOf([&] { in.Reader.ReadString(); }), "Invalid property value") << bytes;
    }
}

TEST(ValueReader, ListMarkers)
{
    TReading in(Hex("01 02 05 00"));
    in.Reader.ReadListBegin();
    EXPECT_EQ(in.Reader.ReadInteger(), 5);
    in.Reader.ReadListEnd();

    TReading notAnEnd(Hex("09"));
    EXPECT_EQ(StreamErrorOf([&] { notAnEnd.Reader.ReadListEnd(); }), "Invalid property value");
    TReading notABegin(Hex("00"));
    EXPECT_EQ(StreamErrorOf([&] { notABegin.Reader.ReadListBegin(); }), "Invalid property value");
}

TEST(ValueReader, WrongListMarkerSkipsTheWholeValueBeforeFailing)
{
    TReading integer(Hex("02 05 09"));
    EXPECT_EQ(StreamErrorOf([&] { integer.Reader.ReadListBegin(); }), "Invalid property value");
    integer.Reader.Finish();
    EXPECT_EQ(integer.Device.pos(), 2);

    TReading list(Hex("01 02 05 01 00 00 09"));
    EXPECT_EQ(StreamErrorOf([&] { list.Reader.ReadListEnd(); }), "Invalid property value");
    list.Reader.Finish();
    EXPECT_EQ(list.Device.pos(), 6);
}

TEST(ValueReader, WrongListMarkerIsReportedEvenWhenItsValueIsCutShort)
{
    for (const char* bytes : {"02", "06 05 61", "0E 00", "C8"}) {
        TReading in(Hex(bytes));
        EXPECT_EQ(StreamErrorOf([&] { in.Reader.ReadListEnd(); }), "Invalid property value") << bytes;
    }
}

TEST(ValueReader, NamesAreUntaggedWindows1252)
{
    TReading in(Hex("04 4C 65 66 74 00 02 E9 80"));
    EXPECT_EQ(in.Reader.ReadName(), "Left");
    EXPECT_EQ(in.Reader.ReadName(), "");
    EXPECT_EQ(in.Reader.ReadName(), QString::fromUtf8("\xc3\xa9\xe2\x82\xac"));
}

TEST(ValueReader, PeekTagDoesNotConsume)
{
    TReading in(Hex("02 07"));
    EXPECT_EQ(in.Reader.PeekTag(), 2);
    EXPECT_EQ(in.Reader.PeekTag(), 2);
    EXPECT_EQ(in.Reader.ReadInteger(), 7);
    EXPECT_EQ(StreamErrorOf([&] { in.Reader.PeekTag(); }), "Stream read error");
}

TEST(ValueReader, BinaryRequiresItsTag)
{
    EXPECT_EQ(TReading(Hex("0A 03 00 00 00 01 02 03")).Reader.ReadBinary(), Hex("01 02 03"));
    EXPECT_EQ(TReading(Hex("0A 00 00 00 00")).Reader.ReadBinary(), QByteArray());
    TReading string(Hex("06 00"));
    EXPECT_EQ(StreamErrorOf([&] { string.Reader.ReadBinary(); }), "Invalid property value");
}

TEST(ValueReader, SkipValuePassesOverEveryKindTheStreamDefines)
{
    const char* values[] = {
        "00",
        "01 02 05 01 06 01 61 00 00",
        "02 01",
        "03 01 02",
        "04 01 02 03 04",
        "05 00 00 00 00 00 00 00 80 FF 3F",
        "06 02 61 62",
        "07 03 54 6F 70",
        "08",
        "09",
        "0A 02 00 00 00 FF FF",
        "0B 06 66 73 42 6F 6C 64 01 78 00",
        "0C 01 00 00 00 7A",
        "0D",
        "0F 00 00 80 3F",
        "10 01 02 03 04 05 06 07 08",
        "11 00 00 00 00 00 00 F8 3F",
        "12 02 00 00 00 E9 00 2D 4E",
        "13 01 02 03 04 05 06 07 08",
        "14 02 00 00 00 C3 A9",
    };
    for (const char* value : values) {
        TReading in(Hex(value) + Hex("02 2A"));
        in.Reader.SkipValue();
        EXPECT_EQ(in.Reader.ReadInteger(), 42) << value;
    }
}

TEST(ValueReader, SkipValueRefusesCollectionsAndUnknownTags)
{
    for (const char* bytes : {"0E 00", "15", "F0"}) {
        TReading in(Hex(bytes));
        EXPECT_EQ(StreamErrorOf([&] { in.Reader.SkipValue(); }), "Invalid property value") << bytes;
    }
}

TEST(ValueReader, DeeplyNestedListsAreSkippedWithoutRecursion)
{
    const int depth = 1000000;
    TReading in(QByteArray(depth, '\x01') + QByteArray(depth, '\x00') + Hex("09"));
    in.Reader.SkipValue();
    EXPECT_TRUE(in.Reader.ReadBoolean());
}

TEST(ValueReader, ValuesRoundTrip)
{
    const int32_t integers[] = {0, 1, -1, 127, 128, -128, -129, 255, 256, 32767, 32768, -32768, -32769,
                                65535, 65536, 1234567, -7654321, std::numeric_limits<int32_t>::max(),
                                std::numeric_limits<int32_t>::min()};
    const QString strings[] = {
        "",
        "Node_001",
        QString(255, 'a'),
        QString(256, 'b'),
        QString(70000, 'c'),
        QString::fromUtf8("Caf\xc3\xa9 \xe2\x82\xac 5"),
        QString::fromUtf8("\xe4\xb8\xad\xe6\x96\x87 \xf0\x9f\x98\x80"),
        QString("nul") + QChar(0) + "inside",
    };
    const float singles[] = {0.0f, 0.25f, -1.5f, 3.4e38f, 1e-45f, std::numeric_limits<float>::infinity()};
    const QByteArray binaries[] = {QByteArray(), Hex("00 FF 00"), QByteArray(100000, '\x5A')};

    const QByteArray bytes = Written([&](ValueWriter& w) {
        for (int32_t value : integers)
            w.WriteInteger(value);
        for (const QString& text : strings)
            w.WriteString(text);
        for (float value : singles)
            w.WriteSingle(value);
        w.WriteDate(45123.75);
        for (const QByteArray& binary : binaries)
            w.WriteBinary(binary);
        w.WriteName("Picture.Data");
    });

    TReading in(bytes);
    for (int32_t value : integers)
        EXPECT_EQ(in.Reader.ReadInteger(), value);
    for (const QString& text : strings)
        EXPECT_EQ(in.Reader.ReadString(), text) << text.left(20).toStdString();
    for (float value : singles)
        EXPECT_EQ(in.Reader.ReadSingle(), value);
    EXPECT_EQ(in.Reader.ReadDate(), 45123.75);
    for (const QByteArray& binary : binaries)
        EXPECT_EQ(in.Reader.ReadBinary(), binary);
    EXPECT_EQ(in.Reader.ReadName(), "Picture.Data");
    EXPECT_EQ(StreamErrorOf([&] { in.Reader.ReadBoolean(); }), "Stream read error");
}

TEST(ValueReader, KindNameAndUntaggedBinaryComposeABinaryPayload)
{
    const QByteArray picture("BM picture file");
    const QByteArray payload = Written([&](ValueWriter& w) {
        w.WriteName("TBitmap");
        w.WriteUntaggedBinary(picture);
    });
    EXPECT_EQ(payload, Hex("07") + "TBitmap" + Hex("0F 00 00 00") + picture);

    TReading in(payload);
    EXPECT_EQ(in.Reader.ReadName(), "TBitmap");
    EXPECT_EQ(in.Reader.ReadUntaggedBinary(), picture);
}
