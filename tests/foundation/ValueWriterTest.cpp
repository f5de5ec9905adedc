#include "ValueTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

namespace {

std::string DumpInteger(int32_t value)
{
    return Dump(Written([&](ValueWriter& w) { w.WriteInteger(value); }));
}

std::string DumpString(const QString& text)
{
    return Dump(Written([&](ValueWriter& w) { w.WriteString(text); }));
}

std::string DumpName(const QString& name)
{
    return Dump(Written([&](ValueWriter& w) { w.WriteName(name); }));
}

// A device that takes a fixed number of bytes and then fails, as a full disk does.
class TFullDevice : public QBuffer
{
public:
    explicit TFullDevice(qint64 capacity)
        : FCapacity(capacity)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 writeData(const char* data, qint64 size) override
    {
        if (pos() + size > FCapacity)
            return -1;
        return QBuffer::writeData(data, size);
    }

private:
    qint64 FCapacity;
};

} // namespace

TEST(ValueWriter, IntegersTakeTheSmallestForm)
{
    const std::pair<int32_t, const char*> cases[] = {
        {0, "02 00"},
        {-1, "02 FF"},
        {127, "02 7F"},
        {-128, "02 80"},
        {128, "03 80 00"},
        {-129, "03 7F FF"},
        {32767, "03 FF 7F"},
        {-32768, "03 00 80"},
        {32768, "04 00 80 00 00"},
        {-32769, "04 FF 7F FF FF"},
        {std::numeric_limits<int32_t>::max(), "04 FF FF FF 7F"},
        {std::numeric_limits<int32_t>::min(), "04 00 00 00 80"},
    };
    for (const auto& [value, bytes] : cases)
        EXPECT_EQ(DumpInteger(value), bytes) << value;
}

TEST(ValueWriter, AsciiTextIsAShortStringBelow256Characters)
{
    EXPECT_EQ(DumpString("abc"), "06 03 61 62 63");
    EXPECT_EQ(DumpString(""), "06 00");

    const QByteArray longest = Written([](ValueWriter& w) { w.WriteString(QString(255, 'x')); });
    EXPECT_EQ(longest, Hex("06 FF") + QByteArray(255, 'x'));
}

TEST(ValueWriter, AsciiTextOf256CharactersOrMoreIsALongString)
{
    const QByteArray at256 = Written([](ValueWriter& w) { w.WriteString(QString(256, 'y')); });
    EXPECT_EQ(at256, Hex("0C 00 01 00 00") + QByteArray(256, 'y'));

    const QByteArray at300 = Written([](ValueWriter& w) { w.WriteString(QString(300, 'z')); });
    EXPECT_EQ(at300, Hex("0C 2C 01 00 00") + QByteArray(300, 'z'));
}

TEST(ValueWriter, TextBeyondAsciiIsUtf8EvenWhenShort)
{
    EXPECT_EQ(DumpString(QString::fromUtf8("\xc3\xa9")), "14 02 00 00 00 C3 A9");
    // In the 8-bit code page, but not ASCII.
    EXPECT_EQ(DumpString(QString::fromUtf8("\xe2\x82\xac")), "14 03 00 00 00 E2 82 AC");

    const QString longText = QString(299, 'a') + QChar(0xE9);
    const QByteArray bytes = Written([&](ValueWriter& w) { w.WriteString(longText); });
    EXPECT_EQ(bytes, Hex("14 2D 01 00 00") + longText.toUtf8());
}

TEST(ValueWriter, FloatsBooleansAndListMarkers)
{
    EXPECT_EQ(Dump(Written([](ValueWriter& w) { w.WriteSingle(1.0f); })), "0F 00 00 80 3F");
    EXPECT_EQ(Dump(Written([](ValueWriter& w) { w.WriteSingle(-2.5f); })), "0F 00 00 20 C0");
    EXPECT_EQ(Dump(Written([](ValueWriter& w) { w.WriteDate(1.5); })), "11 00 00 00 00 00 00 F8 3F");
    EXPECT_EQ(Dump(Written([](ValueWriter& w) { w.WriteBoolean(true); })), "09");
    EXPECT_EQ(Dump(Written([](ValueWriter& w) { w.WriteBoolean(false); })), "08");
    EXPECT_EQ(Dump(Written([](ValueWriter& w) {
                  w.WriteListBegin();
                  w.WriteListEnd();
              })),
              "01 00");
}

TEST(ValueWriter, NamesAreUntaggedAndCutTo255Bytes)
{
    EXPECT_EQ(DumpName("Left"), "04 4C 65 66 74");
    EXPECT_EQ(DumpName(""), "00");
    EXPECT_EQ(DumpName(QString::fromUtf8("\xe2\x82\xac")), "01 80");

    const QByteArray cut = Written([](ValueWriter& w) { w.WriteName(QString(300, 'n')); });
    EXPECT_EQ(cut, Hex("FF") + QByteArray(255, 'n'));
}

TEST(ValueWriter, BinaryAndSignature)
{
    EXPECT_EQ(Dump(Written([](ValueWriter& w) { w.WriteBinary(Hex("01 02 03")); })), "0A 03 00 00 00 01 02 03");
    EXPECT_EQ(Dump(Written([](ValueWriter& w) { w.WriteBinary({}); })), "0A 00 00 00 00");
    EXPECT_EQ(Dump(Written([](ValueWriter& w) { w.WriteUntaggedBinary("AB"); })), "02 00 00 00 41 42");
    EXPECT_EQ(Written([](ValueWriter& w) { w.WriteSignature(); }), QByteArray("TPF0"));
}

TEST(ValueWriter, DeviceReceivesFullBuffersThenTheRestOnFinish)
{
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    ValueWriter writer(device);

    writer.WriteInteger(1);
    EXPECT_EQ(bytes.size(), 0);

    writer.WriteBinary(QByteArray(20000, 'b'));
    EXPECT_EQ(bytes.size(), ValueWriter::BufferSize);

    writer.Finish();
    EXPECT_EQ(bytes.size(), 2 + 5 + 20000);
}

TEST(ValueWriter, DestructorFinishes)
{
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    {
        ValueWriter writer(device);
        writer.WriteInteger(300);
    }
    EXPECT_EQ(Dump(bytes), "03 2C 01");
}

TEST(ValueWriter, AppendsAtTheDevicePosition)
{
    QByteArray bytes("ENG10");
    QBuffer device(&bytes);
    device.open(QIODevice::ReadWrite);
    device.seek(bytes.size());
    {
        ValueWriter first(device);
        first.WriteBoolean(true);
    }
    {
        ValueWriter second(device);
        second.WriteBoolean(false);
    }
    EXPECT_EQ(bytes, QByteArray("ENG10\x09\x08"));
}

TEST(ValueWriter, FailedDeviceWriteIsAStreamWriteError)
{
    TFullDevice onFinish(100);
    ValueWriter small(onFinish);
    small.WriteBinary(QByteArray(200, 'x'));
    EXPECT_EQ(StreamErrorOf([&] { small.Finish(); }), "Stream write error");

    TFullDevice onFullBuffer(100);
    ValueWriter large(onFullBuffer);
    EXPECT_EQ(StreamErrorOf([&] { large.WriteBinary(QByteArray(20000, 'x')); }), "Stream write error");
}

TEST(ValueWriter, DestructorSwallowsAFailedWrite)
{
    TFullDevice device(0);
    EXPECT_EQ(StreamErrorOf([&] {
                  ValueWriter writer(device);
                  writer.WriteInteger(7);
              }),
              "no error");
}
