#pragma once

#include <QString>

#include <functional>

class ValueReader;
class ValueWriter;

// The object record: a self-describing record of one object with named properties, embedded
// in the tagged value stream. It is written as
//     WriteObjectRecordStart(writer, "TImage");
//     writer.WriteName("Width");
//     writer.WriteInteger(16);
//     ...
//     WriteObjectRecordEnd(writer);
// and read with ReadObjectRecord and a handler for the property names the reader accepts.

// The signature, the class name and the empty object name.
void WriteObjectRecordStart(ValueWriter& writer, const QString& className);
// Ends the property list and the (always empty) list of contained objects.
void WriteObjectRecordEnd(ValueWriter& writer);

// Called for each property with the reader at the property's tagged value. A handler that
// accepts the name consumes exactly that value (SkipValue for one it ignores) and returns true;
// false means the name is unknown. Dotted names ("Picture.Data") arrive as written.
using TPropertyHandler = std::function<bool(const QString& name, ValueReader& reader)>;

// Reads one object record and returns its class name. Properties of contained objects go to
// the same handler. Errors raise EStreamError: "Invalid stream format" for a wrong signature,
// "Property <name> does not exist" for a name the handler refuses, and the reader's own errors.
QString ReadObjectRecord(ValueReader& reader, const TPropertyHandler& handleProperty);
