#include "foundation/ValueReader.h"

#include "foundation/Cp1252.h"
#include "foundation/StreamError.h"
#include "foundation/ValueTags.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

const char* const kReadError = "Stream read error";
const char* const kInvalidValue = "Invalid property value";

[[noreturn]] void Fail(const char* message)
{
    throw EStreamError(message);
}

} // namespace

ValueReader::ValueReader(QIODevice& device)
    : FDevice(device)
{
}

ValueReader::~ValueReader()
{
    Finish();
}

void ValueReader::Finish() noexcept
{
    const qsizetype unread = FChunkEnd - FChunkPos;
    if (unread > 0)
        FDevice.seek(FDevice.pos() - unread);
    FChunkPos = 0;
    FChunkEnd = 0;
}

void ValueReader::EnsureBuffered()
{
    if (FChunkPos < FChunkEnd)
        return;
    if (FChunk.isEmpty())
        FChunk.resize(ChunkSize);
    const qint64 got = FDevice.read(FChunk.data(), ChunkSize);
    if (got <= 0)
        Fail(kReadError);
    FChunkPos = 0;
    FChunkEnd = got;
}

void ValueReader::ReadRaw(char* out, qint64 size)
{
    while (size > 0) {
        EnsureBuffered();
        const qsizetype part = std::min<qint64>(size, FChunkEnd - FChunkPos);
        std::memcpy(out, FChunk.constData() + FChunkPos, part);
        FChunkPos += part;
        out += part;
        size -= part;
    }
}

template <typename T>
T ValueReader::ReadLittleEndian()
{
    T stored;
    if (FChunkEnd - FChunkPos >= qsizetype(sizeof stored)) {
        std::memcpy(&stored, FChunk.constData() + FChunkPos, sizeof stored);
        FChunkPos += sizeof stored;
    } else {
        ReadRaw(reinterpret_cast<char*>(&stored), sizeof stored);
    }
    return qFromLittleEndian(stored);
}

uint8_t ValueReader::ReadTag()
{
    if (FChunkPos < FChunkEnd)
        return static_cast<uint8_t>(FChunk.constData()[FChunkPos++]);
    return ReadLittleEndian<uint8_t>();
}

void ValueReader::RequireRemaining(qint64 size)
{
    // The device is only asked when the read-ahead cannot hold the value.
    if (size <= FChunkEnd - FChunkPos)
        return;
    const qint64 onDevice = std::max<qint64>(FDevice.size() - FDevice.pos(), 0);
    if (size > FChunkEnd - FChunkPos + onDevice)
        Fail(kReadError);
}

QByteArray ValueReader::ReadBytes(qint64 size)
{
    RequireRemaining(size);
    QByteArray bytes(size, Qt::Uninitialized);
    ReadRaw(bytes.data(), size);
    return bytes;
}

void ValueReader::Skip(qint64 size)
{
    RequireRemaining(size);
    while (size > 0) {
        EnsureBuffered();
        const qsizetype part = std::min<qint64>(size, FChunkEnd - FChunkPos);
        FChunkPos += part;
        size -= part;
    }
}

QString ValueReader::ReadShortCp1252()
{
    const uint8_t length = ReadLittleEndian<uint8_t>();
    if (length <= FChunkEnd - FChunkPos) {
        const char* start = FChunk.constData() + FChunkPos;
        FChunkPos += length;
        return DecodeCp1252(start, length);
    }
    return DecodeCp1252(ReadBytes(length));
}

std::optional<int64_t> ValueReader::ReadIntegerPayload(uint8_t tag)
{
    switch (tag) {
    case ValueTag::Integer8:
        return ReadLittleEndian<int8_t>();
    case ValueTag::Integer16:
        return ReadLittleEndian<int16_t>();
    case ValueTag::Integer32:
        return ReadLittleEndian<int32_t>();
    case ValueTag::Integer64:
        return ReadLittleEndian<int64_t>();
    default:
        return std::nullopt;
    }
}

int32_t ValueReader::ReadInteger()
{
    const uint8_t tag = ReadTag();
    if (tag != ValueTag::Integer64)
        if (const auto value = ReadIntegerPayload(tag))
            return static_cast<int32_t>(*value);
    Fail(kInvalidValue);
}

bool ValueReader::ReadBoolean()
{
    return ReadTag() == ValueTag::True;
}

