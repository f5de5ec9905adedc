#include "GraphJson.h"

#include "foundation/StreamError.h"
#include "foundation/TPoints.h"
#include "model/BmpCodec.h"
#include "model/ModelConstants.h"
#include "model/RecordFields.h"
#include "model/TEgoNetModel.h"
#include "settings/GraphFile.h"
#include "settings/SettingsFields.h"
#include "settings/TEgoNetDisplaySettings.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

EJsonError::EJsonError(const QString& place, const QString& problem)
    : std::runtime_error((place.isEmpty() ? problem : place + QStringLiteral(": ") + problem).toStdString())
{
}

namespace {

// Marks a font style, stored as bits, whose JSON form is a list of words.
struct TStyleWords
{
};

// Every conversion is declared before the visitors below call them from their templates.
QJsonValue ToJson(bool value);
QJsonValue ToJson(int32_t value);
QJsonValue ToJson(uint8_t value);
QJsonValue ToJson(uint32_t value);
QJsonValue ToJson(float value);
QJsonValue ToJson(double value);
QJsonValue ToJson(const QString& value);
QJsonValue ToJson(const QStringList& value);
QJsonValue ToJson(QPoint value);
QJsonValue ToJson(const TPoints& value);
QJsonValue ToJson(const QImage& value);
QJsonValue ToJson(uint8_t style, TStyleWords);
QJsonValue ToJson(const TFontData& value);
QJsonValue ToJson(const TEgoNetDisplaySettings& value);

void FromJson(const QJsonValue& json, const QString& place, bool& value);
void FromJson(const QJsonValue& json, const QString& place, int32_t& value);
void FromJson(const QJsonValue& json, const QString& place, uint8_t& value);
void FromJson(const QJsonValue& json, const QString& place, uint32_t& value);
void FromJson(const QJsonValue& json, const QString& place, float& value);
void FromJson(const QJsonValue& json, const QString& place, double& value);
void FromJson(const QJsonValue& json, const QString& place, QString& value);
void FromJson(const QJsonValue& json, const QString& place, QStringList& value);
void FromJson(const QJsonValue& json, const QString& place, QPoint& value);
void FromJson(const QJsonValue& json, const QString& place, TPoints& value);
void FromJson(const QJsonValue& json, const QString& place, QImage& value);
void FromJson(const QJsonValue& json, const QString& place, uint8_t& style, TStyleWords);
void FromJson(const QJsonValue& json, const QString& place, TFontData& value);
void FromJson(const QJsonValue& json, const QString& place, TEgoNetDisplaySettings& value);

// The field lists below serve both directions: a writer puts each field into a JSON object, a
// reader takes each field the JSON object gives. A property is a field behind a setter.
class TJsonWriter
{
public:
    QJsonObject Object;

    template <typename T, typename... Form>
    void operator()(const char* key, const T& field, Form... form)
    {
        Object.insert(QLatin1String(key), ToJson(field, form...));
    }

    template <typename Access, typename Object>
    void Property(const char* key, Access, const Object& object)
    {
        (*this)(key, Access::Get(object));
    }

    void Ends(const char* sourceKey, const char* targetKey, const TEgoNetEdge& link)
    {
        (*this)(sourceKey, link.Source ? link.Source->ID : QString());
        (*this)(targetKey, link.Target ? link.Target->ID : QString());
    }
};

class TJsonReader
{
public:
    TJsonReader(const QJsonValue& json, const QString& place) : FPlace(place)
    {
        if (!json.isObject())
            throw EJsonError(place, QStringLiteral("expected an object"));
        FObject = json.toObject();
    }

    template <typename T, typename... Form>
    void operator()(const char* key, T& field, Form... form)
    {
        if (const std::optional<QJsonValue> json = Take(key))
            FromJson(*json, PlaceOf(key), field, form...);
    }

    template <typename Access, typename Object>
    void Property(const char* key, Access, Object& object)
    {
        if (const std::optional<QJsonValue> json = Take(key)) {
            std::decay_t<decltype(Access::Get(object))> value{};
            FromJson(*json, PlaceOf(key), value);
            Access::Set(object, value);
        }
    }

