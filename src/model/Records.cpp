#include "model/Records.h"

#include "foundation/ObjectRecord.h"
#include "foundation/StreamError.h"
#include "foundation/ValueReader.h"
#include "foundation/ValueWriter.h"
#include "model/BmpCodec.h"
#include "model/TEgoNetEdge.h"

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
    return DecodeBmp(payload.mid(start, qsizetype(length)));
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
            picture = PictureFromPayload(r.ReadBinary());
        } else {
            return false;
        }
        return true;
    });
    return picture;
}

void WriteNodeRecord(const TEgoNetNode& node, ValueWriter& writer)
{
    writer.WriteString(node.ID);
    writer.WriteString(node.TypeName());
    writer.WriteString(node.Caption());
    writer.WriteBoolean(node.ReservedFlag);
    writer.WriteInteger(node.Position.x());
    writer.WriteInteger(node.Position.y());
    writer.WriteInteger(node.LabelPos.x());
    writer.WriteInteger(node.LabelPos.y());
    writer.WriteInteger(node.LabelOrientation);
    writer.WriteString(node.ImageID);
    WritePictureRecord(node.Image, writer);
    writer.WriteBoolean(node.ImageTransparent);
    WriteFontValues(node.Font, writer);
    writer.WriteInteger(node.Shape);
    writer.WriteInteger(int32_t(node.Color));
    writer.WriteInteger(node.Size);
    writer.WriteBoolean(node.Linked);
    writer.WriteBoolean(node.Selected());
    writer.WriteBoolean(node.Enabled);
    writer.WriteBoolean(node.Visible);
    writer.WriteBoolean(node.Movable);
    writer.WriteDate(node.SelectTime);
    WriteStringList(node.Attributes, writer);
    writer.WriteBoolean(node.IsGroup);
    WriteStringList(node.GroupIDs, writer);
    WriteStringList(node.Clusters, writer);
    writer.WriteInteger(node.ReservedInt1);
    writer.WriteInteger(node.ReservedInt2);
    writer.WriteString(node.Key);
    writer.WriteBoolean(node.HideLabel);
    writer.WriteSingle(node.ReservedFloat);
}

void ReadNodeRecord(TEgoNetNode& node, ValueReader& reader)
{
    try {
        node.ID = reader.ReadString();
        node.SetTypeName(reader.ReadString());
        node.SetCaption(reader.ReadString());
        node.ReservedFlag = reader.ReadBoolean();
        const int32_t x = reader.ReadInteger();
        node.Position = QPoint(x, reader.ReadInteger());
        const int32_t lx = reader.ReadInteger();
        node.LabelPos = QPoint(lx, reader.ReadInteger());
        node.LabelOrientation = uint8_t(reader.ReadInteger());
        node.ImageID = reader.ReadString();
        const QImage picture = ReadPictureRecord(reader);
        // Without a picture in the record the node keeps the one it has.
        if (!picture.isNull()) {
            node.Image = picture;
            node.BuildImageMasks();
        }
        node.ImageTransparent = reader.ReadBoolean();
        ReadFontValues(node.Font, reader);
        node.Shape = uint8_t(reader.ReadInteger());
        node.Color = uint32_t(reader.ReadInteger());
        node.Size = reader.ReadInteger();
        node.Linked = reader.ReadBoolean();
        node.SetSelected(reader.ReadBoolean());
        node.Enabled = reader.ReadBoolean();
        node.Visible = reader.ReadBoolean();
        node.Movable = reader.ReadBoolean();
        node.SelectTime = reader.ReadDate();
        ReadStringList(node.Attributes, reader);
        node.IsGroup = reader.ReadBoolean();
        ReadStringList(node.GroupIDs, reader);
        ReadStringList(node.Clusters, reader);
        node.ReservedInt1 = reader.ReadInteger();
        node.ReservedInt2 = reader.ReadInteger();
        node.Key = reader.ReadString();
        node.HideLabel = reader.ReadBoolean();
        node.ReservedFloat = reader.ReadSingle();
    } catch (const EStreamError&) {
        throw EStreamError(QStringLiteral("Node data read error"));
    }
}

