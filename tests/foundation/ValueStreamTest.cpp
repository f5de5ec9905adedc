#include "ValueTestSupport.h"

#include <QTemporaryFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <random>

namespace {

// A block whose length is set by its binary payload, so that block ends can be placed on
// either side of the reader's read-ahead boundary.
void WriteBlock(QIODevice& device, int id, qsizetype payloadSize)
{
    ValueWriter writer(device);
    writer.WriteInteger(id);
    writer.WriteBinary(QByteArray(payloadSize, char('a' + id)));
    writer.WriteString("end");
    writer.Finish();
}

constexpr qsizetype kBlockOverhead = 2 + 5 + 5;

void ReadBlock(QIODevice& device, int id, qsizetype payloadSize)
{
    ValueReader reader(device);
    EXPECT_EQ(reader.ReadInteger(), id);
    EXPECT_EQ(reader.ReadBinary(), QByteArray(payloadSize, char('a' + id)));
    EXPECT_EQ(reader.ReadString(), "end");
}

QByteArray LittleEndian32(uint32_t value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// Every kind of tagged value that a reader takes, in the forms the writer produces and in the
// forms only older files hold.
const QByteArray& EveryTaggedValue()
{
    static const QByteArray bytes = Written([](ValueWriter& w) {
        w.WriteInteger(5);
        w.WriteInteger(-300);
        w.WriteInteger(100000);
        w.WriteBoolean(true);
        w.WriteString("abc");
        w.WriteString(QString(300, 'l'));
        w.WriteString(QString::fromUtf8("\xc3\xa9t\xc3\xa9"));
        w.WriteSingle(0.5f);
        w.WriteDate(2.25);
        w.WriteListBegin();
        w.WriteInteger(1);
        w.WriteListEnd();
        w.WriteBinary("xyz");
    }) + Hex("12 02 00 00 00 E9 00 2D 4E") + Hex("13 00 E4 0B 54 02 00 00 00");
    return bytes;
}

// The tagged values and an untagged name.
QByteArray EveryKind()
{
    return EveryTaggedValue() + Written([](ValueWriter& w) { w.WriteName("Width"); });
}

void ReadEveryKind(ValueReader& reader)
{
    EXPECT_EQ(reader.ReadInteger(), 5);
    EXPECT_EQ(reader.ReadInteger(), -300);
    EXPECT_EQ(reader.ReadInteger(), 100000);
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_EQ(reader.ReadString(), "abc");
    EXPECT_EQ(reader.ReadString(), QString(300, 'l'));
    EXPECT_EQ(reader.ReadString(), QString::fromUtf8("\xc3\xa9t\xc3\xa9"));
    EXPECT_EQ(reader.ReadSingle(), 0.5f);
    EXPECT_EQ(reader.ReadDate(), 2.25);
    reader.ReadListBegin();
    EXPECT_EQ(reader.ReadInteger(), 1);
    reader.ReadListEnd();
    EXPECT_EQ(reader.ReadBinary(), "xyz");
    EXPECT_EQ(reader.ReadString(), QString::fromUtf8("\xc3\xa9\xe4\xb8\xad"));
    EXPECT_EQ(reader.ReadSingle(), 1e10f);
    EXPECT_EQ(reader.ReadName(), "Width");
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

TEST(ValueStream, BlocksOfSeparateWritersComeApartExactly)
{
    const qsizetype chunk = ValueReader::ChunkSize;
    // The second block starts well inside, just before, exactly at and just after the first
    // read-ahead boundary, and beyond the second.
    for (qsizetype firstPayload : {qsizetype(0), chunk - kBlockOverhead - 3, chunk - kBlockOverhead,
                                   chunk - kBlockOverhead + 1, 2 * chunk + 5000}) {
        QByteArray bytes;
        QBuffer device(&bytes);
        device.open(QIODevice::ReadWrite);
        WriteBlock(device, 1, firstPayload);
        const qint64 firstEnd = device.pos();
        WriteBlock(device, 2, 50);
        ASSERT_EQ(firstEnd, firstPayload + kBlockOverhead);

        device.seek(0);
        ReadBlock(device, 1, firstPayload);
        EXPECT_EQ(device.pos(), firstEnd) << firstPayload;
        ReadBlock(device, 2, 50);
        EXPECT_TRUE(device.atEnd()) << firstPayload;
    }
}

TEST(ValueStream, FinishHandsUnreadBytesBackForADirectRead)
{
    QByteArray bytes = Written([](ValueWriter& w) {
        w.WriteInteger(1);
        w.WriteString("two");
    }) + "tail";
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    ValueReader reader(device);
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_EQ(reader.ReadString(), "two");
    reader.Finish();
    EXPECT_EQ(device.readAll(), "tail");
}

TEST(ValueStream, ReaderStartsAtTheDevicePosition)
{
    QByteArray bytes = QByteArray("ENG10") + Written([](ValueWriter& w) { w.WriteInteger(-2); });
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    device.seek(5);
    ValueReader reader(device);
    EXPECT_EQ(reader.ReadInteger(), -2);
}

TEST(ValueStream, BlocksComeApartInAFile)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write("ENG10");
    WriteBlock(file, 1, ValueReader::ChunkSize);
    WriteBlock(file, 2, 10);
    file.write("!");
    file.close();

    ASSERT_TRUE(file.open());
    EXPECT_EQ(file.read(5), "ENG10");
    ReadBlock(file, 1, ValueReader::ChunkSize);
    ReadBlock(file, 2, 10);
    EXPECT_EQ(file.readAll(), "!");
}

TEST(ValueStream, EveryTruncationIsAStreamReadError)
{
    const QByteArray whole = EveryKind();
    {
        TReading in(whole);
        ReadEveryKind(in.Reader);
        EXPECT_EQ(StreamErrorOf([&] { in.Reader.PeekTag(); }), "Stream read error");
    }
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        TReading in(whole.left(cut));
        EXPECT_EQ(StreamErrorOf([&] { ReadEveryKind(in.Reader); }), "Stream read error") << cut;
    }
}

TEST(ValueStream, SkippingAnyPrefixEndsInAStreamReadError)
{
    const QByteArray& whole = EveryTaggedValue();
    for (qsizetype cut = 0; cut <= whole.size(); ++cut) {
        TReading in(whole.left(cut));
        EXPECT_EQ(StreamErrorOf([&] {
                      for (;;)
                          in.Reader.SkipValue();
                  }),
                  "Stream read error")
            << cut;
    }
}

TEST(ValueStream, LengthsBeyondTheRemainingBytesFailAtOnce)
{
    const QByteArray filler(95, 'x');
    const TAddressSpaceCap cap;
    for (const char* head : {"0C FF FF FF FF", "14 FF FF FF FF", "12 FF FF FF FF", "12 00 00 00 80",
                             "0C 65 00 00 00", "06 FF"}) {
        TReading read(Hex(head) + filler);
        EXPECT_EQ(StreamErrorOf([&] { read.Reader.ReadString(); }), "Stream read error") << head;
        TReading skip(Hex(head) + filler);
        EXPECT_EQ(StreamErrorOf([&] { skip.Reader.SkipValue(); }), "Stream read error") << head;
    }
    TReading binary(Hex("0A FF FF FF FF") + filler);
    EXPECT_EQ(StreamErrorOf([&] { binary.Reader.ReadBinary(); }), "Stream read error");
    TReading untagged(Hex("00 00 00 F0") + filler);
    EXPECT_EQ(StreamErrorOf([&] { untagged.Reader.ReadUntaggedBinary(); }), "Stream read error");
}

TEST(ValueStream, ALengthOfExactlyTheRemainingBytesIsRead)
{
    // Most of the payload is still on the device when its length is checked.
    const qsizetype size = 3 * ValueReader::ChunkSize + 7;
    const QByteArray payload(size, 'q');
    TReading in(Hex("0A") + LittleEndian32(size) + payload);
    EXPECT_EQ(in.Reader.ReadBinary(), payload);

    TReading skipped(Hex("14") + LittleEndian32(size) + payload);
    skipped.Reader.SkipValue();
    skipped.Reader.Finish();
    EXPECT_TRUE(skipped.Device.atEnd());
}

TEST(ValueStream, GarbageRaisesOnlyTheReadersMessages)
{
    std::mt19937 random(1899);
    // Mostly tags and extreme length bytes, so that garbage gets deep into the readers.
    const char alphabet[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                             '\x7F', '\x80', '\xF2', '\xFF'};
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes(random() % 300, Qt::Uninitialized);
        for (char& b : bytes)
            b = random() % 4 ? alphabet[random() % sizeof alphabet] : char(random());
        TReading in(bytes);
        // Every read consumes at least one byte, so the loop ends when the bytes do.
        const std::string message = StreamErrorOf([&] {
            for (;;) {
                switch (random() % 9) {
                case 0: in.Reader.ReadInteger(); break;
                case 1: in.Reader.ReadBoolean(); break;
                case 2: in.Reader.ReadString(); break;
                case 3: in.Reader.ReadSingle(); break;
                case 4: in.Reader.ReadDate(); break;
                case 5: in.Reader.ReadListBegin(); break;
                case 6: in.Reader.ReadListEnd(); break;
                case 7: in.Reader.ReadName(); break;
                default: in.Reader.SkipValue(); break;
                }
            }
        });
        EXPECT_TRUE(message == "Stream read error" || message == "Invalid property value")
            << message << " from " << Dump(bytes);
    }
}
