// Link types, attributes across the network and clusters.
#include "model/TEgoNetModel.h"

#include "foundation/TAttributes.h"
#include "model/ModelConstants.h"

#include <QMap>

#include <algorithm>

namespace {

// A sorted list without duplicates, both ignoring case; the first spelling stays.
class TCaseFreeSet
{
public:
    void Add(const QString& text)
    {
        const QString key = text.toCaseFolded();
        if (!FItems.contains(key))
            FItems.insert(key, text);
    }
    QStringList Values() const { return FItems.values(); }
    int Count() const { return int(FItems.size()); }

private:
    QMap<QString, QString> FItems;
};

} // namespace

void TEgoNetModel::CollectLinkTypes(QStringList& list, bool sorted, QList<uint32_t>* colours) const
{
    list.clear();
    for (const TEgoNetEdge* link : FLinks)
        if (!list.contains(link->TypeName(), Qt::CaseInsensitive))
            list.append(link->TypeName());
    if (sorted)
        std::sort(list.begin(), list.end(),
                  [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    if (!colours)
        return;
    colours->clear();
    for (const QString& type : std::as_const(list)) {
        uint32_t colour = NoColour;
        const QString lower = type.toLower();
        for (const TEgoNetEdge* link : FLinks) {
            if (link->TypeName() == type || link->TypeName() == lower) {
                colour = link->Color;
                break;
            }
        }
        colours->append(colour);
    }
}

void TEgoNetModel::SetShownLinkTypes(const QStringList& list)
{
    const bool own = &list == &ShownLinkTypes;
    FShownLinks.clear();
    if (!own)
        ShownLinkTypes.clear();
    if (list.isEmpty() || FLinks.isEmpty())
        return;
    if (list.first() != QLatin1String("*")) {
        for (TEgoNetEdge* link : std::as_const(FLinks))
            for (const QString& type : list)
                if (link->TypeName().compare(type, Qt::CaseInsensitive) == 0)
                    FShownLinks.append(link);
        if (!own)
            ShownLinkTypes = list;
    } else {
        FShownLinks = FLinks;
        if (!own)
            CollectLinkTypes(ShownLinkTypes, false, nullptr);
    }
    FModified = true;
}

void TEgoNetModel::RebuildShownLinkTypes()
{
    ShownLinkTypes.clear();
    for (const TEgoNetEdge* link : std::as_const(FShownLinks))
        if (!ShownLinkTypes.contains(link->TypeName(), Qt::CaseInsensitive))
            ShownLinkTypes.append(link->TypeName());
}

QString TEgoNetModel::DefaultLinkType() const
{
    const QString& standard = kDefaultLinkType;
    if (ShownLinkTypes.isEmpty() || ShownLinkTypes.contains(standard, Qt::CaseInsensitive))
        return standard;
    return ShownLinkTypes.first();
}

template <typename Object>
void TEgoNetModel::AttrNamesOf(const QList<Object*>& objects, QStringList& list)
{
    list.clear();
    TCaseFreeSet names;
    for (const Object* object : objects)
        for (const QString& entry : object->Attributes) {
            const QString name = EntryName(entry);
            if (!name.isEmpty())
                names.Add(name);
        }
    list = names.Values();
}

void TEgoNetModel::NodeAttrNames(QStringList& list) const
{
    AttrNamesOf(FNodes, list);
}

void TEgoNetModel::LinkAttrNames(QStringList& list) const
{
    AttrNamesOf(FLinks.Items(), list);
}

void TEgoNetModel::NormalizeNodeAttrs()
{
    QStringList names;
    NodeAttrNames(names);
    if (names.isEmpty())
        return;
    for (TOrganizedNode* node : std::as_const(FNodes))
        node->Attributes.SyncNames(names, false, nullptr);
}

void TEgoNetModel::NormalizeLinkAttrs()
{
    QStringList names;
    LinkAttrNames(names);
    if (names.isEmpty())
        return;
    for (TEgoNetEdge* link : std::as_const(FLinks))
        link->Attributes.SyncNames(names, false, nullptr);
}

void TEgoNetModel::SyncNodeAttrNames(const TEgoNetObject* templateObject, const QStringList* renames)
{
    if (!templateObject || FNodes.isEmpty())
        return;
    QStringList names;
    templateObject->Attributes.GetNames(names);
    for (TOrganizedNode* node : std::as_const(FNodes))
        node->Attributes.SyncNames(names, true, renames);
}

void TEgoNetModel::SyncLinkAttrNames(const TEgoNetObject* templateObject, const QStringList* renames)
{
    if (!templateObject || FNodes.isEmpty())
        return;
    QStringList names;
    templateObject->Attributes.GetNames(names);
    for (TEgoNetEdge* link : std::as_const(FLinks))
        link->Attributes.SyncNames(names, true, renames);
}

void TEgoNetModel::DeleteNodeAttribute(const QString& name)
{
    if (name.isEmpty())
        return;
    for (TOrganizedNode* node : std::as_const(FNodes))
        node->Attributes.DeleteAttribute(name);
}

template <typename Object>
void TEgoNetModel::AttrValuesOf(const QList<Object*>& objects, const QString& name, QStringList& list, bool reversed)
{
    TCaseFreeSet values;
    for (const Object* object : objects) {
        QString value;
        if (object->Attributes.GetValue(name, value))
            values.Add(value);
    }
    list.append(values.Values());
    if (reversed && list.size() > 1)
        std::reverse(list.begin(), list.end());
    SortAndCleanValues(list);
}

void TEgoNetModel::NodeAttrValues(const QString& name, QStringList& list, bool reversed) const
{
    list.clear();
    if (!FNodes.isEmpty())
        AttrValuesOf(FNodes, name, list, reversed);
}

void TEgoNetModel::LinkAttrValues(const QString& name, QStringList& list, bool reversed) const
{
    list.clear();
    if (!FNodes.isEmpty() && !FShownLinks.isEmpty())
        AttrValuesOf(FShownLinks.Items(), name, list, reversed);
}

void TEgoNetModel::NumericRange(QStringList& list, float& min, bool removeMissing, float& max)
{
    min = 0;
    max = 0;
    if (AllNumericOrMissing(list)) {
        for (int i = 0; i < list.size(); ++i) {
            double value = 0;
            if (IsMissingValue(list[i]) || !TextToFloat(list[i], value))
                continue;
            const auto x = float(value);
            if (i == 0) {
                min = x;
                max = x;
                continue;
            }
            if (double(x) - double(max) > 1e-6)
                max = x;
            if (double(min) - double(x) > 1e-6)
                min = x;
        }
    }
    if (removeMissing)
        list.erase(std::remove_if(list.begin(), list.end(), [](const QString& v) { return IsMissingValue(v); }),
                   list.end());
}

void TEgoNetModel::CopyCaptionsToKeys()
{
    for (TOrganizedNode* node : std::as_const(FNodes))
        node->Key = node->Caption();
}

int TEgoNetModel::ClusterValues(QStringList& list) const
{
    TCaseFreeSet values;
    for (const TOrganizedNode* node : FNodes)
        if (node->Enabled)
            for (const QString& cluster : node->Clusters)
                values.Add(cluster);
    list = values.Values();
    return int(list.size());
}

int TEgoNetModel::ClusterCount() const
{
    QStringList values;
    return ClusterValues(values);
}

void TEgoNetModel::NodesInCluster(const QString& value, QList<TOrganizedNode*>& list) const
{
    list.clear();
    if (EnabledNodeCount() == 0)
        return;
    for (TOrganizedNode* node : FNodes)
        if (node->InCluster(value))
            list.append(node);
}
