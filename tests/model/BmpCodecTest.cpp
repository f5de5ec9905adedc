#include "model/BmpCodec.h"
#include "model/TEgoNetNode.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

// A picture of random pixels, with a random resolution now and then.
QImage RandomPicture(QRandomGenerator& random, int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, random.generate() | 0xFF000000u);
    if (random.bounded(3) == 0) {
        picture.setDotsPerMeterX(1 + random.bounded(20000));
        picture.setDotsPerMeterY(1 + random.bounded(20000));
    }
    return picture;
}

QByteArray WrittenByPlugin(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "BMP").write(image.convertToFormat(QImage::Format_RGB32));
    return bytes;
}

QImage ReadByPlugin(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    reader.setDecideFormatFromContent(false);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

void ExpectSamePicture(const QImage& actual, const QImage& expected)
{
    ASSERT_EQ(actual.isNull(), expected.isNull());
    EXPECT_EQ(actual.format(), expected.format());
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected);
    EXPECT_EQ(actual.dotsPerMeterX(), expected.dotsPerMeterX());
    EXPECT_EQ(actual.dotsPerMeterY(), expected.dotsPerMeterY());
}

} // namespace

TEST(BmpCodec, DirectCodingMatchesTheImagePluginOnRandomPictures)
{
    QRandomGenerator random(18);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        // Odd widths give padded rows; other formats go through the conversion first.
        QImage picture = RandomPicture(random, 1 + random.bounded(37), 1 + random.bounded(23));
        if (round % 4 == 1)
            picture = picture.convertToFormat(QImage::Format_ARGB32);
        if (round % 4 == 2)
            picture = picture.convertToFormat(QImage::Format_RGB888);
        const QByteArray bytes = EncodeBmp(picture);
        ASSERT_EQ(bytes, WrittenByPlugin(picture));
        ExpectSamePicture(DecodeBmp(bytes), ReadByPlugin(bytes));

        // Stored top-down.
        QByteArray topDown = bytes;
        qToLittleEndian<qint32>(-picture.height(), topDown.data() + 22);
        ExpectSamePicture(DecodeBmp(topDown), ReadByPlugin(topDown));

        // Header fields that leave the pixel rows where they are (sizes, resolution, colour
        // counts), and a smaller width and height: whatever is decoded is what the plugin reads.
        constexpr int kLayoutNeutral[] = {2, 3, 4, 5, 6, 7, 8, 9, 34, 35, 36, 37, 38, 41, 42, 45, 46, 49, 50, 53};
        QByteArray damaged = bytes;
        const int at = kLayoutNeutral[random.bounded(int(std::size(kLayoutNeutral)))];
        damaged[at] = char(random.bounded(256));
        qToLittleEndian<qint32>(1 + random.bounded(picture.width()), damaged.data() + 18);
        qToLittleEndian<qint32>((1 + random.bounded(picture.height())) * (random.bounded(2) ? 1 : -1), damaged.data() + 22);
        SCOPED_TRACE(at);
        const QImage decoded = DecodeBmp(damaged);
        if (!decoded.isNull())
            ExpectSamePicture(decoded, ReadByPlugin(damaged));
    }
    EXPECT_TRUE(EncodeBmp(QImage()).isEmpty());
}

TEST(BmpCodec, OtherBitDepthsStillGoThroughThePlugin)
{
    QImage grey(7, 5, QImage::Format_Indexed8);
    grey.setColorCount(256);
    for (int i = 0; i < 256; ++i)
        grey.setColor(i, qRgb(i, i, i));
    grey.fill(90);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&buffer, "BMP").write(grey));
    const QImage decoded = DecodeBmp(bytes);
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    EXPECT_EQ(decoded.pixel(6, 4), qRgb(90, 90, 90));
}

// Rows that are not in the file would come back as whatever memory held: no picture instead.
TEST(BmpCodec, PixelsThatStartTooLateForTheirRowsGiveNoPicture)
{
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    const QByteArray whole = EncodeBmp(picture);
    ASSERT_FALSE(DecodeBmp(whole).isNull());

    QByteArray late = whole;
    qToLittleEndian<uint32_t>(uint32_t(whole.size() - 24), late.data() + 10);
    EXPECT_TRUE(DecodeBmp(late).isNull()) << "the offset leaves room for one row of four";

    QByteArray cut = whole.left(whole.size() - 1);
    EXPECT_TRUE(DecodeBmp(cut).isNull());
}

TEST(BmpCodec, MasksMatchThePixelsAndFollowChangedPictures)
{
    QRandomGenerator random(7);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        const int w = 1 + random.bounded(40);
        const int h = 1 + random.bounded(20);
        // Few colours, so that many pixels match the transparent one at the bottom left.
        QImage picture(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                picture.setPixel(x, y, qRgb(random.bounded(2) * 255, 0, 40));
        TEgoNetNode node;
        node.Image = picture;
        node.BuildImageMasks();
        const QRgb transparent = picture.pixel(0, h - 1);
        ASSERT_EQ(node.ImageMask.format(), QImage::Format_Mono);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool clear = picture.pixel(x, y) == transparent;
                ASSERT_EQ(node.ImageMask.pixelIndex(x, y), clear ? 1 : 0) << x << "," << y;
                ASSERT_EQ(node.ImageColorPart.pixel(x, y), clear ? qRgb(0, 0, 0) : picture.pixel(x, y));
            }
        }
        // The same picture again shares the masks; a changed one gets its own.
        TEgoNetNode twin;
        twin.Image = node.Image;
        twin.BuildImageMasks();
        EXPECT_EQ(twin.ImageMask, node.ImageMask);
        if (w == 1 && h == 1)
            continue;
        const QRgb other = transparent == qRgb(0, 0, 40) ? qRgb(255, 0, 40) : qRgb(0, 0, 40);
        twin.Image.setPixel(w - 1, 0, picture.pixel(w - 1, 0) == transparent ? other : transparent);
        twin.BuildImageMasks();
        EXPECT_NE(twin.ImageMask.pixelIndex(w - 1, 0), node.ImageMask.pixelIndex(w - 1, 0));
    }
}
