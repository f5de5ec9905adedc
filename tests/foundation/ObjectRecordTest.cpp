#include "ValueTestSupport.h"

#include "foundation/ObjectRecord.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Accepts every property and keeps its name and value as text, in reading order.
struct TRecorder
{
    QStringList Seen;

    TPropertyHandler Handler()
    {
        return [this](const QString& name, ValueReader& reader) {
            switch (reader.PeekTag()) {
            case 2:
            case 3:
            case 4:
                Seen << name + "=" + QString::number(reader.ReadInteger());
                break;
            case 8:
            case 9:
                Seen << name + "=" + (reader.ReadBoolean() ? "true" : "false");
                break;
            case 10:
                Seen << name + "=" + reader.ReadBinary().toHex();
                break;
            default:
                Seen << name + "=" + reader.ReadString();
                break;
            }
            return true;
        };
    }
};

// Accepts only the properties of a picture holder, as a node reader does.
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

bool SkipEveryProperty(const QString&, ValueReader& reader)
{
    reader.SkipValue();
    return true;
}

const char* const kEmptyPicture = "54 50 46 30"                  // TPF0
                                  "06 54 49 6D 61 67 65 00"      // TImage, no object name
                                  "04 4C 65 66 74 02 00"         // Left 0
                                  "03 54 6F 70 02 00"            // Top 0
                                  "05 57 69 64 74 68 02 00"      // Width 0
                                  "06 48 65 69 67 68 74 02 00"   // Height 0
                                  "08 41 75 74 6F 53 69 7A 65 09" // AutoSize true
                                  "00 00";

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

TEST(ObjectRecord, RoundTripDeliversEveryPropertyAndEndsExactly)
{
    const QByteArray payload = Written([](ValueWriter& w) {
        w.WriteName("TBitmap");
        w.WriteUntaggedBinary("BM");
    });
    const QByteArray bytes = Written([&](ValueWriter& w) {
        WriteObjectRecordStart(w, "TImage");
        w.WriteName("Width");
        w.WriteInteger(16);
        w.WriteName("AutoSize");
        w.WriteBoolean(true);
        w.WriteName("Picture.Data");
        w.WriteBinary(payload);
        w.WriteName("Hint");
        w.WriteString(QString::fromUtf8("caf\xc3\xa9"));
        WriteObjectRecordEnd(w);
        w.WriteInteger(-7);
    });

    TReading in(bytes);
    TRecorder recorder;
    EXPECT_EQ(ReadObjectRecord(in.Reader, recorder.Handler()), "TImage");
    EXPECT_EQ(recorder.Seen, QStringList({"Width=16", "AutoSize=true", "Picture.Data=" + payload.toHex(),
                                          QString::fromUtf8("Hint=caf\xc3\xa9")}));
    EXPECT_EQ(in.Reader.ReadInteger(), -7);
}

TEST(ObjectRecord, PictureHolderIsAccepted)
{
    TReading in(Hex(kEmptyPicture) + Hex("09"));
    EXPECT_EQ(ReadObjectRecord(in.Reader, PictureProperty), "TImage");
    EXPECT_TRUE(in.Reader.ReadBoolean());
}

TEST(ObjectRecord, PrefixByteIsSkipped)
{
    // No flags; flag 1 alone; flag 2 with an 8-bit and with a 32-bit integer after it.
    for (const char* prefix : {"F0", "F1", "F2 02 07", "FF 04 01 02 03 04"}) {
        TReading in(Hex("54 50 46 30") + Hex(prefix) + Hex("01 41 00 04 4C 65 66 74 02 05 00 00"));
        TRecorder recorder;
        EXPECT_EQ(ReadObjectRecord(in.Reader, recorder.Handler()), "A") << prefix;
        EXPECT_EQ(recorder.Seen, QStringList({"Left=5"})) << prefix;
    }
}

