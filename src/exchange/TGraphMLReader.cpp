#include "exchange/TGraphMLReader.h"

#include "exchange/ExchangeError.h"
#include "exchange/NetworkTable.h"
#include "exchange/PersonFields.h"
#include "model/TEgoNetModel.h"

#include <QColor>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>
#include <optional>

namespace {

struct TKeyInfo
{
    QString Name;
    QString Type;
    QString Default;
    bool Graphics = false;
};

// What a node or edge element said, before it becomes a person or link.
struct TElement
{
    QString Id;
    QString Source;
    QString Target;
    std::optional<bool> Directed;
    int Line = 0;
    QHash<QString, QString> Values; // by lower-case key name
    QStringList Order;              // free attribute names in the order met
    QHash<QString, QString> Free;
    std::optional<QPointF> GraphicsCentre;
    std::optional<double> GraphicsSize;
    std::optional<uint32_t> GraphicsColour;
    std::optional<double> GraphicsWidth;
    QString GraphicsLabel;
};

uint32_t Bgr(int r, int g, int b)
{
    return uint32_t(std::clamp(r, 0, 255)) | uint32_t(std::clamp(g, 0, 255)) << 8 | uint32_t(std::clamp(b, 0, 255)) << 16;
}

std::optional<uint32_t> ParseColour(const QString& text)
{
    const QColor colour = QColor::fromString(text.left(7));
    if (!colour.isValid())
        return std::nullopt;
    return Bgr(colour.red(), colour.green(), colour.blue());
}

class TReader
{
public:
    TReader(const QByteArray& bytes, const QString& fileName)
        : FXml(bytes)
        , FFileName(fileName)
    {
    }