    // A link's ends are found before the link is made (LinksFromJson), so nothing is left here.
    void Ends(const char*, const char*, TEgoNetEdge&) {}

    // The value of a key, which then counts as known.
    std::optional<QJsonValue> Take(const char* key)
    {
        const QString name = QString::fromLatin1(key);
        FTaken.insert(name);
        const auto it = FObject.constFind(name);
        return it == FObject.constEnd() ? std::nullopt : std::optional<QJsonValue>(*it);
    }

    QJsonValue Require(const char* key)
    {
        const std::optional<QJsonValue> json = Take(key);
        if (!json)
            throw EJsonError(PlaceOf(key), QStringLiteral("missing"));
        return *json;
    }

    QString PlaceOf(const QString& key) const { return FPlace.isEmpty() ? key : FPlace + QLatin1Char('.') + key; }
    QString PlaceOf(const char* key) const { return PlaceOf(QString::fromLatin1(key)); }

    // Called once every field has been taken: whatever is left is not a field.
    void RejectOthers() const
    {
        for (auto it = FObject.constBegin(); it != FObject.constEnd(); ++it)
            if (!FTaken.contains(it.key()))
                throw EJsonError(PlaceOf(it.key()), QStringLiteral("unknown key"));
    }

private:
    QJsonObject FObject;
    QString FPlace;
    QSet<QString> FTaken;
};

template <typename Visit>
QJsonObject ObjectToJson(Visit visit)
{
    TJsonWriter writer;
    visit(writer);
    return writer.Object;
}

template <typename Visit>
void ObjectFromJson(const QJsonValue& json, const QString& place, Visit visit)
{
    TJsonReader reader(json, place);
    visit(reader);
    reader.RejectOthers();
}

QString ItemPlace(const QString& place, qsizetype index)
{
    return QStringLiteral("%1[%2]").arg(place).arg(index);
}

QJsonArray ArrayFromJson(const QJsonValue& json, const QString& place, const QString& expected)
{
    if (!json.isArray())
        throw EJsonError(place, expected);
    return json.toArray();
}

// ---- Field lists, in the order of the records.

template <typename Font, typename Visitor>
void FontFields(Font& font, Visitor& v)
{
    v("Name", font.Name);
    v("Size", font.Size);
    v("Color", font.Color);
    v("Style", font.Style, TStyleWords{});
}

// The top-level keys that need no model operations.
template <typename Header, typename Settings, typename Strings, typename Visitor>
void GraphFields(Header& header, Settings& settings, Strings& nodeTypes, Visitor& v)
{
    v("Caption", header.Caption);
    v("Description", header.Description);
    v("Settings", settings);
    v("NodeTypes", nodeTypes);
}

// ---- Conversions of single values.

// JSON has no numbers for these; a file may still hold them in its floats.
const QString kNaN = QStringLiteral("NaN");
const QString kInfinity = QStringLiteral("Infinity");
const QString kMinusInfinity = QStringLiteral("-Infinity");

QJsonValue NumberToJson(double value)
{
    if (std::isnan(value))
        return kNaN;
    if (std::isinf(value))
        return value > 0 ? kInfinity : kMinusInfinity;
    return value;
}

double NumberFromJson(const QJsonValue& json, const QString& place)
{
    if (json.isDouble())
        return json.toDouble();
    const QString word = json.toString();
    if (word == kNaN)
        return std::numeric_limits<double>::quiet_NaN();
    if (word == kInfinity || word == kMinusInfinity)
        return word == kInfinity ? HUGE_VAL : -HUGE_VAL;
    throw EJsonError(place, QStringLiteral("expected a number"));
}

int64_t IntegerFromJson(const QJsonValue& json, const QString& place, int64_t min, int64_t max,
                        const QString& expected)
{
    const double value = json.toDouble();
    if (!json.isDouble() || value != std::floor(value) || value < double(min) || value > double(max))
        throw EJsonError(place, expected);
    return int64_t(value);
}

QJsonValue ToJson(bool value)
{
    return value;
}

QJsonValue ToJson(int32_t value)
{
    return qint64(value);
}

QJsonValue ToJson(uint8_t value)
{
    return qint64(value);
}

QJsonValue ToJson(uint32_t value)
{
    return qint64(value);
}

QJsonValue ToJson(float value)
{
    if (!std::isfinite(value))
        return NumberToJson(value);
    // The shortest decimal that reads back as this float (0.1 rather than 0.10000000149011612).
    // JSON readers see a double, and for two floats (7.038531e-26 and its negative) the double
    // nearest to that decimal rounds to a neighbour; their exact value is written then.
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, value).ptr;
    double nearest = 0;
    std::from_chars(text, end, nearest);
    return float(nearest) == value ? nearest : double(value);
}

