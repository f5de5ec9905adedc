#include "output/BmpWriter.h"

#include "OutputTestSupport.h"

#include <stdexcept>

namespace {

int PaletteSize(int depth)
{
    return depth == 24 ? 0 : 1 << depth;
}

// The bytes of one stored row (0 = the first in the file) of a BMP file.
QByteArray StoredRow(const QByteArray& bmp, int row)
{
    const int width = I32(bmp, 18);
    const int rowBytes = (width * U16(bmp, 28) + 31) / 32 * 4;
    return bmp.mid(U32(bmp, 10) + row * rowBytes, rowBytes);
}

// Three pixels in a row over two rows: red, white, black on top, all blue below.
QImage ThreeByTwo()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, kRed);
    image.setPixel(1, 0, kWhite);
    image.setPixel(2, 0, kBlack);
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(0, 0, 255));
    image.setPixel(2, 1, qRgb(0, 0, 255));
    return image;
}

} // namespace

TEST_F(SavedPictureTest, BmpHeadersDescribeBottomUpRowsAndAFullPalette)
{
    for (const int depth : {1, 4, 8, 24}) {
        SCOPED_TRACE(depth);
        const QByteArray bmp = ReadBytes(Save(QStringLiteral("picture.bmp"), depth));
        const int palette = PaletteSize(depth);
        const int rowBytes = (200 * depth + 31) / 32 * 4; // 28 at 1 bit: 25 bytes padded
        EXPECT_EQ(bmp.left(2), QByteArray("BM"));
        EXPECT_EQ(U32(bmp, 2), quint32(bmp.size()));
        EXPECT_EQ(U32(bmp, 10), quint32(14 + 40 + 4 * palette));
        EXPECT_EQ(U32(bmp, 14), 40u);
        EXPECT_EQ(I32(bmp, 18), 200);
        EXPECT_EQ(I32(bmp, 22), 120);
        EXPECT_EQ(U16(bmp, 26), 1);
        EXPECT_EQ(U16(bmp, 28), depth);
        EXPECT_EQ(U32(bmp, 30), 0u);
        EXPECT_EQ(U32(bmp, 34), quint32(rowBytes * 120));
        EXPECT_EQ(U32(bmp, 46), quint32(palette));
        EXPECT_EQ(bmp.size(), 14 + 40 + 4 * palette + rowBytes * 120);
    }
}

TEST(BmpWriterTest, RowsAreStoredBottomUpPackedFromTheHighBitsAndPaddedWithZeros)
{
    const QImage image = ThreeByTwo();
    const QByteArray trueColour = EncodeBmpFile(image, 24);
    EXPECT_EQ(StoredRow(trueColour, 0), QByteArray::fromHex("ff0000ff0000ff0000000000")); // blue, as B G R
    EXPECT_EQ(StoredRow(trueColour, 1), QByteArray::fromHex("0000ffffffff000000000000")); // red, white, black

    // The 16-colour palette: black 0, red 9, blue 12, white 15.
    const QByteArray sixteen = EncodeBmpFile(image, 4);
    EXPECT_EQ(StoredRow(sixteen, 0), QByteArray::fromHex("ccc00000"));
    EXPECT_EQ(StoredRow(sixteen, 1), QByteArray::fromHex("9f000000"));
    EXPECT_EQ(U32(sixteen, 54 + 4 * 9), 0x00ff0000u); // red as B G R 0, little-endian

    const QByteArray mono = EncodeBmpFile(image, 1);
    const QRgb first = qRgb(quint8(mono[56]), quint8(mono[55]), quint8(mono[54]));
    // Red and blue are dark: only the white pixel takes the light palette entry.
    const char white = first == kWhite ? 0 : 1;
    const char dark = char(1 - white);
    EXPECT_EQ(quint8(StoredRow(mono, 0)[0]), quint8(dark << 7 | dark << 6 | dark << 5));
    EXPECT_EQ(quint8(StoredRow(mono, 1)[0]), quint8(dark << 7 | white << 6 | dark << 5));
    EXPECT_EQ(StoredRow(mono, 1).mid(1), QByteArray(3, '\0'));
}

TEST(BmpWriterTest, RefusesOtherDepthsAndEmptyPictures)
{
    EXPECT_THROW(EncodeBmpFile(ThreeByTwo(), 16), std::invalid_argument);
    EXPECT_THROW(EncodeBmpFile(ThreeByTwo(), 0), std::invalid_argument);
    EXPECT_THROW(EncodeBmpFile(QImage(), 24), std::invalid_argument);
}

