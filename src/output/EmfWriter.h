#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>

// The device a metafile is recorded against: it maps the metafile's pixels to millimetres.
struct TEmfReference
{
    QSize Pixels;
    QSizeF Millimetres;
};

// The primary screen; a 96-dpi screen of 1920 x 1080 pixels when there is none or it does not
// know its physical size.
TEmfReference ScreenReference();

// An enhanced metafile of the picture's size in which the picture, reduced to depth (1, 4, 8 or
// 24 bits per pixel, see EncodeDib), is drawn once at (0, 0) at its own size: a header, one
// stretch-DIB record and the end record. Throws as EncodeDib.
QByteArray EncodeEmf(const QImage& image, int depth, const TEmfReference& reference);
