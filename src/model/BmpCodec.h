#pragma once

#include <QByteArray>
#include <QImage>

// Pictures inside graph files are complete BMP files.

// A 24-bit BMP file of the picture.
QByteArray EncodeBmp(const QImage& image);

// The picture of a BMP file, or a null image when the bytes are not a BMP that can be read.
// Headers that promise more pixels than the bytes can hold are refused before anything is
// allocated.
QImage DecodeBmp(const QByteArray& bytes);
