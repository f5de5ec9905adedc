#include "output/JpegWriter.h"

#include "OutputTestSupport.h"

#include <QImageReader>

#include <stdexcept>

namespace {

// The frame markers before the scan: their codes, and the component count of a start-of-frame.
struct TJpegFrames
{
    QList<quint8> Markers;
    int Components = 0;
};

TJpegFrames FramesOf(const QByteArray& jpeg)
{
    TJpegFrames frames;
    qsizetype at = 2; // after the start-of-image marker
    while (at + 4 <= jpeg.size() && quint8(jpeg[at]) == 0xFF) {
        const quint8 marker = quint8(jpeg[at + 1]);
        frames.Markers.append(marker);
        if (marker == 0xDA) // start of scan: entropy-coded data follows
            break;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC &&
            at + 9 < jpeg.size())
            frames.Components = quint8(jpeg[at + 9]);
        at += 2 + qFromBigEndian<quint16>(jpeg.constData() + at + 2);
    }
    return frames;
}

} // namespace

TEST_F(SavedPictureTest, JpegIsABaselineColourPictureOfTheView)
{
    const QString path = Save(QStringLiteral("picture.jpg"), 1); // the depth does not matter
    const QByteArray jpeg = ReadBytes(path);
    ASSERT_TRUE(jpeg.startsWith("\xFF\xD8\xFF"));
    const TJpegFrames frames = FramesOf(jpeg);
    EXPECT_TRUE(frames.Markers.contains(0xC0)) << "no baseline frame";
    EXPECT_FALSE(frames.Markers.contains(0xC2)) << "progressive";
    EXPECT_EQ(frames.Components, 3);
    EXPECT_EQ(frames.Markers.constLast(), 0xDA);

    const QImage image(path);
    ASSERT_EQ(image.size(), QSize(200, 120));
    EXPECT_LE(ColourDistance(image.pixel(25, 30), kRed), 12);
    EXPECT_LE(ColourDistance(image.pixel(75, 30), kLight), 12);
    EXPECT_LE(ColourDistance(image.pixel(125, 30), kDarkRed), 12);
    EXPECT_LE(ColourDistance(image.pixel(175, 30), kDarkBlue), 12);
    EXPECT_LE(ColourDistance(image.pixel(100, 100), GradientAt(100, 100)), 12);
    // The frame survives compression as a dark line along the light band.
    EXPECT_LE(ColourDistance(image.pixel(75, 0), kBlack), 60);
    EXPECT_LE(ColourDistance(image.pixel(75, 3), kLight), 20);
}

TEST_F(SavedPictureTest, ImageMagickSeesQualityNinetyAndNoInterlace)
{
    ASSERT_TRUE(IdentifyInstalled());
    const QString verbose = Identify({"-verbose", Save(QStringLiteral("picture.jpg"), 24)});
    for (const char* line : {"Geometry: 200x120+0+0", "Colorspace: sRGB", "Type: TrueColor", "Interlace: None",
                             "Quality: 90\n"})
        EXPECT_TRUE(verbose.contains(QLatin1String(line))) << line << " not in\n" << verbose.toStdString();
}

TEST_F(SavedPictureTest, TheJpegExtensionsAreMatchedInAnyCase)
{
    for (const char* name : {"a.jpg", "b.JPG", "c.jpeg", "d.JPEG", "e.JpEg"}) {
        const QString path = Save(QString::fromLatin1(name), 24);
        EXPECT_EQ(QImageReader(path).format(), "jpeg") << name;
    }
}

TEST(JpegWriterTest, AnEncoderErrorIsReportedAndTheProgramGoesOn)
{
    // libjpeg stores at most 65500 pixels a side; it refuses this picture inside the encoder.
    QImage wide(65501, 1, QImage::Format_RGB32);
    wide.fill(Qt::gray);
    try {
        EncodeJpeg(wide);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("65500"), std::string::npos) << error.what();
    }
    QTemporaryDir dir;
    EXPECT_FALSE(TGraphPrinter::SavePictureByExtension(dir.filePath("wide.jpg"), wide, 24));
    EXPECT_FALSE(QFile::exists(dir.filePath("wide.jpg")));
    EXPECT_THROW(EncodeJpeg(QImage()), std::invalid_argument);
}
