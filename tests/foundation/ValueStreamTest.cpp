#include "ValueTestSupport.h"

#include "foundation/ObjectRecord.h"
#include "foundation/ValueTags.h"

#include <QRandomGenerator>
#include <QTemporaryFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <memory>
#include <random>

namespace {

using TWrite = std::function<void(ValueWriter&)>;
using TRead = std::function<void(ValueReader&)>;

constexpr int32_t kMinInt = std::numeric_limits<int32_t>::min();
constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();

QByteArray LittleEndian32(uint32_t value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

const int32_t kIntegers[] = {0, 127, 128, -128, -129, 32767, 32768, -32768, -32769, kMaxInt, kMinInt};
const QString kStrings[] = {"", "abc", QString(300, 'l'), QString::fromUtf8("Caf\xc3\xa9 \xe2\x82\xac \xe4\xb8\xad \xf0\x9f\x98\x80"),
                            QString("nul") + QChar(0) + "inside"};

// Tagged values of every kind: as the writer produces them, then forms only older files hold
// (wide string, 64-bit integer) and kinds that are only ever skipped.
QByteArray Sample()
{
    return Written([](ValueWriter& w) {
               for (int32_t value : kIntegers)
                   w.WriteInteger(value);
               w.WriteBoolean(true);
               for (const QString& text : kStrings)
                   w.WriteString(text);
               w.WriteSingle(-0.5f);
               w.WriteDate(45123.75);
               w.WriteListBegin();
               w.WriteListEnd();
               w.WriteBinary(Hex("00 FF"));
           })
        + Hex("12 02 00 00 00 E9 00 2D 4E  13 00 E4 0B 54 02 00 00 00")
        + Hex("05 00 00 00 00 00 00 00 80 FF 3F  07 03 54 6F 70  0B 02 66 73 01 78 00  0D  10 01 02 03 04 05 06 07 08");
}

void ReadSample(ValueReader& reader)
{
    for (int32_t value : kIntegers)
        EXPECT_EQ(reader.ReadInteger(), value);
    EXPECT_TRUE(reader.ReadBoolean());
    for (const QString& text : kStrings)
        EXPECT_EQ(reader.ReadString(), text);
    EXPECT_EQ(reader.ReadSingle(), -0.5f);
    EXPECT_EQ(reader.ReadDate(), 45123.75);
    reader.ReadListBegin();
    reader.ReadListEnd();
    EXPECT_EQ(reader.ReadBinary(), Hex("00 FF"));
    EXPECT_EQ(reader.ReadString(), QString::fromUtf8("\xc3\xa9\xe4\xb8\xad"));
    EXPECT_EQ(reader.ReadSingle(), 1e10f);
    for (int i = 0; i < 5; ++i)
        reader.SkipValue();
}

// A block whose length is set by its binary, so that it can end on either side of the reader's
// read-ahead boundary.
constexpr qsizetype kBlockOverhead = 2 + 5 + 5;

void WriteBlock(QIODevice& device, int id, qsizetype payloadSize)
{
    ValueWriter writer(device);
    writer.WriteInteger(id);
    writer.WriteBinary(QByteArray(payloadSize, char('a' + id)));
    writer.WriteString("end");
    writer.Finish();
}

void ReadBlock(QIODevice& device, int id, qsizetype payloadSize)
{
    ValueReader reader(device);
    EXPECT_EQ(reader.ReadInteger(), id);
    EXPECT_EQ(reader.ReadBinary(), QByteArray(payloadSize, char('a' + id)));
    EXPECT_EQ(reader.ReadString(), "end");
}

// Caps the address space a little above its present size for its lifetime, so that allocating
// what a hostile length claims fails loudly instead of passing unnoticed.
class TAddressSpaceCap
{
public:
    TAddressSpaceCap()
    {
        getrlimit(RLIMIT_AS, &FPrevious);
        std::ifstream statm("/proc/self/statm");
        rlim_t pages = 0;
        statm >> pages;
        rlimit cap = FPrevious;
        cap.rlim_cur = std::min(FPrevious.rlim_cur, pages * sysconf(_SC_PAGESIZE) + (rlim_t(512) << 20));
        setrlimit(RLIMIT_AS, &cap);
    }
    ~TAddressSpaceCap() { setrlimit(RLIMIT_AS, &FPrevious); }

private:
    rlimit FPrevious;
};

} // namespace

TEST(ValueWriter, IntegersTakeTheSmallestForm)
{
    const std::pair<int32_t, const char*> cases[] = {
        {0, "02 00"}, {-1, "02 FF"}, {127, "02 7F"}, {-128, "02 80"},
        {128, "03 80 00"}, {-129, "03 7F FF"}, {32767, "03 FF 7F"}, {-32768, "03 00 80"},
        {32768, "04 00 80 00 00"}, {-32769, "04 FF 7F FF FF"}, {kMaxInt, "04 FF FF FF 7F"}, {kMinInt, "04 00 00 00 80"},
    };
    for (const auto& [value, bytes] : cases)
        EXPECT_EQ(Dump(Written([&](ValueWriter& w) { w.WriteInteger(value); })), bytes) << value;
}

TEST(ValueWriter, ValuesHaveTheirExactBytes)
{
    const std::pair<TWrite, const char*> cases[] = {
        {[](ValueWriter& w) { w.WriteString("abc"); }, "06 03 61 62 63"},
        {[](ValueWriter& w) { w.WriteString(""); }, "06 00"},
        {[](ValueWriter& w) { w.WriteString(QString::fromUtf8("\xc3\xa9")); }, "14 02 00 00 00 C3 A9"},
        // In the 8-bit code page, yet not ASCII.
        {[](ValueWriter& w) { w.WriteString(QString::fromUtf8("\xe2\x82\xac")); }, "14 03 00 00 00 E2 82 AC"},
        {[](ValueWriter& w) { w.WriteSingle(1.0f); }, "0F 00 00 80 3F"},
        {[](ValueWriter& w) { w.WriteDate(1.5); }, "11 00 00 00 00 00 00 F8 3F"},
        {[](ValueWriter& w) { w.WriteBoolean(true); }, "09"},
        {[](ValueWriter& w) { w.WriteBoolean(false); }, "08"},
        {[](ValueWriter& w) { w.WriteListBegin(); w.WriteInteger(5); w.WriteListEnd(); }, "01 02 05 00"},
        {[](ValueWriter& w) { w.WriteName("Left"); }, "04 4C 65 66 74"},
        {[](ValueWriter& w) { w.WriteName(QString::fromUtf8("\xe2\x82\xac")); }, "01 80"},
        {[](ValueWriter& w) { w.WriteBinary(Hex("01 02 03")); }, "0A 03 00 00 00 01 02 03"},
        {[](ValueWriter& w) { w.WriteUntaggedBinary("AB"); }, "02 00 00 00 41 42"},
        {[](ValueWriter& w) { w.WriteSignature(); }, "54 50 46 30"},
    };
    for (const auto& [write, bytes] : cases)
        EXPECT_EQ(Dump(Written(write)), bytes);
}

TEST(ValueWriter, LongFormsStartAt256Characters)
{
    const auto string = [](const QString& text) { return Written([&](ValueWriter& w) { w.WriteString(text); }); };
    EXPECT_EQ(string(QString(255, 'x')), Hex("06 FF") + QByteArray(255, 'x'));
    EXPECT_EQ(string(QString(256, 'x')), Hex("0C 00 01 00 00") + QByteArray(256, 'x'));
    EXPECT_EQ(string(QString(300, 'x')), Hex("0C 2C 01 00 00") + QByteArray(300, 'x'));
    const QString accented = QString(299, 'x') + QChar(0xE9);
    EXPECT_EQ(string(accented), Hex("14 2D 01 00 00") + accented.toUtf8());
    EXPECT_EQ(Written([](ValueWriter& w) { w.WriteName(QString(300, 'n')); }), Hex("FF") + QByteArray(255, 'n'));
}

TEST(ValueWriter, DeviceGetsFullBuffersAtItsPositionAndTheRestOnFinish)
{
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    device.write("ENG10");
    {
        ValueWriter writer(device);
        writer.WriteInteger(1);
        EXPECT_EQ(bytes.size(), 5);
        writer.WriteBinary(QByteArray(20000, 'b'));
        EXPECT_EQ(bytes.size(), 5 + ValueWriter::BufferSize);
    }
    EXPECT_EQ(bytes.size(), 5 + 2 + 5 + 20000);
    EXPECT_TRUE(bytes.startsWith("ENG10\x02\x01"));
}

TEST(ValueWriter, FailedDeviceWriteIsAStreamWriteError)
{
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    ValueWriter small(readOnly);
    small.WriteInteger(1);
    EXPECT_EQ(StreamErrorOf([&] { small.Finish(); }), "Stream write error");
    ValueWriter large(readOnly);
    EXPECT_EQ(StreamErrorOf([&] { large.WriteBinary(QByteArray(20000, 'x')); }), "Stream write error");
    // Both destructors fail to write these, which must not escape them.
    small.WriteInteger(2);
    large.WriteInteger(2);
}

TEST(ValueReader, AcceptsEveryFormOfEachKind)
{
    EXPECT_EQ(TReading(Hex("02 80")).Reader.ReadInteger(), -128);
    EXPECT_EQ(TReading(Hex("03 00 80")).Reader.ReadInteger(), -32768);
    EXPECT_EQ(TReading(Hex("04 00 00 00 80")).Reader.ReadInteger(), kMinInt);
    EXPECT_EQ(TReading(Hex("02 05")).Reader.ReadSingle(), 5.0f);
    EXPECT_EQ(TReading(Hex("04 00 00 00 01")).Reader.ReadSingle(), 16777216.0f);
    EXPECT_EQ(TReading(Hex("03 10 27")).Reader.ReadDate(), 10000.0);
    EXPECT_EQ(TReading(Hex("13 00 E4 0B 54 02 00 00 00")).Reader.ReadDate(), 1e10);
    EXPECT_EQ(TReading(Hex("06 02 80 E9")).Reader.ReadString(), QString::fromUtf8("\xe2\x82\xac\xc3\xa9"));
    EXPECT_EQ(TReading(Hex("0C 01 00 00 00 9F")).Reader.ReadString(), QString::fromUtf8("\xc5\xb8"));
    // Characters beyond the 8-bit code page stay as they are.
    EXPECT_EQ(TReading(Hex("14 03 00 00 00 E4 B8 AD")).Reader.ReadString(), QString::fromUtf8("\xe4\xb8\xad"));
    EXPECT_EQ(TReading(Hex("12 02 00 00 00 3D D8 00 DE")).Reader.ReadString(), QString::fromUtf8("\xf0\x9f\x98\x80"));
    EXPECT_EQ(TReading(Hex("02 E9 80")).Reader.ReadName(), QString::fromUtf8("\xc3\xa9\xe2\x82\xac"));
}

TEST(ValueReader, BooleanIsTrueOnlyForItsTagAndTakesOneByte)
{
    TReading in(Hex("09 08 01 02 09"));
    // The integer's tag reads as false, its payload byte as the next value.
    for (bool expected : {true, false, false, false, true})
        EXPECT_EQ(in.Reader.ReadBoolean(), expected);
}

TEST(ValueReader, PeekTagDoesNotConsume)
{
    TReading in(Hex("02 07"));
    EXPECT_EQ(in.Reader.PeekTag(), 2);
    EXPECT_EQ(in.Reader.ReadInteger(), 7);
    EXPECT_EQ(StreamErrorOf([&] { in.Reader.PeekTag(); }), "Stream read error");
}

TEST(ValueReader, OtherTagsAreInvalidPropertyValues)
{
    const TRead integer = [](ValueReader& r) { r.ReadInteger(); };
    const TRead single = [](ValueReader& r) { r.ReadSingle(); };
    const TRead date = [](ValueReader& r) { r.ReadDate(); };
    const TRead string = [](ValueReader& r) { r.ReadString(); };
    const TRead binary = [](ValueReader& r) { r.ReadBinary(); };
    const TRead listBegin = [](ValueReader& r) { r.ReadListBegin(); };
    const TRead listEnd = [](ValueReader& r) { r.ReadListEnd(); };
    const TRead skip = [](ValueReader& r) { r.SkipValue(); };
    const std::pair<const char*, TRead> cases[] = {
        {"0F 00 00 80 3F", integer}, {"13 05 00 00 00 00 00 00 00", integer}, {"06 01 31", integer},
        {"11 00 00 00 00 00 00 F8 3F", single}, {"05 00 00 00 00 00 00 00 80 FF 3F", single},
        {"0F 00 00 80 3F", date}, {"07 01 61", string}, {"0A 01 00 00 00 61", string}, {"06 00", binary},
        {"09", listEnd}, {"00", listBegin},
        // The wrong tag is the fault, also when its value is cut short or cannot be skipped.
        {"02", listEnd}, {"06 05 61", listBegin}, {"0E 00", listEnd},
        {"0E 00", skip}, {"15", skip},
    };
    for (const auto& [bytes, read] : cases) {
        TReading in(Hex(bytes));
        EXPECT_EQ(StreamErrorOf([&] { read(in.Reader); }), "Invalid property value") << bytes;
    }
}

TEST(ValueReader, WrongListMarkerSkipsTheWholeValue)
{
    TReading in(Hex("01 02 05 01 00 00 09"));
    EXPECT_EQ(StreamErrorOf([&] { in.Reader.ReadListEnd(); }), "Invalid property value");
    in.Reader.Finish();
    EXPECT_EQ(in.Device.pos(), 6);
}

TEST(ValueReader, DeeplyNestedListsAreSkippedWithoutRecursion)
{
    const int depth = 1000000;
    TReading in(QByteArray(depth, '\x01') + QByteArray(depth, '\x00') + Hex("09"));
    in.Reader.SkipValue();
    EXPECT_TRUE(in.Reader.ReadBoolean());
}

TEST(ValueStream, SampleRoundTripsAndEveryTruncationIsAStreamReadError)
{
    const QByteArray whole = Sample();
    for (qsizetype cut = 0; cut <= whole.size(); ++cut) {
        TReading in(whole.left(cut));
        EXPECT_EQ(StreamErrorOf([&] { ReadSample(in.Reader); }), cut == whole.size() ? "no error" : "Stream read error")
            << cut;
        // Skipping stays in step with the values and ends only where the bytes do.
        TReading skipping(whole.left(cut));
        EXPECT_EQ(StreamErrorOf([&] {
                      for (;;)
                          skipping.Reader.SkipValue();
                  }),
                  "Stream read error")
            << cut;
    }
}

TEST(ValueStream, BlocksOfSeparateWritersComeApartExactly)
{
    const qsizetype chunk = ValueReader::ChunkSize;
    // The second block starts well inside, just before, exactly at and just after the first
    // read-ahead boundary, and beyond the second.
    for (qsizetype firstPayload : {qsizetype(0), chunk - kBlockOverhead - 3, chunk - kBlockOverhead,
                                   chunk - kBlockOverhead + 1, 2 * chunk + 5000}) {
        QByteArray bytes;
        std::unique_ptr<QIODevice> devices[] = {std::make_unique<QBuffer>(&bytes), std::make_unique<QTemporaryFile>()};
        for (const auto& device : devices) {
            ASSERT_TRUE(device->open(QIODevice::ReadWrite));
            device->write("ENG10");
            WriteBlock(*device, 1, firstPayload);
            WriteBlock(*device, 2, 50);
            device->write("!");

            device->seek(0);
            EXPECT_EQ(device->read(5), "ENG10");
            ReadBlock(*device, 1, firstPayload);
            EXPECT_EQ(device->pos(), 5 + firstPayload + kBlockOverhead) << firstPayload;
            ReadBlock(*device, 2, 50);
            EXPECT_EQ(device->readAll(), "!") << firstPayload;
        }
    }
}

TEST(ValueStream, LengthsBeyondTheRemainingBytesFailAtOnce)
{
    const QByteArray filler(95, 'x');
    const TAddressSpaceCap cap;
    for (const char* head : {"0C FF FF FF FF", "14 FF FF FF FF", "12 FF FF FF FF", "12 00 00 00 80", "0C 65 00 00 00",
                             "06 FF"}) {
        TReading read(Hex(head) + filler);
        EXPECT_EQ(StreamErrorOf([&] { read.Reader.ReadString(); }), "Stream read error") << head;
        TReading skip(Hex(head) + filler);
        EXPECT_EQ(StreamErrorOf([&] { skip.Reader.SkipValue(); }), "Stream read error") << head;
    }
    TReading binary(Hex("0A FF FF FF FF") + filler);
    EXPECT_EQ(StreamErrorOf([&] { binary.Reader.ReadBinary(); }), "Stream read error");
}

TEST(ValueStream, ALengthOfExactlyTheRemainingBytesIsRead)
{
    // Most of the payload is still on the device when its length is checked.
    const qsizetype size = 3 * ValueReader::ChunkSize + 7;
    const QByteArray payload(size, 'q');
    EXPECT_EQ(TReading(Hex("0A") + LittleEndian32(size) + payload).Reader.ReadBinary(), payload);
    TReading skipped(Hex("14") + LittleEndian32(size) + payload);
    skipped.Reader.SkipValue();
    skipped.Reader.Finish();
    EXPECT_TRUE(skipped.Device.atEnd());
}

TEST(ValueStream, GarbageRaisesOnlyTheReadersMessages)
{
    std::mt19937 random(1899);
    // Mostly tags and extreme length bytes, so that garbage gets deep into the readers.
    const char alphabet[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, '\xF2', '\xFF'};
    const TPropertyHandler someNames = [](const QString& name, ValueReader& reader) {
        reader.SkipValue();
        return name.size() % 3 != 0;
    };
    const TRead reads[] = {
        [](ValueReader& r) { r.ReadInteger(); },   [](ValueReader& r) { r.ReadBoolean(); },
        [](ValueReader& r) { r.ReadString(); },    [](ValueReader& r) { r.ReadSingle(); },
        [](ValueReader& r) { r.ReadDate(); },      [](ValueReader& r) { r.ReadListBegin(); },
        [](ValueReader& r) { r.ReadListEnd(); },   [](ValueReader& r) { r.ReadName(); },
        [](ValueReader& r) { r.ReadBinary(); },    [](ValueReader& r) { r.SkipValue(); },
        [&](ValueReader& r) { ReadObjectRecord(r, someNames); },
    };
    for (int round = 0; round < 3000; ++round) {
        // Every other stream opens like an object record, so that its reader gets past the signature.
        QByteArray bytes = round % 2 ? QByteArray() : Hex("54 50 46 30");
        const qsizetype size = bytes.size() + random() % 300;
        while (bytes.size() < size)
            bytes += random() % 4 ? alphabet[random() % sizeof alphabet] : char(random());
        TReading in(bytes);
        // Every read takes at least one byte, so this ends with the bytes at the latest.
        const std::string message = StreamErrorOf([&] {
            if (round % 2 == 0)
                ReadObjectRecord(in.Reader, someNames);
            for (;;)
                reads[random() % std::size(reads)](in.Reader);
        });
        const bool known = message == "Stream read error" || message == "Invalid property value"
            || message == "Invalid stream format"
            || (message.starts_with("Property ") && message.ends_with(" does not exist"));
        EXPECT_TRUE(known) << message << " from " << Dump(bytes);
    }
}

// Strings of every form at random places around the buffer and read-ahead boundaries: the
// writer's one-pass ASCII copy and the reader's in-buffer decoding against the plain rules.
TEST(ValueStream, RandomStringsAcrossBufferBoundariesKeepTheirForms)
{
    QRandomGenerator random(18);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const QByteArray padding(ValueWriter::BufferSize - 700 + random.bounded(1400), 'p');
        QString text;
        const int length = random.bounded(4) == 0 ? 250 + random.bounded(20) : random.bounded(600);
        for (int i = 0; i < length; ++i)
            text.append(QChar(char16_t(0x20 + random.bounded(0x5F))));
        if (length > 0 && random.bounded(3) == 0)
            text[random.bounded(length)] = QChar(random.bounded(2) ? char16_t(0xE9) : char16_t(0x20AC));

        QByteArray expected;
        const auto append32 = [&](qsizetype n) {
            char le[4];
            qToLittleEndian(uint32_t(n), le);
            expected.append(le, 4);
        };
        expected.append(char(ValueTag::Binary));
        append32(padding.size());
        expected.append(padding);
        const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
        if (!ascii) {
            expected.append(char(ValueTag::Utf8String));
            append32(text.toUtf8().size());
            expected.append(text.toUtf8());
        } else if (text.size() > 255) {
            expected.append(char(ValueTag::LongString));
            append32(text.size());
            expected.append(text.toLatin1());
        } else {
            expected.append(char(ValueTag::ShortString));
            expected.append(char(text.size()));
            expected.append(text.toLatin1());
        }
        expected.append(char(ValueTag::True));

        const QByteArray bytes = Written([&](ValueWriter& w) {
            w.WriteBinary(padding);
            w.WriteString(text);
            w.WriteBoolean(true);
        });
        ASSERT_EQ(Dump(bytes), Dump(expected));
        TReading reading(bytes);
        EXPECT_EQ(reading.Reader.ReadBinary(), padding);
        EXPECT_EQ(reading.Reader.ReadString(), text);
        EXPECT_TRUE(reading.Reader.ReadBoolean());
        // Cut short anywhere in the string, the read fails instead of taking what is there.
        TReading cut(bytes.left(padding.size() + 5 + 1 + random.bounded(int(bytes.size() - padding.size() - 7))));
        cut.Reader.ReadBinary();
        EXPECT_EQ(StreamErrorOf([&] { cut.Reader.ReadString(); }), "Stream read error");
    }
}