QString ValueReader::ReadString()
{
    switch (ReadTag()) {
    case ValueTag::ShortString:
        return ReadShortCp1252();
    case ValueTag::LongString:
        return DecodeCp1252(ReadUntaggedBinary());
    case ValueTag::Utf8String:
        return QString::fromUtf8(ReadUntaggedBinary());
    case ValueTag::WideString: {
        const QByteArray bytes = ReadBytes(2 * qint64(ReadLittleEndian<uint32_t>()));
        QString text(bytes.size() / 2, Qt::Uninitialized);
        qFromLittleEndian<char16_t>(bytes.constData(), text.size(), text.data());
        return text;
    }
    default:
        Fail(kInvalidValue);
    }
}

float ValueReader::ReadSingle()
{
    const uint8_t tag = ReadTag();
    if (tag == ValueTag::Single)
        return std::bit_cast<float>(ReadLittleEndian<uint32_t>());
    if (const auto value = ReadIntegerPayload(tag))
        return static_cast<float>(*value);
    Fail(kInvalidValue);
}

double ValueReader::ReadDate()
{
    const uint8_t tag = ReadTag();
    if (tag == ValueTag::Date)
        return std::bit_cast<double>(ReadLittleEndian<uint64_t>());
    if (const auto value = ReadIntegerPayload(tag))
        return static_cast<double>(*value);
    Fail(kInvalidValue);
}

void ValueReader::ReadListBegin()
{
    const uint8_t tag = ReadTag();
    if (tag != ValueTag::ListBegin)
        RejectValue(tag);
}

void ValueReader::ReadListEnd()
{
    const uint8_t tag = ReadTag();
    if (tag != ValueTag::EndOfList)
        RejectValue(tag);
}

void ValueReader::RejectValue(uint8_t tag)
{
    // The wrong tag is the fault to report, also when its value is cut short or unskippable.
    try {
        SkipPayload(tag);
    } catch (const EStreamError&) {
    }
    Fail(kInvalidValue);
}

QString ValueReader::ReadName()
{
    return ReadShortCp1252();
}

uint8_t ValueReader::PeekTag()
{
    if (FChunkPos == FChunkEnd)
        EnsureBuffered();
    return static_cast<uint8_t>(FChunk[FChunkPos]);
}

QByteArray ValueReader::ReadBinary()
{
    if (ReadTag() != ValueTag::Binary)
        Fail(kInvalidValue);
    return ReadUntaggedBinary();
}

QByteArray ValueReader::ReadUntaggedBinary()
{
    return ReadBytes(ReadLittleEndian<uint32_t>());
}

void ValueReader::SkipValue()
{
    SkipPayload(ReadTag());
}

void ValueReader::SkipPayload(uint8_t tag)
{
    switch (tag) {
    case ValueTag::EndOfList:
    case ValueTag::False:
    case ValueTag::True:
    case ValueTag::Nil:
        return;
    case ValueTag::ListBegin:
        // A depth count rather than recursion: hostile nesting must not exhaust the stack.
        for (int64_t depth = 1; depth > 0;) {
            const uint8_t inner = ReadTag();
            if (inner == ValueTag::ListBegin)
                ++depth;
            else if (inner == ValueTag::EndOfList)
                --depth;
            else
                SkipPayload(inner);
        }
        return;
    case ValueTag::Integer8:
        return Skip(1);
    case ValueTag::Integer16:
        return Skip(2);
    case ValueTag::Integer32:
    case ValueTag::Single:
        return Skip(4);
    case ValueTag::Currency:
    case ValueTag::Date:
    case ValueTag::Integer64:
        return Skip(8);
    case ValueTag::Extended:
        return Skip(10);
    case ValueTag::ShortString:
    case ValueTag::Identifier:
        return Skip(ReadLittleEndian<uint8_t>());
    case ValueTag::Binary:
    case ValueTag::LongString:
    case ValueTag::Utf8String:
        return Skip(ReadLittleEndian<uint32_t>());
    case ValueTag::WideString:
        return Skip(2 * qint64(ReadLittleEndian<uint32_t>()));
    case ValueTag::Set:
        for (uint8_t length = ReadLittleEndian<uint8_t>(); length != 0; length = ReadLittleEndian<uint8_t>())
            Skip(length);
        return;
    default:
        Fail(kInvalidValue);
    }
}
