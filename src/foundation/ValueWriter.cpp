#include "foundation/ValueWriter.h"

#include "foundation/Cp1252.h"
#include "foundation/StreamError.h"
#include "foundation/ValueTags.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <limits>

namespace {

const char* const kWriteError = "Stream write error";
constexpr qsizetype kMaxShortLength = 255;

} // namespace

ValueWriter::ValueWriter(QIODevice& device)
    : FDevice(device)
{
    FBuffer.reserve(BufferSize);
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
    if (FBuffer.isEmpty())
        return;
    const bool complete = FDevice.write(FBuffer) == FBuffer.size();
    // Dropped either way, so that a failure is not written again by the destructor.
    FBuffer.resize(0);
    if (!complete)
        throw EStreamError(kWriteError);
}

void ValueWriter::WriteBytes(const char* data, qsizetype size)
{
    while (size > 0) {
        const qsizetype part = std::min(size, BufferSize - FBuffer.size());
        FBuffer.append(data, part);
        data += part;
        size -= part;
        if (FBuffer.size() == BufferSize)
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

void ValueWriter::WriteString(const QString& text)
{
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
