#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <stdexcept>

struct TGraphHeader;
class TEgoNetDisplaySettings;
class TEgoNetModel;

// The JSON form of a graph file, with the field names of the data model as keys; the rules are
// in docs/json-format.md. circlewright-tool's dump and build verbs are made of these functions.

// JSON input that cannot be taken; the message names the place, as in
// "Nodes[1].Position: expected [x, y]".
class EJsonError : public std::runtime_error
{
public:
    EJsonError(const QString& place, const QString& problem);
};

// Every persisted field of the network, and for each link whether the link-type filter shows it.
QJsonObject GraphToJson(const TGraphHeader& header, const TEgoNetDisplaySettings& settings, const TEgoNetModel& model);

// Fills a header, settings record and model fresh from their constructors, so that what the JSON
// leaves out keeps the defaults of the data model. Raises EJsonError at the first value it cannot
// take.
void GraphFromJson(const QJsonObject& json, TGraphHeader& header, TEgoNetDisplaySettings& settings,
                   TEgoNetModel& model);

// JSON text that must hold one object; malformed text raises EJsonError placed at its line and column.
QJsonObject ParseJsonObject(const QByteArray& text);

// dump: the file read as the program loads it, as indented JSON text. A file that is not a graph
// file, or cannot be read, raises EStreamError.
QByteArray DumpGraphFile(const QString& fileName);
// build: the graph file made from a JSON file by the program's writer. Nothing is written when the
// JSON is refused (EJsonError) or the JSON file cannot be opened (EStreamError).
void BuildGraphFile(const QString& jsonFileName, const QString& graphFileName);
