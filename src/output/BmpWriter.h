#pragma once

#include <QByteArray>
#include <QImage>

// Pictures as device-independent bitmaps at 1, 4, 8 or 24 bits per pixel: the BMP file, and the
// same bitmap inside a metafile record. Qt writes neither 1- nor 4-bit bitmaps, so the bytes are
// laid out here; the colour reduction is Qt's.

// A bitmap's two parts as a metafile stores them apart: the info header with its colour table,
// and the pixel rows, bottom row first, each padded to a multiple of 4 bytes.
struct TDib
{
    QByteArray Info;
    QByteArray Bits;
};

// Whether depth is one of the bitmap depths 1, 4, 8 and 24.
bool IsBitmapDepth(int depth);

// The picture reduced to depth: two colours at 1 bit, sixteen (the standard 16-colour palette)
// at 4, at most 256 at 8, each with a palette of 2, 16 or 256 entries; true colour at 24. Throws
// std::invalid_argument for another depth or an empty picture, std::length_error for a picture
// too large for a bitmap.
TDib EncodeDib(const QImage& image, int depth);

// A complete BMP file of the picture at depth; throws as EncodeDib.
QByteArray EncodeBmpFile(const QImage& image, int depth);
