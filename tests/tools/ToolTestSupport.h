#pragma once

#include "GraphJson.h"

#include "model/BmpCodec.h"
#include "model/TEgoNetModel.h"
#include "settings/GraphFile.h"
#include "settings/TEgoNetDisplaySettings.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QString>

#include <stdexcept>

// The message with which building a graph from the JSON text fails, or "no error".
inline QString JsonErrorOf(const QByteArray& text)
{
    TGraphHeader header;
    TEgoNetDisplaySettings settings;
    TEgoNetModel model;
    try {
        GraphFromJson(ParseJsonObject(text), header, settings, model);
    } catch (const EJsonError& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("no error");
}

// A small picture whose pixels all differ, so that any change to it shows.
inline QImage TestPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 * x + 3, 50 * y + 5, 7 * (x + y) + 11));
    return image;
}

// The picture of a JSON picture object, as RGB32 for comparing pixels.
inline QImage PictureOf(const QJsonValue& json)
{
    const QByteArray bmp = QByteArray::fromBase64(json[QStringLiteral("BMP")].toString().toLatin1());
    return DecodeBmp(bmp).convertToFormat(QImage::Format_RGB32);
}

// Compact JSON text of any value: readable in failure messages, and numbers compare by their text.
inline QString JsonText(const QJsonValue& value)
{
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

inline void WriteBytes(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write a test file");
}

inline QByteArray ReadBytes(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