TEST_F(SavedPictureTest, TrueColourBmpKeepsEveryColourInsideABlackFrame)
{
    const QImage image(Save(QStringLiteral("picture.bmp"), 24));
    ASSERT_EQ(image.size(), QSize(200, 120));
    for (const QPoint p : {QPoint(0, 0), QPoint(199, 0), QPoint(0, 119), QPoint(199, 119), QPoint(75, 0),
                           QPoint(0, 90), QPoint(199, 90), QPoint(100, 119)})
        EXPECT_EQ(image.pixel(p), kBlack) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixel(1, 1), kRed);
    EXPECT_EQ(image.pixel(75, 1), kLight);
    EXPECT_EQ(image.pixel(125, 30), kDarkRed);
    EXPECT_EQ(image.pixel(198, 58), kDarkBlue);
    EXPECT_EQ(image.pixel(1, 118), GradientAt(1, 118));
    EXPECT_EQ(image.pixel(150, 100), GradientAt(150, 100));
}

TEST_F(SavedPictureTest, OneBitBmpHasTwoColours)
{
    const QImage image(Save(QStringLiteral("picture.bmp"), 1));
    ASSERT_EQ(image.size(), QSize(200, 120));
    EXPECT_EQ(image.colorCount(), 2);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_TRUE(image.pixel(x, y) == kBlack || image.pixel(x, y) == kWhite) << x << "," << y;
    EXPECT_EQ(image.pixel(75, 0), kBlack); // frame
    EXPECT_EQ(image.pixel(75, 1), kWhite); // light
    EXPECT_EQ(image.pixel(25, 30), kBlack); // red is dark
    EXPECT_EQ(image.pixel(175, 30), kBlack);
    EXPECT_EQ(image.pixel(198, 118), kWhite); // the gradient's light corner
}

TEST_F(SavedPictureTest, FourBitBmpUsesTheSixteenStandardColours)
{
    const QImage image(Save(QStringLiteral("picture.bmp"), 4));
    ASSERT_EQ(image.size(), QSize(200, 120));
    ASSERT_EQ(image.colorCount(), 16);
    EXPECT_EQ(image.colorTable().mid(7, 3), (QList<QRgb>{qRgb(192, 192, 192), qRgb(128, 128, 128), kRed}));
    EXPECT_EQ(image.pixel(0, 0), kBlack);
    EXPECT_EQ(image.pixel(25, 30), kRed);
    EXPECT_EQ(image.pixel(75, 30), qRgb(192, 192, 192)); // the light blue-grey's nearest
    EXPECT_EQ(image.pixel(125, 30), kRed); // dark red is nearer red than maroon
    EXPECT_EQ(image.pixel(175, 30), qRgb(0, 0, 128)); // dark blue becomes navy
}

TEST_F(SavedPictureTest, EightBitBmpHoldsTheGradientWithinAStepOfItsPalette)
{
    const QImage image(Save(QStringLiteral("picture.bmp"), 8));
    ASSERT_EQ(image.size(), QSize(200, 120));
    EXPECT_EQ(image.colorCount(), 256);
    EXPECT_EQ(image.pixel(0, 0), kBlack);
    EXPECT_EQ(image.pixel(25, 30), kRed);
    for (int y = 61; y < 119; y += 7)
        for (int x = 1; x < 199; x += 13)
            EXPECT_LE(ColourDistance(image.pixel(x, y), GradientAt(x, y)), 26) << x << "," << y;
    EXPECT_LE(ColourDistance(image.pixel(75, 30), kLight), 26);
}

TEST_F(SavedPictureTest, ImageMagickReadsEveryBmpDepth)
{
    ASSERT_TRUE(IdentifyInstalled());
    struct TExpected
    {
        int Depth;
        QString Size; // width, height, bits per channel or palette index
        QStringList Verbose;
    };
    const TExpected cases[] = {
        {1, "200 120 1", {"Class: PseudoClass", "Colormap entries: 2\n"}},
        {4, "200 120 4", {"Class: PseudoClass", "Colormap entries: 16\n"}},
        {8, "200 120 8", {"Class: PseudoClass", "Colormap entries: 256\n"}},
        {24, "200 120 8", {"Class: DirectClass", "Type: TrueColor"}},
    };
    for (const TExpected& expected : cases) {
        SCOPED_TRACE(expected.Depth);
        const QString path = Save(QStringLiteral("picture%1.bmp").arg(expected.Depth), expected.Depth);
        EXPECT_EQ(Identify({"-format", "%w %h %z", path}), expected.Size);
        const QString verbose = Identify({"-verbose", path});
        for (const QString& line : expected.Verbose)
            EXPECT_TRUE(verbose.contains(line)) << line.toStdString() << " not in\n" << verbose.toStdString();
    }
}