    void Read(TEgoNetModel& into, QStringList& notes)
    {
        bool graphml = false;
        while (!FXml.atEnd()) {
            if (FXml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QStringView name = FXml.name();
            if (name == u"graphml")
                graphml = true;
            else if (!graphml)
                Fail(QStringLiteral("the file is not GraphML (it starts with <%1>)").arg(name));
            else if (name == u"key")
                ReadKey();
            else if (name == u"graph")
                FUndirected = FXml.attributes().value(QLatin1String("edgedefault")) == u"undirected";
            else if (name == u"node")
                FNodes.append(ReadElement(u"node"));
            else if (name == u"edge")
                FEdges.append(ReadElement(u"edge"));
        }
        if (FXml.hasError())
            Fail(FXml.errorString());
        if (!graphml)
            Fail(QStringLiteral("the file is not GraphML"));
        Build(into, notes);
    }

private:
    [[noreturn]] void Fail(const QString& what, int line = 0) const
    {
        throw EImportError(FFileName, QStringLiteral("line %1").arg(line > 0 ? line : int(FXml.lineNumber())), what);
    }

    void ReadKey()
    {
        const QXmlStreamAttributes a = FXml.attributes();
        TKeyInfo key;
        key.Name = a.value(QLatin1String("attr.name")).toString();
        if (key.Name.isEmpty())
            key.Name = a.value(QLatin1String("id")).toString();
        key.Type = a.value(QLatin1String("attr.type")).toString();
        key.Graphics = a.hasAttribute(QLatin1String("yfiles.type"));
        const QString id = a.value(QLatin1String("id")).toString();
        while (FXml.readNextStartElement()) {
            if (FXml.name() == u"default")
                key.Default = FXml.readElementText();
            else
                FXml.skipCurrentElement();
        }
        FKeys.insert(id, key);
    }

    TElement ReadElement(QStringView kind)
    {
        const QXmlStreamAttributes a = FXml.attributes();
        TElement e;
        e.Line = int(FXml.lineNumber());
        e.Id = a.value(QLatin1String("id")).toString();
        e.Source = a.value(QLatin1String("source")).toString();
        e.Target = a.value(QLatin1String("target")).toString();
        if (a.hasAttribute(QLatin1String("directed")))
            e.Directed = a.value(QLatin1String("directed")) == u"true";
        if (kind == u"node" && e.Id.isEmpty())
            Fail(QStringLiteral("<node> without an id"));
        if (kind == u"edge" && (e.Source.isEmpty() || e.Target.isEmpty()))
            Fail(QStringLiteral("<edge> without source or target"));
        while (FXml.readNextStartElement()) {
            if (FXml.name() != u"data") {
                // Nested graphs and ports carry nothing a person has.
                FXml.skipCurrentElement();
                continue;
            }
            const QString keyId = FXml.attributes().value(QLatin1String("key")).toString();
            const auto key = FKeys.constFind(keyId);
            if (key == FKeys.cend())
                Fail(QStringLiteral("<data> names the undeclared key \"%1\"").arg(keyId));
            if (key->Graphics) {
                ReadGraphics(e);
                continue;
            }
            const QString value = FXml.readElementText(QXmlStreamReader::IncludeChildElements);
            const QString lower = key->Name.toLower();
            e.Values.insert(lower, value);
            if (!e.Free.contains(key->Name))
                e.Order.append(key->Name);
            e.Free.insert(key->Name, value);
        }
        if (FXml.hasError())
            Fail(FXml.errorString());
        // Declared defaults count as given.
        for (auto k = FKeys.cbegin(); k != FKeys.cend(); ++k) {
            if (!k->Default.isEmpty() && !e.Free.contains(k->Name)) {
                e.Values.insert(k->Name.toLower(), k->Default);
                e.Order.append(k->Name);
                e.Free.insert(k->Name, k->Default);
            }
        }
        return e;
    }

    // yEd: <y:ShapeNode><y:Geometry x y width height/><y:Fill color/><y:NodeLabel>…, and for
    // edges <y:PolyLineEdge><y:LineStyle color width/><y:EdgeLabel>….
    void ReadGraphics(TElement& e)
    {
        int depth = 1;
        while (depth > 0 && !FXml.atEnd()) {
            const QXmlStreamReader::TokenType token = FXml.readNext();
            if (token == QXmlStreamReader::EndElement) {
                --depth;
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            ++depth;
            const QStringView name = FXml.name();
            const QXmlStreamAttributes a = FXml.attributes();
            if (name == u"Geometry") {
                const double w = a.value(QLatin1String("width")).toDouble();
                const double h = a.value(QLatin1String("height")).toDouble();
                const double left = a.value(QLatin1String("x")).toDouble();
                const double top = a.value(QLatin1String("y")).toDouble();
                e.GraphicsCentre = QPointF(left + w / 2, top + h / 2);
                e.GraphicsSize = std::max(w, h);
            } else if (name == u"Fill" && !e.GraphicsColour) {
                e.GraphicsColour = ParseColour(a.value(QLatin1String("color")).toString());
            } else if (name == u"LineStyle") {
                e.GraphicsColour = ParseColour(a.value(QLatin1String("color")).toString());
                e.GraphicsWidth = a.value(QLatin1String("width")).toDouble();
            } else if ((name == u"NodeLabel" || name == u"EdgeLabel") && e.GraphicsLabel.isEmpty()) {
                e.GraphicsLabel = FXml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
                --depth;
            }
        }
    }

    static std::optional<double> Number(const TElement& e, const QString& key)
    {
        bool ok = false;
        const double value = e.Values.value(key).toDouble(&ok);
        return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
    }

    static std::optional<uint32_t> Colour(const TElement& e, const std::optional<uint32_t>& fallback)
    {
        using namespace ExchangeKeys;
        const auto r = Number(e, Red);
        const auto g = Number(e, Green);
        const auto b = Number(e, Blue);
        if (r && g && b)
            return Bgr(int(std::lround(*r)), int(std::lround(*g)), int(std::lround(*b)));
        return fallback;
    }

    // Our keys and Gephi's become fields; every other key becomes a free attribute.
    static void TakeFree(TEgoNetObject& object, const TElement& e, const QStringList& fieldKeys)
    {
        for (const QString& name : e.Order) {
            if (fieldKeys.contains(name.toLower()))
                continue;
            QString attribute = name;
            attribute.replace('=', '_');
            object.Attributes.AddAttribute(attribute, e.Free.value(name).isEmpty() ? QStringLiteral("na")
                                                                                     : e.Free.value(name));
        }
    }

    void Build(TEgoNetModel& into, QStringList& notes)
    {
        using namespace ExchangeKeys;
        static const QRegularExpression ownId(QStringLiteral("^[0-9A-Fa-f]{8}$"));
        const QStringList nodeFields{Label, X, Y, Size, Red, Green, Blue, NodeType};
        const QStringList edgeFields{Label, Weight, Red, Green, Blue, Width, LinkType, Directed};
        QHash<QString, TOrganizedNode*> byId;
        for (const TElement& e : std::as_const(FNodes)) {
            if (byId.contains(e.Id))
                Fail(QStringLiteral("a second <node> with the id \"%1\"").arg(e.Id), e.Line);
            auto* person = new TOrganizedNode();
            into.AddNode(person);
            byId.insert(e.Id, person);
            person->ID = ownId.match(e.Id).hasMatch() ? e.Id.toUpper() : NewObjectID();
            person->SetCaption(e.Values.contains(Label) ? e.Values.value(Label) : e.GraphicsLabel);
            const auto x = Number(e, X);
            const auto y = Number(e, Y);
            if (x && y)
                person->Position = QPoint(int(std::lround(*x)), int(std::lround(*y)));
            else if (e.GraphicsCentre)
                person->Position = e.GraphicsCentre->toPoint();
            else
                person->Position = GridPosition(into.NodeCount() - 1);
            if (const auto size = Number(e, Size); size && *size >= 1)
                person->Size = int(std::lround(std::min(*size, 1000.0)));
            else if (e.GraphicsSize && *e.GraphicsSize >= 1)
                person->Size = int(std::lround(std::min(*e.GraphicsSize, 1000.0)));
            if (const auto colour = Colour(e, e.GraphicsColour))
                person->Color = *colour;
            if (e.Values.contains(NodeType))
                person->SetTypeName(e.Values.value(NodeType));
            TakeFree(*person, e, nodeFields);
            CompleteNames(*person);
        }
        for (const TElement& e : std::as_const(FEdges)) {
            TOrganizedNode* source = byId.value(e.Source);
            TOrganizedNode* target = byId.value(e.Target);
            if (!source || !target)
                Fail(QStringLiteral("<edge> \"%1\" joins the unknown node \"%2\"")
                         .arg(e.Id, source ? e.Target : e.Source),
                     e.Line);
            auto* link = new TEgoNetEdge(source, target);
            link->ID = NewObjectID();
            link->SetCaption(e.Values.contains(Label) ? e.Values.value(Label) : e.GraphicsLabel);
            if (e.Values.contains(Directed))
                link->Directed = e.Values.value(Directed) == "true" || e.Values.value(Directed) == "1";
            else
                link->Directed = e.Directed.value_or(!FUndirected);
            if (const auto weight = Number(e, Weight))
                link->Strength = float(*weight);
            if (const auto width = Number(e, Width); width && *width >= 1)
                link->Width = int(std::lround(std::min(*width, 100.0)));
            else if (e.GraphicsWidth && *e.GraphicsWidth >= 1)
                link->Width = int(std::lround(std::min(*e.GraphicsWidth, 100.0)));
            if (const auto colour = Colour(e, e.GraphicsColour))
                link->Color = *colour;
            link->SetTypeName(e.Values.contains(LinkType) ? e.Values.value(LinkType) : kDefaultLinkType);
            TakeFree(*link, e, edgeFields);
            into.AddLink(link);
        }
        if (FNodes.isEmpty())
            notes << QStringLiteral("%1: the graph has no nodes").arg(FFileName);
    }

    QXmlStreamReader FXml;
    QString FFileName;
    QHash<QString, TKeyInfo> FKeys;
    bool FUndirected = false;
    QList<TElement> FNodes;
    QList<TElement> FEdges;
};

} // namespace

void TGraphMLReader::Read(const QByteArray& bytes, const QString& fileName, TEgoNetModel& into, QStringList& notes)
{
    TReader(bytes, fileName).Read(into, notes);
}
