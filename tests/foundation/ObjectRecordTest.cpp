#include "ValueTestSupport.h"

#include "foundation/ObjectRecord.h"

#include <gtest/gtest.h>

namespace {

// Accepts every property, skips its value and keeps the names in reading order.
struct TNameRecorder
{
    QStringList Names;

    TPropertyHandler Handler()
    {
        return [this](const QString& name, ValueReader& reader) {
            Names << name;
            reader.SkipValue();
            return true;
        };
    }
};

const char* const kSignature = "54 50 46 30";
const char* const kEmptyPicture = "54 50 46 30"                    // TPF0
                                  "06 54 49 6D 61 67 65 00"        // TImage, empty object name
                                  "04 4C 65 66 74 02 00"           // Left 0
                                  "03 54 6F 70 02 00"              // Top 0
                                  "05 57 69 64 74 68 02 00"        // Width 0
                                  "06 48 65 69 67 68 74 02 00"     // Height 0
                                  "08 41 75 74 6F 53 69 7A 65 09"  // AutoSize true
                                  "00 00";

// Accepts what a node's picture holder holds.
bool PictureProperty(const QString& name, ValueReader& reader)
{
    if (name == "Left" || name == "Top" || name == "Width" || name == "Height")
        reader.ReadInteger();
    else if (name == "AutoSize")
        reader.ReadBoolean();
    else if (name == "Picture.Data")
        reader.ReadBinary();
    else
        return false;
    return true;
}

} // namespace

TEST(ObjectRecord, WritesSignatureNamesPropertiesAndTwoEndBytes)
{
    const QByteArray bytes = Written([](ValueWriter& w) {
        WriteObjectRecordStart(w, "TImage");
        for (const char* name : {"Left", "Top", "Width", "Height"}) {
            w.WriteName(name);
            w.WriteInteger(0);
        }
        w.WriteName("AutoSize");
        w.WriteBoolean(true);
        WriteObjectRecordEnd(w);
    });
    EXPECT_EQ(Dump(bytes), Dump(Hex(kEmptyPicture)));
}

TEST(ObjectRecord, RoundTripEndsExactlyAfterTheRecord)
{
    const QByteArray bitmap("BM and the rest of a bitmap file");
    const QByteArray bytes = Written([&](ValueWriter& w) {
        WriteObjectRecordStart(w, "TImage");
        w.WriteName("Width");
        w.WriteInteger(16);
        w.WriteName("Picture.Data");
        w.WriteBinary(Written([&](ValueWriter& payload) {
            payload.WriteName("TBitmap");
            payload.WriteUntaggedBinary(bitmap);
        }));
        WriteObjectRecordEnd(w);
        w.WriteInteger(-7);
    });

    TReading in(bytes);
    int32_t width = 0;
    QByteArray payload;
    EXPECT_EQ(ReadObjectRecord(in.Reader,
                               [&](const QString& name, ValueReader& reader) {
                                   if (name == "Width")
                                       width = reader.ReadInteger();
                                   else if (name == "Picture.Data")
                                       payload = reader.ReadBinary();
                                   return name == "Width" || name == "Picture.Data";
                               }),
              "TImage");
    EXPECT_EQ(width, 16);
    EXPECT_EQ(in.Reader.ReadInteger(), -7);

    EXPECT_TRUE(payload.startsWith("\x07TBitmap"));
    TReading inPayload(payload);
    EXPECT_EQ(inPayload.Reader.ReadName(), "TBitmap");
    EXPECT_EQ(inPayload.Reader.ReadUntaggedBinary(), bitmap);
}

TEST(ObjectRecord, PrefixByteIsSkipped)
{
    // No flags; flag 1 alone; flag 2 with an 8-bit and with a 32-bit integer after it.
    for (const char* prefix : {"F0", "F1", "F2 02 07", "FF 04 01 02 03 04"}) {
        TReading in(Hex(kSignature) + Hex(prefix) + Hex("01 41 00 04 4C 65 66 74 02 05 00 00 09"));
        TNameRecorder recorder;
        EXPECT_EQ(ReadObjectRecord(in.Reader, recorder.Handler()), "A") << prefix;
        EXPECT_EQ(recorder.Names, QStringList({"Left"})) << prefix;
        EXPECT_TRUE(in.Reader.ReadBoolean()) << prefix;
    }
}

TEST(ObjectRecord, ContainedObjectsFollowTheSameRules)
{
    TReading in(Hex(kSignature) + Hex("05 54 46 6F 72 6D 00  01 61 02 01 00") // TForm: a=1
                + Hex("06 54 50 61 6E 65 6C 01 70  01 62 02 02 00")           // contained TPanel p: b=2
                + Hex("F2 02 00 06 54 49 6D 61 67 65 00  01 63 02 03 00")     // in it a prefixed TImage: c=3
                + Hex("00 00")                                                // TImage and TPanel end
                + Hex("03 54 4F 4B 00 00 00")                                 // contained TOK, no properties
                + Hex("00 09"));                                              // TForm ends
    TNameRecorder recorder;
    EXPECT_EQ(ReadObjectRecord(in.Reader, recorder.Handler()), "TForm");
    EXPECT_EQ(recorder.Names, QStringList({"a", "b", "c"}));
    EXPECT_TRUE(in.Reader.ReadBoolean());
}

TEST(ObjectRecord, DeepNestingIsReadWithoutRecursion)
{
    const int depth = 200000;
    const QByteArray bytes = Hex(kSignature) + Hex("01 41 00 00").repeated(depth + 1) + QByteArray(depth + 1, '\0');
    TNameRecorder recorder;
    TReading in(bytes + Hex("09"));
    EXPECT_EQ(ReadObjectRecord(in.Reader, recorder.Handler()), "A");
    EXPECT_TRUE(in.Reader.ReadBoolean());

    TReading unclosed(bytes.chopped(1));
    EXPECT_EQ(StreamErrorOf([&] { ReadObjectRecord(unclosed.Reader, recorder.Handler()); }), "Stream read error");
}

TEST(ObjectRecord, UnknownPropertyIsNamedInTheError)
{
    // "Größe" in the 8-bit code page; the message carries it in UTF-8.
    TReading in(Hex(kSignature) + Hex("01 41 00  04 4C 65 66 74 02 00  05 47 72 F6 DF 65 02 00  00 00"));
    try {
        ReadObjectRecord(in.Reader, PictureProperty);
        ADD_FAILURE() << "no error";
    } catch (const EStreamError& error) {
        EXPECT_STREQ(error.what(), "Property Gr\xc3\xb6\xc3\x9f" "e does not exist");
    }
}

TEST(ObjectRecord, WrongSignatureIsAnInvalidStreamFormat)
{
    for (const char* signature : {"54 50 46 31", "58 50 46 30", "00 00 00 00"}) {
        TReading in(Hex(signature) + Hex("01 41 00 00 00"));
        EXPECT_EQ(StreamErrorOf([&] { ReadObjectRecord(in.Reader, PictureProperty); }), "Invalid stream format")
            << signature;
    }
}

TEST(ObjectRecord, EveryTruncationIsAStreamReadError)
{
    const QByteArray whole = Hex(kEmptyPicture);
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        TReading in(whole.left(cut));
        EXPECT_EQ(StreamErrorOf([&] { ReadObjectRecord(in.Reader, PictureProperty); }), "Stream read error") << cut;
    }
}
