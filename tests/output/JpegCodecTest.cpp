#include "output/JpegCodec.h"

#include "OutputTestSupport.h"

#include <QImageReader>

#include <stdexcept>

TEST_F(SavedPictureTest, JpegHoldsTheFramedPictureOfTheView)
{
    const QString path = Save(QStringLiteral("picture.jpg"), 1); // the depth does not matter
    ASSERT_EQ(QImageReader(path).format(), "jpeg");
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

// Baseline (no interlace), colour, quality 90, as a reader other than our own sees it.
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

TEST(JpegCodecTest, DecodingGivesBackTheEncodedPictureAndRefusesOtherBytes)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 10));
    const QImage decoded = DecodeJpeg(EncodeJpeg(picture));
    ASSERT_EQ(decoded.size(), picture.size());
    const QColor middle = decoded.pixelColor(20, 15);
    EXPECT_NEAR(middle.red(), 200, 6);
    EXPECT_NEAR(middle.blue(), 10, 6);

    QString error;
    EXPECT_TRUE(DecodeJpeg(QByteArray("not a picture"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}