QJsonValue ToJson(double value)
{
    return NumberToJson(value);
}

QJsonValue ToJson(const QString& value)
{
    return value;
}

QJsonValue ToJson(const QStringList& value)
{
    return QJsonArray::fromStringList(value);
}

QJsonValue ToJson(QPoint value)
{
    return QJsonArray{value.x(), value.y()};
}

QJsonValue ToJson(const TPoints& value)
{
    QJsonArray points;
    for (int32_t i = 0; i < value.Count(); ++i)
        points.append(ToJson(value.Get(i)));
    return points;
}

QJsonValue ToJson(const QImage& value)
{
    if (value.isNull())
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("Width"), value.width()},
                       {QStringLiteral("Height"), value.height()},
                       {QStringLiteral("BMP"), QString::fromLatin1(EncodeBmp(value).toBase64())}};
}

struct TStyleWord
{
    uint8_t Bit;
    const char* Word;
};

constexpr TStyleWord kStyleWords[] = {{TFontData::fsBold, "fsBold"},
                                      {TFontData::fsItalic, "fsItalic"},
                                      {TFontData::fsUnderline, "fsUnderline"},
                                      {TFontData::fsStrikeOut, "fsStrikeOut"}};

QJsonValue ToJson(uint8_t style, TStyleWords)
{
    QJsonArray words;
    for (const TStyleWord& word : kStyleWords)
        if (style & word.Bit)
            words.append(QLatin1String(word.Word));
    return words;
}

QJsonValue ToJson(const TFontData& value)
{
    return ObjectToJson([&value](auto& v) { FontFields(value, v); });
}

QJsonValue ToJson(const TEgoNetDisplaySettings& value)
{
    return ObjectToJson([&value](auto& v) { VisitSettingsFields(v, value); });
}

void FromJson(const QJsonValue& json, const QString& place, bool& value)
{
    if (!json.isBool())
        throw EJsonError(place, QStringLiteral("expected true or false"));
    value = json.toBool();
}

void FromJson(const QJsonValue& json, const QString& place, int32_t& value)
{
    value = int32_t(IntegerFromJson(json, place, std::numeric_limits<int32_t>::min(),
                                    std::numeric_limits<int32_t>::max(),
                                    QStringLiteral("expected an integer from -2147483648 to 2147483647")));
}

void FromJson(const QJsonValue& json, const QString& place, uint8_t& value)
{
    value = uint8_t(IntegerFromJson(json, place, 0, 255, QStringLiteral("expected an integer from 0 to 255")));
}

void FromJson(const QJsonValue& json, const QString& place, uint32_t& value)
{
    // Every 32-bit unsigned field is a colour.
    value = uint32_t(IntegerFromJson(json, place, 0, std::numeric_limits<uint32_t>::max(),
                                     QStringLiteral("expected a colour, an integer from 0 to 4294967295")));
}

void FromJson(const QJsonValue& json, const QString& place, float& value)
{
    const double number = NumberFromJson(json, place);
    // From here up a double would round to infinity as a float.
    if (std::isfinite(number) && std::fabs(number) >= 0x1.ffffffp+127)
        throw EJsonError(place, QStringLiteral("expected a number within the range of a 32-bit float"));
    value = float(number);
}

void FromJson(const QJsonValue& json, const QString& place, double& value)
{
    value = NumberFromJson(json, place);
}

void FromJson(const QJsonValue& json, const QString& place, QString& value)
{
    if (!json.isString())
        throw EJsonError(place, QStringLiteral("expected a string"));
    value = json.toString();
}

