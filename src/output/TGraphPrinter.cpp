#include "output/TGraphPrinter.h"

#include "foundation/AtomicFileWriter.h"
#include "foundation/Rounding.h"
#include "model/TEgoNetNodeDrawer.h"
#include "output/BmpWriter.h"
#include "output/EmfWriter.h"
#include "output/JpegCodec.h"
#include "view/TCursorMan.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include <exception>
#include <stdexcept>

TPrintLayout PrintLayout(int dpiX, int dpiY, QSize picture)
{
    if (dpiX <= 0 || dpiY <= 0 || picture.isEmpty())
        throw std::invalid_argument("no printable area");
    const double aspect = double(dpiY) / dpiX;
    const int32_t left = RoundHalfEven(0.8 * dpiX);
    const int32_t gap = RoundHalfEven(0.125 * dpiY);
    // Half an inch of margin, then three and a half gaps of an eighth of an inch.
    const int32_t top = RoundHalfEven(0.5 * dpiY) + 3 * gap + gap / 2;
    const int32_t width = RoundHalfEven(8.5 * dpiX);
    const int32_t height = RoundHalfEven(8.5 * dpiX * (double(picture.height()) / picture.width()) * aspect);
    const QRect target(left, top, width, height);
    return {target, QRect(QPoint(left - 1, top - 1), QPoint(left + width + 1, top + height + 1))};
}

TGraphPrinter::TGraphPrinter(QWidget* view, const QRect& rect)
    : FView(view), FRect(rect)
{
}

bool TGraphPrinter::PrintPicture()
{
    if (!FView || !PrinterAvailable())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    if (printer.printerName().isEmpty())
        printer.setPrinterName(QPrinterInfo::availablePrinterNames().constFirst());
    return PrintPicture(printer);
}

bool TGraphPrinter::PrintPicture(QPrinter& printer)
{
    if (!FView)
        return false;
    const QImage picture = Snapshot();
    if (picture.isNull())
        return false;
    printer.setPageOrientation(QPageLayout::Landscape);
    // Measure from the paper's edges, not from the printable area's.
    printer.setFullPage(true);
    const auto busy = BusyCursor();
    QPainter canvas;
    if (!canvas.begin(&printer))
        return false;
    const TPrintLayout layout = PrintLayout(printer.logicalDpiX(), printer.logicalDpiY(), picture.size());
    canvas.fillRect(layout.Frame, Qt::white);
    FrameRect(canvas, TRect{layout.Frame.left(), layout.Frame.top(), layout.Frame.right() + 1, layout.Frame.bottom() + 1},
              Qt::black);
    canvas.drawImage(layout.Target, picture);
    return canvas.end();
}

bool TGraphPrinter::SavePicture(const QString& fileName, int depth)
{
    if (!FView)
        return false;
    const auto busy = BusyCursor();
    const QImage picture = Picture();
    return !picture.isNull() && SavePictureByExtension(fileName, picture, depth);
}

QImage TGraphPrinter::Picture() const
{
    if (!FView)
        return QImage();
    QImage picture = Snapshot();
    if (picture.isNull())
        return picture;
    QPainter canvas(&picture);
    FrameRect(canvas, TRect{0, 0, picture.width(), picture.height()}, Qt::black);
    return picture;
}

bool TGraphPrinter::SavePictureByExtension(const QString& fileName, const QImage& bitmap, int depth)
{
    if (fileName.isEmpty())
        return false;
    const QString extension = QFileInfo(fileName).suffix().toLower();
    try {
        QByteArray bytes;
        if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
            bytes = EncodeJpeg(bitmap);
        else if (extension == QLatin1String("emf"))
            bytes = EncodeEmf(bitmap, depth, ScreenReference());
        else if (extension == QLatin1String("bmp"))
            bytes = EncodeBmpFile(bitmap, depth);
        else
            return false;
        QString error;
        return WriteFileAtomically(fileName, bytes, error);
    } catch (const std::exception&) {
        return false;
    }
}

bool TGraphPrinter::PrinterAvailable()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

QImage TGraphPrinter::Snapshot() const
{
    QImage bitmap(FRect.x() + FRect.width(), FRect.y() + FRect.height(), QImage::Format_RGB32);
    if (bitmap.isNull())
        return bitmap;
    bitmap.fill(Qt::white);
    FView->render(&bitmap, QPoint(0, 0));
    return bitmap;
}
