#pragma once

#include <QByteArray>
#include <QImage>

// The JPEG form of a saved picture: baseline, in colour (three components), quality 90.
// Throws std::invalid_argument for an empty picture and std::runtime_error with the encoder's
// message when libjpeg refuses the picture (for instance a side longer than it can store).
QByteArray EncodeJpeg(const QImage& image);

// A JPEG picture as 24-bit colour; a null picture, and the library's message in error, when the
// bytes are no readable JPEG or the picture is implausibly large.
QImage DecodeJpeg(const QByteArray& bytes, QString* error = nullptr);
