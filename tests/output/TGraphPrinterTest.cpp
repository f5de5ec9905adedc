#include "output/TGraphPrinter.h"

#include "output/TGraphOutput.h"

#include "OutputTestSupport.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <sys/resource.h>

void PrintTo(const QRect& r, std::ostream* os)
{
    *os << "(" << r.left() << ", " << r.top() << ") " << r.width() << " x " << r.height();
}

void PrintTo(const TPrintLayout& layout, std::ostream* os)
{
    *os << "target ";
    PrintTo(layout.Target, os);
    *os << ", frame ";
    PrintTo(layout.Frame, os);
}

namespace {

// The page content streams of a PDF written by Qt, inflated.
QList<QByteArray> ContentStreams(const QByteArray& pdf)
{
    QList<QByteArray> streams;
    static const QRegularExpression flate(QStringLiteral("/Filter /FlateDecode\\s*>>\\s*stream\\r?\\n"));
    QRegularExpressionMatchIterator it = flate.globalMatch(QString::fromLatin1(pdf));
    while (it.hasNext()) {
        const qsizetype start = it.next().capturedEnd();
        const qsizetype end = pdf.indexOf("endstream", start);
        QByteArray sized(4, '\0');
        qToBigEndian<quint32>(1 << 20, sized.data()); // room qUncompress may use
        streams.append(qUncompress(sized + pdf.mid(start, end - start)));
    }
    return streams;
}

} // namespace

TEST(PrintLayoutTest, PlacesThePictureEightAndAHalfInchesWideBelowTheTopMargin)
{
    // 600 x 600 dpi: left 0.8 in, top 300 + 3 * 75 + 37.
    EXPECT_EQ(PrintLayout(600, 600, QSize(800, 600)),
              (TPrintLayout{QRect(480, 562, 5100, 3825), QRect(QPoint(479, 561), QPoint(5581, 4388))}));
    // 600 x 300 dpi: the gap of 37.5 rounds to 38, the height of 1912.5 to the even 1912.
    EXPECT_EQ(PrintLayout(600, 300, QSize(800, 600)),
              (TPrintLayout{QRect(480, 283, 5100, 1912), QRect(QPoint(479, 282), QPoint(5581, 2196))}));
    // A view taller than wide prints taller than the picture is wide, whatever the page.
    EXPECT_EQ(PrintLayout(600, 600, QSize(300, 600)).Target.height(), 10200);
    EXPECT_THROW(PrintLayout(0, 600, QSize(800, 600)), std::invalid_argument);
    EXPECT_THROW(PrintLayout(600, 600, QSize(0, 600)), std::invalid_argument);
}

TEST(TGraphPrinterTest, PrintsTheFramedSnapshotOnOneLandscapePage)
{
    QTemporaryDir dir;
    TPatternView view;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("page.pdf"));
    printer.setResolution(300);
    printer.setPageSize(QPageSize(QPageSize::A4));
    // A real printer cannot print near the paper's edge; the picture is placed from the edge all the same.
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    ASSERT_TRUE(TGraphPrinter(&view, view.rect()).PrintPicture(printer));
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(view.Paints, 1);
    EXPECT_FALSE(view.BusyWhilePainting); // the snapshot is taken before the hourglass shows
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);

    const QByteArray pdf = ReadBytes(dir.filePath("page.pdf"));
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n"), 1);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 842.000000 595.000000]")) << "not an A4 landscape page";
    EXPECT_TRUE(pdf.contains("/Width 200\n/Height 120\n")) << "the picture is not the snapshot";
    // In printer pixels at 300 dpi: left 240, top 150 + 3 * 38 + 19; 2550 wide, 1530 high.
    const QList<QByteArray> streams = ContentStreams(pdf);
    ASSERT_EQ(streams.size(), 1);
    const QString page = QString::fromLatin1(streams[0]);
    // Printer pixels start at the paper's top left corner, (0, 595) in PDF points, not at the margins.
    EXPECT_TRUE(page.contains(QLatin1String("0.240000000 0 0 -0.240000000 0 595 cm"))) << page.toStdString();
    EXPECT_TRUE(page.contains("239 282 2553 1533 re\nf")) << "white ground under the frame\n" << page.toStdString();
    for (const char* edge : {"239 282 2553 1 re", "239 1814 2553 1 re", "239 282 1 1533 re", "2791 282 1 1533 re"})
        EXPECT_TRUE(page.contains(QLatin1String(edge))) << edge;
    const QRegularExpressionMatch placed =
        QRegularExpression(QStringLiteral("([\\d.]+) 0 0 ([\\d.]+) (\\d+) (\\d+) cm\\n200 0 0 -120 0 120 cm /Im"))
            .match(page);
    ASSERT_TRUE(placed.hasMatch()) << page.toStdString();
    EXPECT_EQ(placed.captured(3).toInt(), 240);
    EXPECT_EQ(placed.captured(4).toInt(), 283);
    EXPECT_DOUBLE_EQ(placed.captured(1).toDouble() * 200, 2550);
    EXPECT_DOUBLE_EQ(placed.captured(2).toDouble() * 120, 1530);
}

