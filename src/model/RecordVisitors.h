#pragma once

#include "foundation/TPoints.h"
#include "foundation/ValueReader.h"
#include "foundation/ValueWriter.h"
#include "model/Records.h"
#include "model/TEgoNetEdge.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <type_traits>

// The visitors that write and read a field list (see RecordFields.h) as the files store it:
// the person and link records and the display-settings block.

// Writes each visited field as its kind is stored.
class TRecordWriter
{
public:
    explicit TRecordWriter(ValueWriter& writer) : FWriter(writer) {}

    template <typename T>
    void operator()(const char*, const T& field)
    {
        Put(field);
    }

    template <typename Access, typename Object>
    void Property(const char*, Access, const Object& object)
    {
        Put(Access::Get(object));
    }

    void Ends(const char*, const char*, const TEgoNetEdge& link)
    {
        FWriter.WriteString(link.Source ? link.Source->ID : QString());
        FWriter.WriteString(link.Target ? link.Target->ID : QString());
    }

private:
    void Put(bool value) { FWriter.WriteBoolean(value); }
    void Put(int32_t value) { FWriter.WriteInteger(value); }
    void Put(uint8_t value) { FWriter.WriteInteger(value); }
    void Put(uint32_t value) { FWriter.WriteInteger(int32_t(value)); }
    void Put(float value) { FWriter.WriteSingle(value); }
    void Put(double value) { FWriter.WriteDate(value); }
    void Put(const QString& value) { FWriter.WriteString(value); }
    void Put(const QStringList& value) { WriteStringList(value, FWriter); }
    void Put(const TFontData& value) { WriteFontValues(value, FWriter); }
    void Put(const QImage& value) { WritePictureRecord(value, FWriter); }

    void Put(QPoint value)
    {
        FWriter.WriteInteger(value.x());
        FWriter.WriteInteger(value.y());
    }

    void Put(const TPoints& value)
    {
        FWriter.WriteListBegin();
        FWriter.WriteInteger(value.Count());
        for (int32_t i = 0; i < value.Count(); ++i)
            Put(value.Get(i));
        FWriter.WriteListEnd();
    }

    ValueWriter& FWriter;
};

// Reads each visited field straight into the object, so that a failure keeps what was read
// before it; a link's end IDs go to the caller.
class TRecordReader
{
public:
    explicit TRecordReader(ValueReader& reader, QString* sourceID = nullptr, QString* targetID = nullptr)
        : FReader(reader)
        , FSourceID(sourceID)
        , FTargetID(targetID)
    {
    }

    template <typename T>
    void operator()(const char*, T& field)
    {
        Take(field);
    }

    template <typename Access, typename Object>
    void Property(const char*, Access, Object& object)
    {
        std::decay_t<decltype(Access::Get(object))> value;
        Take(value);
        // Without a picture in the record the node keeps the one it has.
        if constexpr (std::is_same_v<decltype(value), QImage>)
            if (value.isNull())
                return;
        Access::Set(object, value);
    }

    void Ends(const char*, const char*, TEgoNetEdge&)
    {
        *FSourceID = FReader.ReadString();
        *FTargetID = FReader.ReadString();
    }

private:
    void Take(bool& value) { value = FReader.ReadBoolean(); }
    void Take(int32_t& value) { value = FReader.ReadInteger(); }
    void Take(uint8_t& value) { value = uint8_t(FReader.ReadInteger()); }
    void Take(uint32_t& value) { value = uint32_t(FReader.ReadInteger()); }
    void Take(float& value) { value = FReader.ReadSingle(); }
    void Take(double& value) { value = FReader.ReadDate(); }
    void Take(QString& value) { value = FReader.ReadString(); }
    void Take(QStringList& value) { ReadStringList(value, FReader); }
    void Take(TFontData& value) { ReadFontValues(value, FReader); }
    void Take(QImage& value) { value = ReadPictureRecord(FReader); }

    void Take(QPoint& value)
    {
        const int32_t x = FReader.ReadInteger();
        value = QPoint(x, FReader.ReadInteger());
    }

    void Take(TPoints& value)
    {
        value.Clear();
        FReader.ReadListBegin();
        const int32_t count = FReader.ReadInteger();
        for (int32_t i = 0; i < count; ++i) {
            QPoint point;
            Take(point);
            value.Add(point);
        }
        FReader.ReadListEnd();
    }

    ValueReader& FReader;
    QString* FSourceID;
    QString* FTargetID;
};
