#include "model/Records.h"

#include "foundation/ObjectRecord.h"
#include "foundation/StreamError.h"
#include "foundation/ValueReader.h"
#include "foundation/ValueWriter.h"
#include "model/BmpCodec.h"
#include "model/RecordFields.h"
#include "model/RecordVisitors.h"

#include <QtEndian>

#include <cstring>

namespace {

const QString kPictureKind = QStringLiteral("TBitmap");

} // namespace

void WriteStringList(const QStringList& list, ValueWriter& writer)
{
    writer.WriteListBegin();
    writer.WriteInteger(int32_t(list.size()));
    for (const QString& s : list)
        writer.WriteString(s);
    writer.WriteListEnd();
}

void ReadStringList(QStringList& list, ValueReader& reader)
{
    list.clear();
    reader.ReadListBegin();
    // The count is only trusted as far as the strings are really there.
    const int32_t count = reader.ReadInteger();
    for (int32_t i = 0; i < count; ++i)
        list.append(reader.ReadString());
    reader.ReadListEnd();
}

void WriteFontValues(const TFontData& font, ValueWriter& writer)
{
    writer.WriteString(font.Name);
    writer.WriteInteger(font.Size);
    writer.WriteInteger(int32_t(font.Color));
    writer.WriteString(FontStyleWords(font.Style));
}

void ReadFontValues(TFontData& font, ValueReader& reader)
{
    font.Name = reader.ReadString();
    font.Size = reader.ReadInteger();
    font.Color = uint32_t(reader.ReadInteger());
    font.Style = FontStyleFromWords(reader.ReadString());
}

void WritePictureRecord(const QImage& image, ValueWriter& writer)
{
    const bool hasPicture = !image.isNull() && image.width() > 0 && image.height() > 0;
    WriteObjectRecordStart(writer, QStringLiteral("TImage"));
    writer.WriteName(QStringLiteral("Left"));
    writer.WriteInteger(0);
    writer.WriteName(QStringLiteral("Top"));
    writer.WriteInteger(0);
    writer.WriteName(QStringLiteral("Width"));
    writer.WriteInteger(hasPicture ? image.width() : 0);
    writer.WriteName(QStringLiteral("Height"));
    writer.WriteInteger(hasPicture ? image.height() : 0);
    writer.WriteName(QStringLiteral("AutoSize"));
    writer.WriteBoolean(true);
    if (hasPicture) {
        // The payload names the picture kind before the BMP file it carries.
        const QByteArray bmp = EncodeBmp(image);
        QByteArray payload;
        payload.append(char(kPictureKind.size()));
        payload.append(kPictureKind.toLatin1());
        uint32_t length = qToLittleEndian(uint32_t(bmp.size()));
        payload.append(reinterpret_cast<const char*>(&length), 4);
        payload.append(bmp);
        writer.WriteName(QStringLiteral("Picture.Data"));
        writer.WriteBinary(payload);
    }
    WriteObjectRecordEnd(writer);
}

namespace {

// The picture inside a "Picture.Data" payload; null for another kind or an unreadable BMP.
QImage PictureFromPayload(const QByteArray& payload)
{
    if (payload.isEmpty())
        throw EStreamError(QStringLiteral("Stream read error"));
    const int kindLength = static_cast<unsigned char>(payload[0]);
    if (payload.size() < 1 + kindLength + 4)
        throw EStreamError(QStringLiteral("Stream read error"));
    if (QString::fromLatin1(payload.constData() + 1, kindLength) != kPictureKind)
        return QImage();
    uint32_t length;
    std::memcpy(&length, payload.constData() + 1 + kindLength, 4);
    length = qFromLittleEndian(length);
    const qsizetype start = 1 + kindLength + 4;
    if (length > uint32_t(payload.size() - start))
        throw EStreamError(QStringLiteral("Stream read error"));
    return DecodeBmp(QByteArray::fromRawData(payload.constData() + start, qsizetype(length)));
}

// Persons mostly carry the same picture: a payload equal to the one before gives the same
// image, shared, instead of decoding it again. Only small pictures are remembered, so that a
// large background is not held after its read.
QImage SharedPictureFromPayload(const QByteArray& payload)
{
    constexpr qsizetype kRemembered = 65536;
    thread_local QByteArray lastPayload;
    thread_local QImage lastPicture;
    if (!payload.isEmpty() && payload == lastPayload)
        return lastPicture;
    QImage picture = PictureFromPayload(payload);
    if (payload.size() <= kRemembered) {
        lastPayload = payload;
        lastPicture = picture;
    }
    return picture;
}

} // namespace

QImage ReadPictureRecord(ValueReader& reader)
{
    QImage picture;
    ReadObjectRecord(reader, [&picture](const QString& name, ValueReader& r) {
        if (name == QLatin1String("Left") || name == QLatin1String("Top") || name == QLatin1String("Width")
            || name == QLatin1String("Height")) {
            r.ReadInteger();
        } else if (name == QLatin1String("AutoSize")) {
            r.ReadBoolean();
        } else if (name == QLatin1String("Picture.Data")) {
            picture = SharedPictureFromPayload(r.ReadBinary());
        } else {
            return false;
        }
        return true;
    });
    return picture;
}

void WriteNodeRecord(const TEgoNetNode& node, ValueWriter& writer)
{
    TRecordWriter fields(writer);
    VisitNodeFields(fields, node);
}

void ReadNodeRecord(TEgoNetNode& node, ValueReader& reader)
{
    try {
        TRecordReader fields(reader);
        VisitNodeFields(fields, node);
    } catch (const EStreamError&) {
        throw EStreamError(QStringLiteral("Node data read error"));
    }
}

void WriteLinkRecord(const TEgoNetEdge& link, ValueWriter& writer)
{
    TRecordWriter fields(writer);
    VisitLinkFields(fields, link);
}

void ReadLinkRecord(TEgoNetEdge& link, ValueReader& reader, QString& sourceID, QString& targetID)
{
    try {
        TRecordReader fields(reader, &sourceID, &targetID);
        VisitLinkFields(fields, link);
    } catch (const EStreamError&) {
        throw EStreamError(QStringLiteral("Edge data read error"));
    }
}
