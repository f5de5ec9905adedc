#include "output/EmfWriter.h"

#include "output/BmpWriter.h"

#include "OutputTestSupport.h"

#include <QGuiApplication>
#include <QProcessEnvironment>
#include <QScreen>

namespace {

const TEmfReference kFourPixelsAMillimetre{QSize(1000, 500), QSizeF(250, 125)};
constexpr int kHeaderSize = 108;
constexpr int kRecordFixedSize = 80; // of the stretch-DIB record, before its bitmap

struct TRecord
{
    quint32 Type;
    quint32 Size;

    bool operator==(const TRecord&) const = default;
};

void PrintTo(const TRecord& r, std::ostream* os)
{
    *os << "{" << r.Type << ", " << r.Size << "}";
}

// The records in file order, as far as their sizes chain up.
QList<TRecord> Records(const QByteArray& emf)
{
    QList<TRecord> records;
    for (qsizetype at = 0; at + 8 <= emf.size();) {
        const TRecord record{U32(emf, at), U32(emf, at + 4)};
        records.append(record);
        if (record.Size < 8 || record.Size % 4 != 0)
            break;
        at += record.Size;
    }
    return records;
}

QList<qint32> Fields(const QByteArray& bytes, qsizetype at, int count)
{
    QList<qint32> fields;
    for (int i = 0; i < count; ++i)
        fields.append(I32(bytes, at + 4 * i));
    return fields;
}

// The bounding box of everything that is not (nearly) white.
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (ColourDistance(image.pixel(x, y), kWhite) > 40)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST_F(SavedPictureTest, EmfHeaderRecordAndEndDescribeThePicture)
{
    const QByteArray emf = EncodeEmf(PatternPicture(), 8, kFourPixelsAMillimetre);
    const quint32 bitmapSize = 40 + 256 * 4 + 200 * 120;
    EXPECT_EQ(Records(emf), (QList<TRecord>{{1, kHeaderSize}, {81, kRecordFixedSize + bitmapSize}, {14, 20}}));
    ASSERT_EQ(emf.size(), kHeaderSize + kRecordFixedSize + bitmapSize + 20);

    EXPECT_EQ(Fields(emf, 8, 4), (QList<qint32>{0, 0, 199, 119})); // bounds, pixels
    EXPECT_EQ(Fields(emf, 24, 4), (QList<qint32>{0, 0, 4999, 2999})); // frame, 1/100 mm
    EXPECT_EQ(U32(emf, 40), 0x464D4520u);
    EXPECT_EQ(U32(emf, 44), 0x10000u);
    EXPECT_EQ(U32(emf, 48), quint32(emf.size()));
    EXPECT_EQ(U32(emf, 52), 3u);
    EXPECT_EQ(U16(emf, 56), 1); // handles: only the reserved one
    EXPECT_EQ(Fields(emf, 60, 3), (QList<qint32>{0, 0, 0})); // description, palette
    EXPECT_EQ(Fields(emf, 72, 4), (QList<qint32>{1000, 500, 250, 125})); // device pixels, millimetres
    EXPECT_EQ(Fields(emf, 88, 5), (QList<qint32>{0, 0, 0, 250000, 125000})); // micrometres

    const int record = kHeaderSize;
    EXPECT_EQ(Fields(emf, record + 8, 4), (QList<qint32>{0, 0, 199, 119}));
    // Destination (0, 0), the whole source, its bitmap info and bits, plain copy, at its own size.
    EXPECT_EQ(Fields(emf, record + 24, 14),
              (QList<qint32>{0, 0, 0, 0, 200, 120, kRecordFixedSize, 40 + 1024, kRecordFixedSize + 40 + 1024,
                             200 * 120, 0, 0x00CC0020, 200, 120}));
    EXPECT_EQ(U16(emf, record + kRecordFixedSize + 14), 8); // bits per pixel
    EXPECT_EQ(U32(emf, record + kRecordFixedSize + 32), 256u); // palette entries

    EXPECT_EQ(Fields(emf, emf.size() - 20, 5), (QList<qint32>{14, 20, 0, 16, 20}));
}

TEST_F(SavedPictureTest, EmfHoldsTheSameBitmapAsTheBmpAtEveryDepth)
{
    const QImage picture = PatternPicture();
    for (const int depth : {1, 4, 8, 24}) {
        SCOPED_TRACE(depth);
        const QByteArray emf = EncodeEmf(picture, depth, kFourPixelsAMillimetre);
        const QByteArray bmp = EncodeBmpFile(picture, depth);
        const int record = kHeaderSize;
        EXPECT_EQ(emf.mid(record + kRecordFixedSize, U32(emf, record + 52) + U32(emf, record + 60)), bmp.mid(14));
    }
    EXPECT_THROW(EncodeEmf(picture, 2, kFourPixelsAMillimetre), std::invalid_argument);
}

TEST_F(SavedPictureTest, SavedEmfIsRecordedAgainstTheScreenAtTheDepthAsked)
{
    const QByteArray emf = ReadBytes(Save(QStringLiteral("picture.EMF"), 8));
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(Fields(emf, 72, 2), (QList<qint32>{screen->size().width(), screen->size().height()}));
    EXPECT_EQ(U16(emf, kHeaderSize + kRecordFixedSize + 14), 8);
    EXPECT_EQ(U32(emf, kHeaderSize + kRecordFixedSize + 32), 256u);
}

TEST_F(SavedPictureTest, LibreOfficeDrawsTheSavedEmfAsTheBmpShowsIt)
{
    QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed, so no real reader checks the EMF files; "
                        "run scripts/check-emf (as root) to install it and run this test";

    const QList<int> depths{1, 4, 8, 24};
    QStringList arguments;
    for (const int depth : depths) {
        Save(QStringLiteral("picture%1.bmp").arg(depth), depth);
        arguments << Save(QStringLiteral("picture%1.emf").arg(depth), depth);
    }
    // A profile of its own, so that neither a running office nor the user's settings interfere.
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(office, QStringList{"-env:UserInstallation=file://" + home.filePath("profile"), "--headless",
                                      "--convert-to", "png", "--outdir", home.filePath("png")} +
                              arguments);
    ASSERT_TRUE(process.waitForFinished(300000)) << "LibreOffice did not finish in 5 minutes";
    ASSERT_EQ(process.exitCode(), 0) << process.readAll().toStdString();

    for (const int depth : depths) {
        SCOPED_TRACE(depth);
        const QImage original(PathOf(QStringLiteral("picture%1.bmp").arg(depth)));
        const QImage converted = QImage(home.filePath(QStringLiteral("png/picture%1.png").arg(depth)))
                                     .convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(converted.isNull()) << process.readAll().toStdString();
        // The page shows the picture at its physical size (the frame, in 1/100 mm) at 96 dpi.
        const QByteArray emf = ReadBytes(PathOf(QStringLiteral("picture%1.emf").arg(depth)));
        const QSizeF expected((I32(emf, 32) + 1) * 96 / 2540.0, (I32(emf, 36) + 1) * 96 / 2540.0);
        const QRect box = InkBox(converted);
        EXPECT_NEAR(box.width(), expected.width(), 2);
        EXPECT_NEAR(box.height(), expected.height(), 2);
        const auto at = [&](int x, int y) {
            return converted.pixel(box.left() + int((x + 0.5) * box.width() / 200),
                                   box.top() + int((y + 0.5) * box.height() / 120));
        };
        EXPECT_LE(ColourDistance(converted.pixel(box.left(), box.center().y()), kBlack), 80); // the frame
        EXPECT_LE(ColourDistance(converted.pixel(box.center().x(), box.top()), kBlack), 80);
        for (const QPoint p : {QPoint(25, 30), QPoint(75, 30), QPoint(125, 30), QPoint(175, 30)})
            EXPECT_LE(ColourDistance(at(p.x(), p.y()), original.pixel(p)), 10) << p.x() << "," << p.y();
        if (depth == 24) {
            for (const QPoint p : {QPoint(40, 80), QPoint(100, 100), QPoint(160, 90)})
                EXPECT_LE(ColourDistance(at(p.x(), p.y()), original.pixel(p)), 16) << p.x() << "," << p.y();
        }
    }
}