void FromJson(const QJsonValue& json, const QString& place, QStringList& value)
{
    const QJsonArray items = ArrayFromJson(json, place, QStringLiteral("expected a list of strings"));
    QStringList list;
    for (qsizetype i = 0; i < items.size(); ++i)
        FromJson(items[i], ItemPlace(place, i), list.emplaceBack());
    value = list;
}

void FromJson(const QJsonValue& json, const QString& place, QPoint& value)
{
    const QString expected = QStringLiteral("expected [x, y]");
    const QJsonArray xy = ArrayFromJson(json, place, expected);
    if (xy.size() != 2)
        throw EJsonError(place, expected);
    const auto coordinate = [&](qsizetype i) {
        return int32_t(IntegerFromJson(xy[i], place, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max(), expected));
    };
    value = QPoint(coordinate(0), coordinate(1));
}

void FromJson(const QJsonValue& json, const QString& place, TPoints& value)
{
    const QJsonArray items = ArrayFromJson(json, place, QStringLiteral("expected a list of [x, y]"));
    TPoints points;
    for (qsizetype i = 0; i < items.size(); ++i) {
        QPoint point;
        FromJson(items[i], ItemPlace(place, i), point);
        points.Add(point);
    }
    value = points;
}

void FromJson(const QJsonValue& json, const QString& place, QImage& value)
{
    if (json.isNull()) {
        value = QImage();
        return;
    }
    if (!json.isObject())
        throw EJsonError(place, QStringLiteral("expected null or an object"));
    ObjectFromJson(json, place, [&value](TJsonReader& fields) {
        QString base64;
        FromJson(fields.Require("BMP"), fields.PlaceOf("BMP"), base64);
        const auto bytes = QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!bytes)
            throw EJsonError(fields.PlaceOf("BMP"), QStringLiteral("expected a BMP file in base64"));
        const QImage image = DecodeBmp(*bytes);
        if (image.isNull())
            throw EJsonError(fields.PlaceOf("BMP"), QStringLiteral("not a readable BMP file"));
        // Width and Height only describe the BMP; when given they must agree with it.
        int32_t width = image.width();
        int32_t height = image.height();
        fields("Width", width);
        fields("Height", height);
        if (width != image.width())
            throw EJsonError(fields.PlaceOf("Width"), QStringLiteral("the BMP is %1 pixels wide").arg(image.width()));
        if (height != image.height())
            throw EJsonError(fields.PlaceOf("Height"), QStringLiteral("the BMP is %1 pixels high").arg(image.height()));
        value = image;
    });
}

void FromJson(const QJsonValue& json, const QString& place, uint8_t& style, TStyleWords)
{
    const QJsonArray words = ArrayFromJson(json, place, QStringLiteral("expected a list of style words"));
    uint8_t bits = 0;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString text = words[i].toString();
        const auto* word = std::find_if(std::begin(kStyleWords), std::end(kStyleWords),
                                        [&text](const TStyleWord& w) { return text == QLatin1String(w.Word); });
        if (word == std::end(kStyleWords))
            throw EJsonError(ItemPlace(place, i), QStringLiteral("expected fsBold, fsItalic, fsUnderline or fsStrikeOut"));
        bits |= word->Bit;
    }
    style = bits;
}

void FromJson(const QJsonValue& json, const QString& place, TFontData& value)
{
    ObjectFromJson(json, place, [&value](auto& v) { FontFields(value, v); });
}

void FromJson(const QJsonValue& json, const QString& place, TEgoNetDisplaySettings& value)
{
    ObjectFromJson(json, place, [&value](auto& v) { VisitSettingsFields(v, value); });
}

// ---- The graph.

const QString kNodes = QStringLiteral("Nodes");
const QString kLinks = QStringLiteral("Links");

void NodesFromJson(const QJsonValue& json, TEgoNetModel& model)
{
    const QJsonArray items = ArrayFromJson(json, kNodes, QStringLiteral("expected a list of nodes"));
    for (qsizetype i = 0; i < items.size(); ++i) {
        // Made as the reader makes them, so that what the JSON leaves out has the same defaults.
        TOrganizedNode* node = model.NewNode(QPoint(0, 0), QString());
        ObjectFromJson(items[i], ItemPlace(kNodes, i), [node](auto& v) { VisitNodeFields(v, *node); });
    }
}

