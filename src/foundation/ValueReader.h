#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

class QIODevice;

// Takes tagged values from a random-access device, starting at its current position. It reads
// ahead in chunks of up to 16 KB; Finish (or the destructor) moves the device back to just
// after the last consumed byte, so that the next reader or a direct read starts there.
//
// Errors raise EStreamError: "Stream read error" when the data end inside a value (lengths are
// checked against the bytes that remain before anything is allocated), "Invalid property value"
// for a tag that the read does not accept. After an error the position is undefined.
class ValueReader
{
public:
    static constexpr qsizetype ChunkSize = 16384;

    explicit ValueReader(QIODevice& device);
    ~ValueReader();
    ValueReader(const ValueReader&) = delete;
    ValueReader& operator=(const ValueReader&) = delete;

    // The 8-, 16- or 32-bit forms, sign-extended.
    int32_t ReadInteger();
    // True exactly for the tag of true; any other byte is false and only that byte is consumed.
    bool ReadBoolean();
    // Short and long 8-bit strings (Windows-1252), UTF-8 and UTF-16 strings.
    QString ReadString();
    // A single float, or an integer of any form (64 bits included) converted.
    float ReadSingle();
    // A date-time, or an integer of any form converted.
    double ReadDate();
    // A wrong tag fails after its whole value has been skipped.
    void ReadListBegin();
    void ReadListEnd();
    // An untagged short name in the 8-bit code page.
    QString ReadName();
    // The next byte, not consumed.
    uint8_t PeekTag();
    // The next byte, consumed.
    uint8_t ReadTag();
    QByteArray ReadBinary();
    // A 4-byte length and that many bytes, as WriteUntaggedBinary writes them.
    QByteArray ReadUntaggedBinary();
    // Passes over the next value of any kind the stream defines; a list is skipped up to its
    // matching end. The collection tag and unknown tags give "Invalid property value".
    void SkipValue();

    // Gives the unconsumed read-ahead back to the device.
    void Finish() noexcept;

private:
    // Refills the read-ahead when it is used up; fails when the device has no more.
    void EnsureBuffered();
    void ReadRaw(char* out, qint64 size);
    template <typename T>
    T ReadLittleEndian();
    // Fails at once when fewer than size bytes remain.
    void RequireRemaining(qint64 size);
    QByteArray ReadBytes(qint64 size);
    void Skip(qint64 size);
    // A short 8-bit string, decoded straight from the read-ahead when it holds it whole.
    QString ReadShortCp1252();
    // The value of an integer tag, 64-bit included; nothing for other tags.
    std::optional<int64_t> ReadIntegerPayload(uint8_t tag);
    void SkipPayload(uint8_t tag);
    [[noreturn]] void RejectValue(uint8_t tag);

    QIODevice& FDevice;
    QByteArray FChunk;
    qsizetype FChunkPos = 0;
    qsizetype FChunkEnd = 0;
};
