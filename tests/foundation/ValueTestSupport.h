#pragma once

#include "foundation/StreamError.h"
#include "foundation/ValueReader.h"
#include "foundation/ValueWriter.h"

#include <QBuffer>

#include <functional>
#include <string>

// Bytes from hexadecimal text; blanks between the bytes are ignored.
inline QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// Bytes as upper-case hexadecimal text, so that failures show readable byte lists.
inline std::string Dump(const QByteArray& bytes)
{
    return bytes.toHex(' ').toUpper().toStdString();
}

// The bytes that one finished writer appends to an empty device.
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

// A reader over fixed bytes, starting at the first.
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
