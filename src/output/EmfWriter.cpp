#include "output/EmfWriter.h"

#include "foundation/Rounding.h"
#include "output/BmpWriter.h"

#include <QDataStream>
#include <QIODevice>
#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr quint32 kHeaderType = 1;
constexpr quint32 kEofType = 14;
constexpr quint32 kStretchDibitsType = 81;
constexpr quint32 kSignature = 0x464D4520; // " EMF"
constexpr quint32 kVersion = 0x10000;
// The header with both extensions, so that readers get the reference size in micrometres.
constexpr quint32 kHeaderSize = 108;
constexpr quint32 kStretchDibitsFixedSize = 80;
constexpr quint32 kEofSize = 20;
constexpr quint32 kDibRgbColours = 0;
constexpr quint32 kSourceCopy = 0x00CC0020;

// Rectangles in metafiles include their right and bottom edges.
void PutRect(QDataStream& out, qint32 width, qint32 height)
{
    out << qint32(0) << qint32(0) << qint32(width - 1) << qint32(height - 1);
}

} // namespace

TEmfReference ScreenReference()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const TEmfReference reference{screen->size(), screen->physicalSize()};
        if (!reference.Pixels.isEmpty() && reference.Millimetres.width() > 0 && reference.Millimetres.height() > 0)
            return reference;
    }
    return {QSize(1920, 1080), QSizeF(1920 * 25.4 / 96, 1080 * 25.4 / 96)};
}

QByteArray EncodeEmf(const QImage& image, int depth, const TEmfReference& reference)
{
    const TDib dib = EncodeDib(image, depth);
    const qint32 width = image.width();
    const qint32 height = image.height();
    const quint32 recordSize = kStretchDibitsFixedSize + quint32(dib.Info.size() + dib.Bits.size());
    const quint32 fileSize = kHeaderSize + recordSize + kEofSize;
    // The picture's size in hundredths of a millimetre on the reference device.
    const qint32 frameWidth = RoundHalfEven(width * reference.Millimetres.width() * 100 / reference.Pixels.width());
    const qint32 frameHeight =
        RoundHalfEven(height * reference.Millimetres.height() * 100 / reference.Pixels.height());

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);

    out << kHeaderType << kHeaderSize;
    PutRect(out, width, height);
    PutRect(out, frameWidth, frameHeight);
    out << kSignature << kVersion << fileSize << quint32(3) // records
        << quint16(1) << quint16(0) // handles (only the reserved one), reserved
        << quint32(0) << quint32(0) << quint32(0) // no description, no palette
        << qint32(reference.Pixels.width()) << qint32(reference.Pixels.height())
        << qint32(RoundHalfEven(reference.Millimetres.width()))
        << qint32(RoundHalfEven(reference.Millimetres.height())) << quint32(0) << quint32(0)
        << quint32(0) // no pixel format, no OpenGL
        << qint32(RoundHalfEven(reference.Millimetres.width() * 1000))
        << qint32(RoundHalfEven(reference.Millimetres.height() * 1000));

    out << kStretchDibitsType << recordSize;
    PutRect(out, width, height);
    out << qint32(0) << qint32(0) // destination
        << qint32(0) << qint32(0) << width << height // source
        << kStretchDibitsFixedSize << quint32(dib.Info.size()) << quint32(kStretchDibitsFixedSize + dib.Info.size())
        << quint32(dib.Bits.size()) << kDibRgbColours << kSourceCopy << width << height;
    out.writeRawData(dib.Info.constData(), int(dib.Info.size()));
    out.writeRawData(dib.Bits.constData(), int(dib.Bits.size()));

    out << kEofType << kEofSize << quint32(0) << quint32(16) << kEofSize;
    return bytes;
}