// A link's end as the reader finds it: by ID regardless of case, the first node of an ID winning.
TOrganizedNode* EndFromJson(TJsonReader& fields, const char* key, const QHash<QString, TOrganizedNode*>& ends)
{
    QString id;
    FromJson(fields.Require(key), fields.PlaceOf(key), id);
    TOrganizedNode* node = ends.value(id.toUpper());
    if (!node)
        throw EJsonError(fields.PlaceOf(key), QStringLiteral("no node has the ID \"%1\"").arg(id));
    return node;
}

// Each link's Shown as the JSON gives it, or nothing when left out.
std::vector<std::optional<bool>> LinksFromJson(const QJsonValue& json, TEgoNetModel& model)
{
    QHash<QString, TOrganizedNode*> ends;
    for (TOrganizedNode* node : model.Nodes())
        if (!node->ID.isEmpty() && !ends.contains(node->ID.toUpper()))
            ends.insert(node->ID.toUpper(), node);

    const QJsonArray items = ArrayFromJson(json, kLinks, QStringLiteral("expected a list of links"));
    std::vector<std::optional<bool>> shown;
    for (qsizetype i = 0; i < items.size(); ++i) {
        ObjectFromJson(items[i], ItemPlace(kLinks, i), [&](TJsonReader& fields) {
            TOrganizedNode* source = EndFromJson(fields, "Source", ends);
            TOrganizedNode* target = EndFromJson(fields, "Target", ends);
            TEgoNetEdge* link = model.NewLink(source, target, kDefaultLinkType, QString());
            VisitLinkFields(fields, *link);
            std::optional<bool>& flag = shown.emplace_back();
            if (const std::optional<QJsonValue> value = fields.Take("Shown"))
                FromJson(*value, fields.PlaceOf("Shown"), flag.emplace());
        });
    }
    return shown;
}

// The file keeps only the link-type filter, ShownLinkTypes; which links it shows follows from
// their types on loading. So the filter decides, and a given Shown must agree with it.
void LinkFilterFromJson(TJsonReader& top, const std::vector<std::optional<bool>>& shown, TEgoNetModel& model)
{
    const QList<TEgoNetEdge*>& links = model.Links();
    QStringList filter;
    if (const std::optional<QJsonValue> json = top.Take("ShownLinkTypes")) {
        const QString place = top.PlaceOf("ShownLinkTypes");
        FromJson(*json, place, filter);
        // The writer lists the types of the shown links, so nothing else would survive a save.
        for (qsizetype i = 0; i < filter.size(); ++i) {
            const QString& type = filter[i];
            if (std::none_of(links.begin(), links.end(), [&type](const TEgoNetEdge* l) { return l->TypeName() == type; }))
                throw EJsonError(ItemPlace(place, i), QStringLiteral("no link has the type \"%1\"").arg(type));
            if (filter.mid(0, i).contains(type, Qt::CaseInsensitive))
                throw EJsonError(ItemPlace(place, i), QStringLiteral("the type \"%1\" is listed before").arg(type));
        }
    } else {
        // Without a filter, the types of the links marked shown (all by default) make one.
        for (size_t i = 0; i < shown.size(); ++i)
            if (shown[i].value_or(true) && !filter.contains(links[qsizetype(i)]->TypeName(), Qt::CaseInsensitive))
                filter.append(links[qsizetype(i)]->TypeName());
    }

    model.SetShownLinkTypes(filter);
    const QList<TEgoNetEdge*>& passed = model.ShownLinks();
    const QSet<const TEgoNetEdge*> passing(passed.cbegin(), passed.cend());
    for (size_t i = 0; i < shown.size(); ++i) {
        const TEgoNetEdge* link = links[qsizetype(i)];
        if (shown[i] && *shown[i] != passing.contains(link))
            throw EJsonError(ItemPlace(kLinks, qsizetype(i)) + QStringLiteral(".Shown"),
                             QStringLiteral("%1, but ShownLinkTypes %2 the type \"%3\"")
                                 .arg(*shown[i] ? QStringLiteral("true") : QStringLiteral("false"),
                                      *shown[i] ? QStringLiteral("hides") : QStringLiteral("shows"),
                                      link->TypeName()));
    }

    // The writer rebuilds the filter from the shown links in their order, spelling each type as
    // its first link does. Adding the links type by type, exact spellings first, makes it write
    // the filter as given.
    model.SetShownLinkTypes(QStringList());
    for (const QString& type : std::as_const(filter))
        for (bool exact : {true, false})
            for (TEgoNetEdge* link : links)
                if ((link->TypeName() == type) == exact && link->TypeName().compare(type, Qt::CaseInsensitive) == 0) {
                    // AddLink names an untyped link; the JSON's type stands.
                    const QString typeName = link->TypeName();
                    model.AddLink(link);
                    link->SetTypeName(typeName);
                }
    model.ShownLinkTypes = filter;
}

} // namespace

