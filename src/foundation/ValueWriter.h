#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

class QIODevice;

// Appends tagged values at the device's position. Bytes collect in a 16 KB buffer that goes
// to the device when it is full and on Finish, so a block is complete on the device only once
// its writer has finished. A failed device write raises EStreamError "Stream write error".
class ValueWriter
{
public:
    static constexpr qsizetype BufferSize = 16384;

    explicit ValueWriter(QIODevice& device);
    // Finishes, but cannot report a failure: writers whose result matters call Finish.
    ~ValueWriter();
    ValueWriter(const ValueWriter&) = delete;
    ValueWriter& operator=(const ValueWriter&) = delete;

    // The smallest of the 8-, 16- and 32-bit forms that holds the value.
    void WriteInteger(int32_t value);
    void WriteBoolean(bool value);
    // ASCII text as an 8-bit string (short below 256 characters, long from there), any other
    // text as UTF-8.
    void WriteString(const QString& text);
    void WriteSingle(float value);
    // Days since 30 December 1899; the fraction is the time of day.
    void WriteDate(double value);
    void WriteListBegin();
    void WriteListEnd();
    // An untagged short name in the 8-bit code page, cut to 255 bytes.
    void WriteName(const QString& name);
    void WriteBinary(const QByteArray& bytes);
    // The payload of a binary value without its tag: a 4-byte length and the bytes. Binary
    // values that carry a kind name before their data are built from WriteName and this.
    void WriteUntaggedBinary(const QByteArray& bytes);
    // The 4 bytes that open an object record.
    void WriteSignature();

    // Hands the buffered bytes to the device.
    void Finish();

private:
    void WriteTag(uint8_t tag);
    void WriteBytes(const char* data, qsizetype size);
    void WriteBytes(const QByteArray& bytes);
    template <typename T>
    void WriteLittleEndian(T value);
    // A 4-byte length, then the bytes.
    void WriteCounted(const QByteArray& bytes);
    // Writes ASCII text that fits the buffer as WriteString would; false, with nothing
    // written, for other text.
    bool TryWriteAscii(const QString& text);

    QIODevice& FDevice;
    std::unique_ptr<char[]> FBuffer;
    qsizetype FUsed = 0;
};
