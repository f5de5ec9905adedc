#include "model/BmpCodec.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

#include <cstring>

namespace {

uint32_t U32(const QByteArray& b, int at)
{
    uint32_t v;
    std::memcpy(&v, b.constData() + at, 4);
    return qFromLittleEndian(v);
}

uint16_t U16(const QByteArray& b, int at)
{
    uint16_t v;
    std::memcpy(&v, b.constData() + at, 2);
    return qFromLittleEndian(v);
}

// Whether the header's pixel count fits what the file can hold. Uncompressed rows must be
// present in full; run-length data can expand, but not beyond 256 pixels a byte.
bool PlausibleHeader(const QByteArray& bytes)
{
    constexpr int kFileHeader = 14;
    if (bytes.size() < kFileHeader + 12 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    const uint32_t infoSize = U32(bytes, kFileHeader);
    int64_t width;
    int64_t height;
    int64_t bitCount;
    uint32_t compression = 0;
    if (infoSize == 12) {
        width = U16(bytes, kFileHeader + 4);
        height = U16(bytes, kFileHeader + 6);
        bitCount = U16(bytes, kFileHeader + 10);
    } else {
        if (infoSize < 40 || bytes.size() < kFileHeader + 40)
            return false;
        width = int32_t(U32(bytes, kFileHeader + 4));
        height = int32_t(U32(bytes, kFileHeader + 8));
        bitCount = U16(bytes, kFileHeader + 14);
        compression = U32(bytes, kFileHeader + 16);
    }
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 || bitCount == 0 || bitCount > 32)
        return false;
    const int64_t available = bytes.size() - kFileHeader;
    const bool runLength = compression == 1 || compression == 2;
    if (runLength)
        return width * height <= available * 256;
    const int64_t rowBytes = ((width * bitCount + 31) / 32) * 4;
    return rowBytes * height <= available;
}

} // namespace

QByteArray EncodeBmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    writer.write(image.convertToFormat(QImage::Format_RGB32));
    return bytes;
}

QImage DecodeBmp(const QByteArray& bytes)
{
    if (!PlausibleHeader(bytes))
        return QImage();
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull())
        return QImage();
    return image.convertToFormat(QImage::Format_RGB32);
}