void WriteLinkRecord(const TEgoNetEdge& link, ValueWriter& writer)
{
    writer.WriteString(link.TypeName());
    writer.WriteString(link.Source ? link.Source->ID : QString());
    writer.WriteString(link.Target ? link.Target->ID : QString());
    writer.WriteBoolean(link.Directed);
    writer.WriteListBegin();
    writer.WriteInteger(link.Bends.Count());
    for (int32_t i = 0; i < link.Bends.Count(); ++i) {
        writer.WriteInteger(link.Bends.Get(i).x());
        writer.WriteInteger(link.Bends.Get(i).y());
    }
    writer.WriteListEnd();
    writer.WriteInteger(link.MidPoint.x());
    writer.WriteInteger(link.MidPoint.y());
    writer.WriteInteger(link.CurvePoint.x());
    writer.WriteInteger(link.CurvePoint.y());
    writer.WriteInteger(link.Offset);
    writer.WriteString(link.Caption());
    writer.WriteSingle(link.Strength);
    writer.WriteInteger(int32_t(link.Color));
    writer.WriteInteger(link.Width);
    writer.WriteInteger(link.PenStyle);
    WriteFontValues(link.Font, writer);
    writer.WriteInteger(link.HeadLength);
    writer.WriteInteger(link.HeadWidth);
    writer.WriteInteger(int32_t(link.HeadColor));
    WriteStringList(link.Attributes, writer);
    writer.WriteBoolean(link.IsGroup);
    WriteStringList(link.GroupIDs, writer);
    WriteStringList(link.Clusters, writer);
    writer.WriteInteger(link.ReservedInt1);
    writer.WriteInteger(link.ReservedInt2);
    writer.WriteString(link.Key);
    writer.WriteBoolean(link.HideLabel);
    writer.WriteSingle(link.ReservedFloat);
}

void ReadLinkRecord(TEgoNetEdge& link, ValueReader& reader, QString& sourceID, QString& targetID)
{
    try {
        link.SetTypeName(reader.ReadString());
        sourceID = reader.ReadString();
        targetID = reader.ReadString();
        link.Directed = reader.ReadBoolean();
        link.Bends.Clear();
        reader.ReadListBegin();
        const int32_t bends = reader.ReadInteger();
        for (int32_t i = 0; i < bends; ++i) {
            const int32_t x = reader.ReadInteger();
            link.Bends.Add(QPoint(x, reader.ReadInteger()));
        }
        reader.ReadListEnd();
        const int32_t mx = reader.ReadInteger();
        link.MidPoint = QPoint(mx, reader.ReadInteger());
        const int32_t cx = reader.ReadInteger();
        link.CurvePoint = QPoint(cx, reader.ReadInteger());
        link.Offset = reader.ReadInteger();
        link.SetCaption(reader.ReadString());
        link.Strength = reader.ReadSingle();
        link.Color = uint32_t(reader.ReadInteger());
        link.Width = reader.ReadInteger();
        link.PenStyle = uint8_t(reader.ReadInteger());
        ReadFontValues(link.Font, reader);
        link.HeadLength = reader.ReadInteger();
        link.HeadWidth = reader.ReadInteger();
        link.HeadColor = uint32_t(reader.ReadInteger());
        ReadStringList(link.Attributes, reader);
        link.IsGroup = reader.ReadBoolean();
        ReadStringList(link.GroupIDs, reader);
        ReadStringList(link.Clusters, reader);
        link.ReservedInt1 = reader.ReadInteger();
        link.ReservedInt2 = reader.ReadInteger();
        link.Key = reader.ReadString();
        link.HideLabel = reader.ReadBoolean();
        link.ReservedFloat = reader.ReadSingle();
    } catch (const EStreamError&) {
        throw EStreamError(QStringLiteral("Edge data read error"));
    }
}
