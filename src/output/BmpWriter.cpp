#include "output/BmpWriter.h"

#include <QDataStream>
#include <QIODevice>
#include <QList>

#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
// The headers count bytes in 32 bits; keep well clear of that with the headers and a metafile
// record around the rows.
constexpr qint64 kMaxBitsSize = std::numeric_limits<int32_t>::max() / 2;

// The 16 colours every 4-bit display shows.
const QList<QRgb>& SixteenColours()
{
    static const QList<QRgb> colours = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return colours;
}

// One byte per pixel: palette indexes below 2^depth, or blue, green, red at 24 bits. Threshold
// matching keeps lines and flat areas of a graph clean where dithering would speckle them.
QImage Reduced(const QImage& image, int depth)
{
    const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    switch (depth) {
    case 1:
        return opaque.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)
            .convertToFormat(QImage::Format_Indexed8);
    case 4:
        return opaque.convertToFormat(QImage::Format_Indexed8, SixteenColours(), Qt::ThresholdDither);
    case 8:
        return opaque.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    default:
        return opaque.convertToFormat(QImage::Format_BGR888);
    }
}

} // namespace

bool IsBitmapDepth(int depth)
{
    return depth == 1 || depth == 4 || depth == 8 || depth == 24;
}

TDib EncodeDib(const QImage& image, int depth)
{
    if (!IsBitmapDepth(depth))
        throw std::invalid_argument("unsupported bitmap depth");
    if (image.isNull())
        throw std::invalid_argument("empty picture");
    const qint64 width = image.width();
    const qint64 height = image.height();
    const qint64 rowBytes = (width * depth + 31) / 32 * 4;
    if (rowBytes * height > kMaxBitsSize)
        throw std::length_error("picture too large for a bitmap");

    const QImage reduced = Reduced(image, depth);
    const qint64 pixelBytes = depth == 24 ? width * 3 : width;
    if (reduced.width() != width || reduced.height() != height || reduced.bytesPerLine() < pixelBytes)
        throw std::runtime_error("colour reduction failed");

    TDib dib;
    const uint32_t paletteSize = depth == 24 ? 0 : 1u << depth;
    QDataStream info(&dib.Info, QIODevice::WriteOnly);
    info.setByteOrder(QDataStream::LittleEndian);
    info << quint32(kInfoHeaderSize) << qint32(width)
         << qint32(height) // positive: bottom row first
         << quint16(1) << quint16(depth) << quint32(0) // uncompressed
         << quint32(rowBytes * height) << qint32(image.dotsPerMeterX()) << qint32(image.dotsPerMeterY())
         << quint32(paletteSize) << quint32(0);
    const QList<QRgb> table = reduced.colorTable();
    for (uint32_t i = 0; i < paletteSize; ++i) {
        const QRgb colour = i < uint32_t(table.size()) ? table[i] : qRgb(0, 0, 0);
        info << quint8(qBlue(colour)) << quint8(qGreen(colour)) << quint8(qRed(colour)) << quint8(0);
    }

    dib.Bits = QByteArray(rowBytes * height, '\0');
    for (qint64 y = 0; y < height; ++y) {
        const uchar* source = reduced.constScanLine(int(height - 1 - y));
        auto* row = reinterpret_cast<uchar*>(dib.Bits.data() + y * rowBytes);
        if (depth >= 8) {
            std::memcpy(row, source, size_t(pixelBytes));
            continue;
        }
        // Pixels packed from the high bits of each byte down.
        const uchar mask = uchar((1 << depth) - 1);
        for (qint64 x = 0; x < width; ++x) {
            const qint64 bit = x * depth;
            row[bit / 8] |= uchar((source[x] & mask) << (8 - depth - bit % 8));
        }
    }
    return dib;
}

QByteArray EncodeBmpFile(const QImage& image, int depth)
{
    const TDib dib = EncodeDib(image, depth);
    const qint64 offset = kFileHeaderSize + dib.Info.size();
    QByteArray bytes;
    QDataStream file(&bytes, QIODevice::WriteOnly);
    file.setByteOrder(QDataStream::LittleEndian);
    file.writeRawData("BM", 2);
    file << quint32(offset + dib.Bits.size()) << quint32(0) << quint32(offset);
    file.writeRawData(dib.Info.constData(), int(dib.Info.size()));
    file.writeRawData(dib.Bits.constData(), int(dib.Bits.size()));
    return bytes;
}