TEST(TGraphPrinterTest, WithoutPrinterOrViewNothingIsPrinted)
{
    TPatternView view;
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        EXPECT_FALSE(TGraphPrinter::PrinterAvailable());
        EXPECT_FALSE(TGraphPrinter(&view, view.rect()).PrintPicture());
        EXPECT_FALSE(TGraphOutput().PrintPicture(view, view.rect()));
        EXPECT_EQ(view.Paints, 0);
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QTemporaryDir dir;
    printer.setOutputFileName(dir.filePath("page.pdf"));
    EXPECT_FALSE(TGraphPrinter(nullptr, view.rect()).PrintPicture(printer));
    EXPECT_FALSE(TGraphPrinter(&view, QRect()).PrintPicture(printer));
    auto* gone = new TPatternView;
    TGraphPrinter printerOfGone(gone, gone->rect());
    delete gone;
    EXPECT_FALSE(printerOfGone.PrintPicture(printer));
    EXPECT_FALSE(QFile::exists(dir.filePath("page.pdf")));
}

TEST_F(SavedPictureTest, SavingPaintsUnderTheHourglassAndRestoresTheCursor)
{
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    Save(QStringLiteral("picture.bmp"), 24);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_TRUE(FView.BusyWhilePainting);
    EXPECT_FALSE(IsBusy());
}

TEST_F(SavedPictureTest, TheSnapshotCoversTheAreaFromTheOriginToItsRightAndBottomEdges)
{
    const QString path = PathOf(QStringLiteral("wide.bmp"));
    ASSERT_TRUE(TGraphPrinter(&FView, QRect(20, 10, 230, 140)).SavePicture(path, 24));
    const QImage image(path);
    ASSERT_EQ(image.size(), QSize(250, 150));
    EXPECT_EQ(image.pixel(1, 1), kRed); // the view from (0, 0)
    EXPECT_EQ(image.pixel(220, 130), kWhite); // beyond the view
    EXPECT_EQ(image.pixel(249, 149), kBlack);
    EXPECT_EQ(image.pixel(249, 75), kBlack);
}

TEST_F(SavedPictureTest, UnknownExtensionsEmptyAreasAndMissingViewsWriteNothing)
{
    const QImage picture = PatternPicture();
    for (const char* name : {"picture.png", "picture", "picture.", "picture.bmp.txt"})
        EXPECT_FALSE(TGraphPrinter::SavePictureByExtension(PathOf(QString::fromLatin1(name)), picture, 24)) << name;
    EXPECT_FALSE(TGraphPrinter::SavePictureByExtension(QString(), picture, 24));
    EXPECT_FALSE(TGraphPrinter(&FView, FView.rect()).SavePicture(PathOf(QStringLiteral("picture.png")), 24));
    EXPECT_FALSE(TGraphPrinter(&FView, QRect(0, 0, 0, 50)).SavePicture(PathOf(QStringLiteral("empty.bmp")), 24));
    EXPECT_FALSE(TGraphPrinter(nullptr, FView.rect()).SavePicture(PathOf(QStringLiteral("none.bmp")), 24));
    EXPECT_EQ(Files(), QStringList());
    EXPECT_FALSE(IsBusy());
}

TEST_F(SavedPictureTest, AFailedSaveLeavesTheExistingFileAsItWas)
{
    const QByteArray old("an older picture");
    for (const char* name : {"old.bmp", "old.emf"}) {
        const QString path = PathOf(QString::fromLatin1(name));
        ASSERT_TRUE(WriteBytes(path, old));
        EXPECT_FALSE(TGraphPrinter(&FView, FView.rect()).SavePicture(path, 16)) << name; // no such depth
        EXPECT_EQ(ReadBytes(path), old);
    }
    EXPECT_FALSE(TGraphPrinter(&FView, FView.rect()).SavePicture(PathOf(QStringLiteral("missing/picture.bmp")), 24));
    EXPECT_EQ(Files(), (QStringList{"old.bmp", "old.emf"}));
}

TEST_F(SavedPictureTest, AFullDiskLeavesTheExistingFileAsItWas)
{
    GTEST_FLAG_SET(death_test_style, "fast");
    const QByteArray old("an older picture");
    const QString path = PathOf(QStringLiteral("old.bmp"));
    ASSERT_TRUE(WriteBytes(path, old));
    // In a child whose files may not grow beyond 4 KiB; exits 3 when the save reported failure.
    const auto child = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &size);
        std::_Exit(TGraphPrinter(&FView, FView.rect()).SavePicture(path, 24) ? 4 : 3);
    };
    EXPECT_EXIT(child(), ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(Files(), QStringList{"old.bmp"});
}

TEST_F(SavedPictureTest, TheViewsOutputSavesThroughAGraphPrinter)
{
    TGraphOutput output;
    EXPECT_EQ(output.PrinterAvailable(), !QPrinterInfo::availablePrinterNames().isEmpty());
    ASSERT_TRUE(output.SavePicture(FView, QRect(0, 0, 100, 60), PathOf(QStringLiteral("part.bmp")), 4));
    const QImage image(PathOf(QStringLiteral("part.bmp")));
    EXPECT_EQ(image.size(), QSize(100, 60));
    EXPECT_EQ(image.colorCount(), 16);
    EXPECT_FALSE(output.SavePicture(FView, FView.rect(), PathOf(QStringLiteral("part.gif")), 24));
}
