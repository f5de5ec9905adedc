#include "foundation/ValueWriter.h"

#include "foundation/Cp1252.h"
#include "foundation/StreamError.h"
#include "foundation/ValueTags.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace {

const char* const kWriteError = "Stream write error";
constexpr qsizetype kMaxShortLength = 255;

} // namespace

ValueWriter::ValueWriter(QIODevice& device)
    : FDevice(device)
    , FBuffer(new char[BufferSize])
{
}

ValueWriter::~ValueWriter()
{
    try {
        Finish();
    } catch (const EStreamError&) {
    }
}

void ValueWriter::Finish()
{
    if (FUsed == 0)
        return;
    const bool complete = FDevice.write(FBuffer.get(), FUsed) == FUsed;
    // Dropped either way, so that a failure is not written again by the destructor.
    FUsed = 0;
    if (!complete)
        throw EStreamError(kWriteError);
}

void ValueWriter::WriteBytes(const char* data, qsizetype size)
{
    if (size < BufferSize - FUsed) {
        std::memcpy(FBuffer.get() + FUsed, data, size_t(size));
        FUsed += size;
        return;
    }
    while (size > 0) {
        const qsizetype part = std::min(size, BufferSize - FUsed);
        std::memcpy(FBuffer.get() + FUsed, data, size_t(part));
        FUsed += part;
        data += part;
        size -= part;
        if (FUsed == BufferSize)
            Finish();
    }
}

void ValueWriter::WriteBytes(const QByteArray& bytes)
{
    WriteBytes(bytes.constData(), bytes.size());
}

template <typename T>
void ValueWriter::WriteLittleEndian(T value)
{
    const T stored = qToLittleEndian(value);
    WriteBytes(reinterpret_cast<const char*>(&stored), sizeof stored);
}

void ValueWriter::WriteTag(uint8_t tag)
{
    WriteLittleEndian(tag);
}

void ValueWriter::WriteCounted(const QByteArray& bytes)
{
    // A length that does not fit the 4-byte field would corrupt everything after it.
    if (bytes.size() > std::numeric_limits<uint32_t>::max())
        throw EStreamError(kWriteError);
    WriteLittleEndian(static_cast<uint32_t>(bytes.size()));
    WriteBytes(bytes);
}

void ValueWriter::WriteInteger(int32_t value)
{
    if (value >= std::numeric_limits<int8_t>::min() && value <= std::numeric_limits<int8_t>::max()) {
        WriteTag(ValueTag::Integer8);
        WriteLittleEndian(static_cast<int8_t>(value));
    } else if (value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max()) {
        WriteTag(ValueTag::Integer16);
        WriteLittleEndian(static_cast<int16_t>(value));
    } else {
        WriteTag(ValueTag::Integer32);
        WriteLittleEndian(value);
    }
}

void ValueWriter::WriteBoolean(bool value)
{
    WriteTag(value ? ValueTag::True : ValueTag::False);
}

bool ValueWriter::TryWriteAscii(const QString& text)
{
    const qsizetype length = text.size();
    const bool isShort = length <= kMaxShortLength;
    const qsizetype head = isShort ? 2 : 5;
    if (head + length >= BufferSize - FUsed)
        return false;
    char* out = FBuffer.get() + FUsed;
    const QChar* in = text.constData();
    for (qsizetype i = 0; i < length; ++i) {
        if (in[i].unicode() >= 0x80)
            return false;
        out[head + i] = char(in[i].unicode());
    }
    if (isShort) {
        out[0] = char(ValueTag::ShortString);
        out[1] = char(uint8_t(length));
    } else {
        out[0] = char(ValueTag::LongString);
        qToLittleEndian(uint32_t(length), out + 1);
    }
    FUsed += head + length;
    return true;
}

void ValueWriter::WriteString(const QString& text)
{
    // Mostly the text is ASCII and fits the buffer: then it is checked and copied in one pass.
    if (TryWriteAscii(text))
        return;
    if (!IsAscii(text)) {
        WriteTag(ValueTag::Utf8String);
        WriteCounted(text.toUtf8());
        return;
    }
    const QByteArray bytes = text.toLatin1();
    if (bytes.size() > kMaxShortLength) {
        WriteTag(ValueTag::LongString);
        WriteCounted(bytes);
    } else {
        WriteTag(ValueTag::ShortString);
        WriteLittleEndian(static_cast<uint8_t>(bytes.size()));
        WriteBytes(bytes);
    }
}

void ValueWriter::WriteSingle(float value)
{
    WriteTag(ValueTag::Single);
    WriteLittleEndian(std::bit_cast<uint32_t>(value));
}

void ValueWriter::WriteDate(double value)
{
    WriteTag(ValueTag::Date);
    WriteLittleEndian(std::bit_cast<uint64_t>(value));
}

void ValueWriter::WriteListBegin()
{
    WriteTag(ValueTag::ListBegin);
}

void ValueWriter::WriteListEnd()
{
    WriteTag(ValueTag::EndOfList);
}

void ValueWriter::WriteName(const QString& name)
{
    const QByteArray bytes = EncodeCp1252(name).left(kMaxShortLength);
    WriteLittleEndian(static_cast<uint8_t>(bytes.size()));
    WriteBytes(bytes);
}

void ValueWriter::WriteBinary(const QByteArray& bytes)
{
    WriteTag(ValueTag::Binary);
    WriteCounted(bytes);
}

void ValueWriter::WriteUntaggedBinary(const QByteArray& bytes)
{
    WriteCounted(bytes);
}

void ValueWriter::WriteSignature()
{
    WriteBytes("TPF0", 4);
}