QJsonObject GraphToJson(const TGraphHeader& header, const TEgoNetDisplaySettings& settings, const TEgoNetModel& model)
{
    TJsonWriter json;
    GraphFields(header, settings, model.NodeTypes, json);

    QJsonArray nodes;
    for (TOrganizedNode* node : model.Nodes())
        nodes.append(ObjectToJson([node](auto& v) { VisitNodeFields(v, std::as_const(*node)); }));
    json.Object.insert(kNodes, nodes);

    const QSet<const TEgoNetEdge*> shown(model.ShownLinks().cbegin(), model.ShownLinks().cend());
    QJsonArray links;
    for (TEgoNetEdge* link : model.Links())
        links.append(ObjectToJson([&](auto& v) {
            VisitLinkFields(v, std::as_const(*link));
            v("Shown", shown.contains(link));
        }));
    json.Object.insert(kLinks, links);

    json("ShownLinkTypes", model.ShownLinkTypes);
    return json.Object;
}

void GraphFromJson(const QJsonObject& json, TGraphHeader& header, TEgoNetDisplaySettings& settings,
                   TEgoNetModel& model)
{
    TJsonReader top(json, QString());
    GraphFields(header, settings, model.NodeTypes, top);
    if (const std::optional<QJsonValue> nodes = top.Take("Nodes"))
        NodesFromJson(*nodes, model);
    std::vector<std::optional<bool>> shown;
    if (const std::optional<QJsonValue> links = top.Take("Links"))
        shown = LinksFromJson(*links, model);
    LinkFilterFromJson(top, shown, model);
    top.RejectOthers();
}

QJsonObject ParseJsonObject(const QByteArray& text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        const QByteArray before = text.left(error.offset);
        const qsizetype lineStart = before.lastIndexOf('\n') + 1;
        throw EJsonError(QStringLiteral("line %1, column %2").arg(before.count('\n') + 1).arg(before.size() - lineStart + 1),
                         error.errorString());
    }
    if (!document.isObject())
        throw EJsonError(QString(), QStringLiteral("expected an object at the top level"));
    return document.object();
}

QByteArray DumpGraphFile(const QString& fileName)
{
    TGraphHeader header;
    TEgoNetDisplaySettings settings;
    TEgoNetModel model;
    if (!ReadGraphFile(fileName, header, settings, model))
        throw EStreamError(QStringLiteral("\"%1\" is not a graph file").arg(fileName));
    // What the program does after every successful load.
    model.NormalizeNodeAttrs();
    model.NormalizeLinkAttrs();
    return QJsonDocument(GraphToJson(header, settings, model)).toJson(QJsonDocument::Indented);
}

void BuildGraphFile(const QString& jsonFileName, const QString& graphFileName)
{
    QFile file(jsonFileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EStreamError(QStringLiteral("Cannot open \"%1\": %2").arg(jsonFileName, file.errorString()));
    const QJsonObject json = ParseJsonObject(file.readAll());
    TGraphHeader header;
    TEgoNetDisplaySettings settings;
    TEgoNetModel model;
    GraphFromJson(json, header, settings, model);
    WriteGraphFile(graphFileName, header, settings, model);
}