TEST(ObjectRecord, ContainedObjectsFollowTheSameRules)
{
    const QByteArray bytes = Hex("54 50 46 30 05 54 46 6F 72 6D 00") // TPF0, TForm, no object name
                             + Hex("01 61 02 01 00")                 // a=1, end of properties
                             + Hex("06 54 50 61 6E 65 6C 01 70")     // contained TPanel named p
                             + Hex("01 62 02 02 00")                 // b=2
                             + Hex("F2 02 00 06 54 49 6D 61 67 65 00") // prefixed contained TImage
                             + Hex("01 63 02 03 00")                 // c=3
                             + Hex("00 00")                          // TImage and TPanel end
                             + Hex("03 54 4F 4B 00 00 00")           // contained TOK, no properties
                             + Hex("00")                             // TForm ends
                             + Hex("02 2A");
    TReading in(bytes);
    TRecorder recorder;
    EXPECT_EQ(ReadObjectRecord(in.Reader, recorder.Handler()), "TForm");
    EXPECT_EQ(recorder.Seen, QStringList({"a=1", "b=2", "c=3"}));
    EXPECT_EQ(in.Reader.ReadInteger(), 42);
}

TEST(ObjectRecord, DeepNestingIsReadWithoutRecursion)
{
    const int depth = 200000;
    QByteArray bytes = Hex("54 50 46 30 01 41 00 00");
    for (int i = 0; i < depth; ++i)
        bytes += Hex("01 41 00 00");
    bytes += QByteArray(depth + 1, '\0');
    TReading in(bytes + Hex("09"));
    EXPECT_EQ(ReadObjectRecord(in.Reader, SkipEveryProperty), "A");
    EXPECT_TRUE(in.Reader.ReadBoolean());

    TReading unclosed(bytes.chopped(1));
    EXPECT_EQ(StreamErrorOf([&] { ReadObjectRecord(unclosed.Reader, SkipEveryProperty); }), "Stream read error");
}

TEST(ObjectRecord, UnknownPropertyIsNamedInTheError)
{
    TReading in(Hex("54 50 46 30 06 54 49 6D 61 67 65 00 04 4C 65 66 74 02 00 06 43 6F 6C 6F 75 72 02 00 00 00"));
    EXPECT_EQ(StreamErrorOf([&] { ReadObjectRecord(in.Reader, PictureProperty); }), "Property Colour does not exist");
}

TEST(ObjectRecord, WrongSignatureIsAnInvalidStreamFormat)
{
    for (const char* signature : {"54 50 46 31", "58 50 46 30", "00 00 00 00"}) {
        TReading in(Hex(signature) + Hex("01 41 00 00 00"));
        EXPECT_EQ(StreamErrorOf([&] { ReadObjectRecord(in.Reader, PictureProperty); }), "Invalid stream format")
            << signature;
    }
    TReading cut(Hex("54 50"));
    EXPECT_EQ(StreamErrorOf([&] { ReadObjectRecord(cut.Reader, PictureProperty); }), "Stream read error");
}

TEST(ObjectRecord, HandlerErrorsReachTheCaller)
{
    // Width holds a string where the handler reads an integer.
    TReading in(Hex("54 50 46 30 01 41 00 05 57 69 64 74 68 06 01 31 00 00"));
    EXPECT_EQ(StreamErrorOf([&] { ReadObjectRecord(in.Reader, PictureProperty); }), "Invalid property value");
}

TEST(ObjectRecord, EveryTruncationIsAStreamReadError)
{
    const QByteArray whole = Hex(kEmptyPicture);
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        TReading in(whole.left(cut));
        EXPECT_EQ(StreamErrorOf([&] { ReadObjectRecord(in.Reader, PictureProperty); }), "Stream read error") << cut;
    }
}

TEST(ObjectRecord, GarbageRaisesOnlyTheReadersMessages)
{
    std::mt19937 random(1904);
    const char alphabet[] = {0, 1, 2, 4, 6, 9, 10, 12, 18, 20, '\xF2', '\xFF', 'A'};
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes("TPF0");
        bytes.resize(4 + random() % 200);
        for (qsizetype i = 4; i < bytes.size(); ++i)
            bytes[i] = random() % 4 ? alphabet[random() % sizeof alphabet] : char(random());
        TReading in(bytes);
        const std::string message = StreamErrorOf([&] {
            ReadObjectRecord(in.Reader, [](const QString& name, ValueReader& reader) {
                if (name.size() % 3 == 0)
                    return false;
                reader.SkipValue();
                return true;
            });
        });
        const bool expected = message == "Stream read error" || message == "Invalid property value"
            || (message.starts_with("Property ") && message.ends_with(" does not exist")) || message == "no error";
        EXPECT_TRUE(expected) << message << " from " << Dump(bytes);
    }
}
