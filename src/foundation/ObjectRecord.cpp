#include "foundation/ObjectRecord.h"

#include "foundation/StreamError.h"
#include "foundation/ValueReader.h"
#include "foundation/ValueTags.h"
#include "foundation/ValueWriter.h"

#include <cstring>

namespace {

constexpr char kSignature[] = "TPF0";
constexpr uint8_t kPrefixMask = 0xF0;
constexpr uint8_t kPrefixWithInteger = 0x02;

// Everything of a record after the signature up to its contained objects: the optional
// prefix, the class name, the object name and the properties. Returns the class name.
QString ReadObjectHead(ValueReader& reader, const TPropertyHandler& handleProperty)
{
    if ((reader.PeekTag() & kPrefixMask) == kPrefixMask) {
        const uint8_t flags = reader.ReadTag();
        if (flags & kPrefixWithInteger)
            reader.ReadInteger();
    }
    const QString className = reader.ReadName();
    reader.ReadName();
    while (reader.PeekTag() != ValueTag::EndOfList) {
        const QString name = reader.ReadName();
        if (!handleProperty(name, reader))
            throw EStreamError(QStringLiteral("Property %1 does not exist").arg(name));
    }
    reader.ReadTag();
    return className;
}

} // namespace

void WriteObjectRecordStart(ValueWriter& writer, const QString& className)
{
    writer.WriteSignature();
    writer.WriteName(className);
    writer.WriteName(QString());
}

void WriteObjectRecordEnd(ValueWriter& writer)
{
    writer.WriteListEnd();
    writer.WriteListEnd();
}

QString ReadObjectRecord(ValueReader& reader, const TPropertyHandler& handleProperty)
{
    char signature[4];
    for (char& c : signature)
        c = static_cast<char>(reader.ReadTag());
    if (std::memcmp(signature, kSignature, sizeof signature) != 0)
        throw EStreamError(QStringLiteral("Invalid stream format"));

    const QString className = ReadObjectHead(reader, handleProperty);
    // Contained objects nest without recursion, so hostile nesting cannot exhaust the stack:
    // each open object ends with a 0 byte after its own contained objects.
    for (int64_t open = 1; open > 0;) {
        if (reader.PeekTag() == ValueTag::EndOfList) {
            reader.ReadTag();
            --open;
        } else {
            ReadObjectHead(reader, handleProperty);
            ++open;
        }
    }
    return className;
}
