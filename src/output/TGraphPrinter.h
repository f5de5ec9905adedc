#pragma once

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

class QPrinter;
class QWidget;

// Where the picture lands on a printed page, in printer pixels.
struct TPrintLayout
{
    // The picture, stretched to 8.5 inches wide with its physical proportions kept, 0.8 inch
    // from the left edge of the paper and about 0.94 inch from its top.
    QRect Target;
    // The pixels the frame's outline runs through: one pixel outside the picture on the left
    // and top, leaving a white line of one pixel between picture and frame on the right and bottom.
    QRect Frame;

    bool operator==(const TPrintLayout&) const = default;
};

// The layout on a printer of dpiX x dpiY pixels per inch for a picture of the given size.
// Throws std::invalid_argument for a resolution or a picture without area.
TPrintLayout PrintLayout(int dpiX, int dpiY, QSize picture);

// Prints or saves a snapshot of what a view shows: one landscape page, or a picture file in the
// format the file name's extension names. Made for one request and thrown away after it.
class TGraphPrinter
{
public:
    // rect is the area to output, the view's client rectangle; the snapshot covers it from (0, 0)
    // to its right and bottom edges.
    TGraphPrinter(QWidget* view, const QRect& rect);

    // Prints one page on the default printer; false without a view or without any printer.
    bool PrintPicture();
    // The same on the given printer (a PDF file, for instance), whether installed or not.
    // Throws when the layout cannot be made; the page is ended and the cursor restored first.
    bool PrintPicture(QPrinter& printer);

    // Saves the snapshot, framed by a black line along its outermost pixels, to fileName at
    // depth bits per pixel (see SavePictureByExtension); false without a view.
    bool SavePicture(const QString& fileName, int depth);
    // The framed snapshot that SavePicture saves; null without a view or area.
    QImage Picture() const;

    // Writes bitmap as the file's extension says, in any letter case: "bmp" at depth 1, 4, 8 or
    // 24 bits per pixel, "jpg" or "jpeg" (depth ignored), "emf" holding the bitmap at depth.
    // False for an empty name, another extension or depth, or when encoding or writing fails;
    // the file is replaced as a whole or not at all.
    static bool SavePictureByExtension(const QString& fileName, const QImage& bitmap, int depth);

    // At least one printer is installed.
    static bool PrinterAvailable();

private:
    // The view painted into a white bitmap at (0, 0); null when the area is empty.
    QImage Snapshot() const;

    QPointer<QWidget> FView;
    QRect FRect;
};
