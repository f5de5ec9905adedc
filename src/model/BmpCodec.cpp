#include "model/BmpCodec.h"

#include <QBuffer>
#include <QImageReader>
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

// Whether the header's pixel count fits what the file holds from the pixels' start. Uncompressed
// rows must be present in full; run-length data can expand, but not beyond 256 pixels a byte.
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
    // Counted from where the pixels start: the stored offset, or the end of the headers when it
    // is 0. The image plugin leaves rows it cannot read uninitialised, which would put stray
    // memory into the picture and from there into saved files.
    const uint32_t offset = U32(bytes, 10);
    const int64_t start = offset != 0 ? int64_t(offset) : kFileHeader + int64_t(infoSize);
    const int64_t available = bytes.size() - start;
    if (available <= 0)
        return false;
    const bool runLength = compression == 1 || compression == 2;
    if (runLength)
        return width * height <= available * 256;
    const int64_t rowBytes = ((width * bitCount + 31) / 32) * 4;
    return rowBytes * height <= available;
}

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kPixelOffset = kFileHeaderSize + kInfoHeaderSize;
// What the BMP writer stores for a picture without a resolution: 72 dots per inch.
constexpr int kDefaultDotsPerMeter = 2834;

int RowBytes24(int64_t width)
{
    return int(((width * 24 + 31) / 32) * 4);
}

void PutU32(char* at, uint32_t value)
{
    qToLittleEndian(value, at);
}

// The uncompressed 24-bit BMP with the plain 40-byte header, the kind this program writes,
// decoded directly: the image plugin takes several times as long for the same pixels. Null
// for any other kind, which goes to the plugin.
QImage DecodeBmp24(const QByteArray& bytes)
{
    if (bytes.size() < kPixelOffset || U32(bytes, 10) != kPixelOffset || U32(bytes, kFileHeaderSize) != kInfoHeaderSize
        || U16(bytes, kFileHeaderSize + 12) != 1 || U16(bytes, kFileHeaderSize + 14) != 24
        || U32(bytes, kFileHeaderSize + 16) != 0 || U32(bytes, kFileHeaderSize + 32) != 0)
        return QImage();
    const int32_t width = int32_t(U32(bytes, kFileHeaderSize + 4));
    const int32_t storedHeight = int32_t(U32(bytes, kFileHeaderSize + 8));
    if (width <= 0 || width > 65535 || storedHeight == 0 || storedHeight < -65535 || storedHeight > 65535)
        return QImage();
    const int height = storedHeight < 0 ? -storedHeight : storedHeight;
    const int rowBytes = RowBytes24(width);
    if (kPixelOffset + int64_t(rowBytes) * height > bytes.size()
        || int64_t(width) * height * 4 > int64_t(QImageReader::allocationLimit()) * 1024 * 1024)
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    image.setDotsPerMeterX(int32_t(U32(bytes, kFileHeaderSize + 24)));
    image.setDotsPerMeterY(int32_t(U32(bytes, kFileHeaderSize + 28)));
    // Rows are stored bottom-up unless the height is negative.
    const auto* row = reinterpret_cast<const uchar*>(bytes.constData()) + kPixelOffset;
    for (int i = 0; i < height; ++i, row += rowBytes) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(storedHeight < 0 ? i : height - 1 - i));
        for (int x = 0; x < width; ++x)
            out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
    return image;
}

} // namespace

QByteArray EncodeBmp(const QImage& image)
{
    // Written directly, byte for byte as the image plugin writes an RGB32 picture as 24-bit BMP
    // (the plugin took most of the time of writing a file).
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return QByteArray();
    const int width = rgb.width();
    const int height = rgb.height();
    const int rowBytes = RowBytes24(width);
    QByteArray bytes(kPixelOffset + qsizetype(rowBytes) * height, '\0');
    char* head = bytes.data();
    head[0] = 'B';
    head[1] = 'M';
    PutU32(head + 2, uint32_t(bytes.size()));
    PutU32(head + 10, kPixelOffset);
    PutU32(head + kFileHeaderSize, kInfoHeaderSize);
    PutU32(head + kFileHeaderSize + 4, uint32_t(width));
    PutU32(head + kFileHeaderSize + 8, uint32_t(height));
    qToLittleEndian(uint16_t(1), head + kFileHeaderSize + 12);
    qToLittleEndian(uint16_t(24), head + kFileHeaderSize + 14);
    PutU32(head + kFileHeaderSize + 20, uint32_t(rowBytes * height));
    const int dpmX = rgb.dotsPerMeterX();
    const int dpmY = rgb.dotsPerMeterY();
    PutU32(head + kFileHeaderSize + 24, uint32_t(dpmX ? dpmX : kDefaultDotsPerMeter));
    PutU32(head + kFileHeaderSize + 28, uint32_t(dpmY ? dpmY : kDefaultDotsPerMeter));
    auto* row = reinterpret_cast<uchar*>(head) + kPixelOffset;
    for (int y = height - 1; y >= 0; --y, row += rowBytes) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            row[3 * x] = uchar(qBlue(in[x]));
            row[3 * x + 1] = uchar(qGreen(in[x]));
            row[3 * x + 2] = uchar(qRed(in[x]));
        }
    }
    return bytes;
}

QImage DecodeBmp(const QByteArray& bytes)
{
    if (!PlausibleHeader(bytes))
        return QImage();
    if (QImage direct = DecodeBmp24(bytes); !direct.isNull())
        return direct;
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
