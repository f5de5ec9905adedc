#pragma once

#include "foundation/StreamError.h"
#include "foundation/ValueReader.h"
#include "foundation/ValueWriter.h"

#include <QBuffer>

#include <functional>
#include <string>

// Bytes from hexadecimal text; the blanks between bytes are ignored.
inline QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// Upper-case hexadecimal, so that failures show readable byte lists.
inline std::string Dump(const QByteArray& bytes)
{
    return bytes.toHex(' ').toUpper().toStdString();
}

// What one finished writer appends to an empty device.
inline QByteArray Written(const std::function<void(ValueWriter&)>& write)
{
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    ValueWriter writer(device);
    write(writer);
    writer.Finish();
    return bytes;
}

// The message of the EStreamError that action raises, or "no error".
inline std::string StreamErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EStreamError& error) {
        return error.Message().toStdString();
    }
    return "no error";
}

// A reader over fixed bytes.
struct TReading
{
    explicit TReading(const QByteArray& bytes)
        : Bytes(bytes)
        , Device(&Bytes)
        , Reader(Device)
    {
        Device.open(QIODevice::ReadOnly);
    }

    QByteArray Bytes;
    QBuffer Device;
    ValueReader Reader;
};
