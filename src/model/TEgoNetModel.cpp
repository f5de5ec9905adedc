#include "model/TEgoNetModel.h"

#include "foundation/Rounding.h"
#include "foundation/TNumericMatrix.h"
#include "foundation/TNumericVector.h"
#include "model/ModelConstants.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <limits>

namespace {

// p moved by d, held at the ends of the 32-bit range: coordinates from a damaged file may lie
// there, and wrapping round would throw them to the other end.
bool Joins(const TEgoNetEdge* link, const TEgoNetNode* a, const TEgoNetNode* b)
{
    return (link->Source == a && link->Target == b) || (link->Source == b && link->Target == a);
}

// "Node_007": the highest number behind the prefix among the captions, or the fallback count
// when there is none, plus one.
template <typename Objects, typename Accept>
QString NextName(const Objects& objects, const QString& prefix, const QString& stem, Accept accept)
{
    int32_t highest = 0;
    int32_t count = 0;
    for (const auto* object : objects) {
        if (!accept(object))
            continue;
        ++count;
        const QString& caption = object->Caption();
        if (!caption.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        // Digits with an optional sign and nothing else, within 32 bits.
        const QStringView rest = QStringView(caption).mid(prefix.size());
        const QStringView digits = rest.startsWith(u'+') || rest.startsWith(u'-') ? rest.mid(1) : rest;
        if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            continue;
        bool ok = false;
        const int32_t value = rest.toInt(&ok);
        if (ok && value > highest)
            highest = value;
    }
    if (highest == 0)
        highest = count;
    const auto n = int32_t(uint32_t(highest) + 1u);
    const QString pad = n < 10 ? QStringLiteral("00") : n < 100 ? QStringLiteral("0") : QString();
    return stem + pad + QString::number(n);
}

} // namespace

TEgoNetModel::TEgoNetModel() = default;

TEgoNetModel::~TEgoNetModel()
{
    Clear();
}

void TEgoNetModel::Clear()
{
    // Every node goes too, so the ends' link marks need no upkeep on the way.
    if (!FShownLinks.isEmpty() || !FNodes.isEmpty())
        FModified = true;
    qDeleteAll(FLinks);
    FLinks.clear();
    FShownLinks.clear();
    ShownLinkTypes.clear();
    NodeTypes.clear();
    qDeleteAll(FNodes);
    FNodes.clear();
}

void TEgoNetModel::AssignFrom(const TEgoNetModel& other)
{
    Clear();
    QHash<QString, TOrganizedNode*> byID;
    for (const TOrganizedNode* source : other.FNodes) {
        auto* node = new TOrganizedNode(QPoint(0, 0), QString());
        node->AssignFrom(source);
        AddNode(node);
    }
    // The first node of an ID is the one links find, as a lookup by ID would.
    for (auto it = FNodes.crbegin(); it != FNodes.crend(); ++it)
        byID.insert((*it)->ID.toUpper(), *it);

    NodeTypes = other.NodeTypes;
    if (NodeTypes.isEmpty())
        NodeTypes.append(QStringLiteral("default"));

    const QSet<const TEgoNetEdge*> shown(other.FShownLinks.cbegin(), other.FShownLinks.cend());
    for (const TEgoNetEdge* source : other.FLinks) {
        auto* link = new TEgoNetEdge();
        link->AssignFrom(source);
        link->Source = source->Source ? byID.value(source->Source->ID.toUpper()) : nullptr;
        link->Target = source->Target ? byID.value(source->Target->ID.toUpper()) : nullptr;
        link->MarkEndsLinked();
        AddToLinks(link);
        if (shown.contains(source))
            FShownLinks.append(link);
    }

    ShownLinkTypes = other.ShownLinkTypes;
    if (ShownLinkTypes.isEmpty())
        ShownLinkTypes.append(kDefaultLinkType);
}

void TEgoNetModel::CopyFrom(const TEgoNetModel& other)
{
    if (&other == this)
        return;
    Clear();
    QHash<const TEgoNetNode*, TOrganizedNode*> nodes;
    nodes.reserve(other.FNodes.size());
    FNodes.reserve(other.FNodes.size());
    for (const TOrganizedNode* source : other.FNodes) {
        auto* node = new TOrganizedNode(*source);
        // The copied list names the other model's links; the links below fill it anew.
        node->FOwnLinks.clear();
        FNodes.append(node);
        nodes.insert(source, node);
    }
    QHash<const TEgoNetEdge*, TEgoNetEdge*> links;
    links.reserve(other.FLinks.size());
    FLinks.reserve(other.FLinks.size());
    for (const TEgoNetEdge* source : other.FLinks) {
        auto* link = new TEgoNetEdge(*source);
        link->Source = nodes.value(source->Source);
        link->Target = nodes.value(source->Target);
        FLinks.append(link);
        AttachEnds(link);
        links.insert(source, link);
    }
    FShownLinks.reserve(other.FShownLinks.size());
    for (const TEgoNetEdge* source : other.FShownLinks)
        if (TEgoNetEdge* link = links.value(source))
            FShownLinks.append(link);
    NodeTypes = other.NodeTypes;
    ShownLinkTypes = other.ShownLinkTypes;
    FModified = other.FModified;
}

int TEgoNetModel::IndexOfNode(const TEgoNetNode* node) const
{
    if (!node)
        return -1;
    for (int i = 0; i < FNodes.size(); ++i)
        if (FNodes[i] == node)
            return i;
    return -1;
}

int TEgoNetModel::IndexOfLink(const TEgoNetEdge* link) const
{
    return link ? int(FLinks.indexOf(link)) : -1;
}

void TEgoNetModel::AddNode(TOrganizedNode* node)
{
    if (!node)
        return;
    FNodes.append(node);
    FModified = true;
}

TOrganizedNode* TEgoNetModel::NewNode(QPoint position, const QString& caption)
{
    auto* node = new TOrganizedNode(position, caption);
    AddNode(node);
    return node;
}

TEgoNetEdge* TEgoNetModel::AddLink(TEgoNetEdge* link)
{
    if (!link)
        return nullptr;
    FShownLinks.append(link);
    link->MarkEndsLinked();
    AddToLinks(link);
    if (link->TypeName().isEmpty())
        link->SetTypeName(kDefaultLinkType);
    if (ShownLinkTypes.isEmpty())
        ShownLinkTypes.append(link->TypeName());
    FModified = true;
    return link;
}

TEgoNetEdge* TEgoNetModel::NewLink(TEgoNetNode* source, TEgoNetNode* target, const QString& typeName,
                                   const QString& caption)
{
    auto* link = new TEgoNetEdge(source, target);
    link->SetTypeName(typeName);
    link->SetCaption(caption);
    FShownLinks.append(link);
    link->MarkEndsLinked();
    link->UpdateMidPoint(0);
    FModified = true;
    AddToLinks(link);
    if (link->TypeName().isEmpty())
        link->SetTypeName(kDefaultLinkType);
    if (ShownLinkTypes.isEmpty())
        ShownLinkTypes.append(link->TypeName());
    return link;
}

void TEgoNetModel::AddToLinks(TEgoNetEdge* link)
{
    if (link && !FLinks.contains(link)) {
        FLinks.append(link);
        AttachEnds(link);
    }
}

void TEgoNetModel::RemoveFromLinks(TEgoNetEdge* link)
{
    if (link && FLinks.contains(link)) {
        FLinks.Drop(link);
        DetachEnds(link);
    }
}

void TEgoNetModel::AttachEnds(TEgoNetEdge* link)
{
    if (link->Source)
        link->Source->FOwnLinks.append(link);
    if (link->Target && link->Target != link->Source)
        link->Target->FOwnLinks.append(link);
}

void TEgoNetModel::DetachEnds(TEgoNetEdge* link)
{
    if (link->Source)
        link->Source->FOwnLinks.removeOne(link);
    if (link->Target && link->Target != link->Source)
        link->Target->FOwnLinks.removeOne(link);
}

void TEgoNetModel::SetLinkEnds(TEgoNetEdge* link, TEgoNetNode* source, TEgoNetNode* target)
{
    if (!link)
        return;
    const bool listed = FLinks.contains(link);
    if (listed)
        DetachEnds(link);
    link->Source = source;
    link->Target = target;
    if (listed)
        AttachEnds(link);
}

void TEgoNetModel::DeleteShownLink(TEgoNetEdge* link)
{
    if (!link || !FShownLinks.contains(link))
        return;
    TEgoNetNode* source = link->Source;
    TEgoNetNode* target = link->Target;
    RemoveFromLinks(link);
    // A type listed twice in the filter lists its links twice; no copy may outlive the link.
    FShownLinks.Drop(link);
    delete link;
    FModified = true;
    if (source)
        source->Linked = HasLinks(source);
    if (target)
        target->Linked = HasLinks(target);
}

void TEgoNetModel::DeleteNode(TEgoNetNode* node)
{
    if (!node)
        return;
    // The person's own list names its links. Shown ones go as DeleteShownLink takes them,
    // updating the marks of their other ends; filtered-out ones go without.
    const QList<TEgoNetEdge*> links = node->FOwnLinks;
    for (TEgoNetEdge* link : links) {
        if (FShownLinks.contains(link)) {
            DeleteShownLink(link);
        } else {
            RemoveFromLinks(link);
            delete link;
        }
    }
    const int index = IndexOfNode(node);
    if (index >= 0) {
        FNodes.removeAt(index);
        delete node;
        FModified = true;
    }
}

void TEgoNetModel::ClearBends()
{
    for (TEgoNetEdge* link : std::as_const(FShownLinks)) {
        if (link->Bends.Count() > 0) {
            link->Bends.Clear();
            FModified = true;
        }
    }
}

QString TEgoNetModel::NextNodeName() const
{
    return NextName(FNodes, QStringLiteral("node_"), QStringLiteral("Node_"), [](const TEgoNetNode*) { return true; });
}

QString TEgoNetModel::NextLinkName() const
{
    return NextName(FShownLinks, QStringLiteral("link_"), QStringLiteral("Link_"),
                    [](const TEgoNetEdge*) { return true; });
}

QString TEgoNetModel::NextGroupName() const
{
    return NextName(FNodes, QStringLiteral("group_"), QStringLiteral("Group_"),
                    [](const TEgoNetNode* node) { return node->IsGroup; });
}

int TEgoNetModel::SelectedNodeCount() const
{
    return int(std::count_if(FNodes.cbegin(), FNodes.cend(), [](const TEgoNetNode* n) { return n->Selected(); }));
}

int TEgoNetModel::SelectedNodes(TIntVector* vector) const
{
    if (!vector)
        return 0;
    vector->SetSize(0);
    for (int i = 0; i < FNodes.size(); ++i)
        if (FNodes[i]->Selected())
            vector->Append(i);
    return vector->Count();
}

int TEgoNetModel::SelectedLinks(TIntVector* vector) const
{
    if (!vector)
        return 0;
    vector->SetSize(0);
    for (int i = 0; i < FShownLinks.size(); ++i)
        if (FShownLinks[i]->Selected())
            vector->Append(i);
    return vector->Count();
}

int TEgoNetModel::SelectedLinkCount() const
{
    return int(std::count_if(FShownLinks.cbegin(), FShownLinks.cend(),
                             [](const TEgoNetEdge* l) { return l->Selected(); }));
}

TOrganizedNode* TEgoNetModel::FirstSelectedNode() const
{
    for (TOrganizedNode* node : FNodes)
        if (node->Selected())
            return node;
    return nullptr;
}

int TEgoNetModel::SelectInRect(const TRect& rect)
{
    int selected = 0;
    for (TOrganizedNode* node : std::as_const(FNodes)) {
        if (node->Visible && rect.Contains(node->Position.x(), node->Position.y())) {
            node->SetSelected(true);
            ++selected;
        }
    }
    UpdateLinkSelection();
    return selected;
}

void TEgoNetModel::SelectAll(bool flag)
{
    for (TOrganizedNode* node : std::as_const(FNodes))
        node->SetSelected(flag && node->Visible);
    UpdateLinkSelection();
}

void TEgoNetModel::UpdateLinkSelection()
{
    for (TEgoNetEdge* link : std::as_const(FShownLinks))
        link->UpdateSelected();
}

void TEgoNetModel::UpdateLinkVisibility()
{
    for (TEgoNetEdge* link : std::as_const(FShownLinks))
        link->UpdateVisible();
}

void TEgoNetModel::EnableAll(bool flag)
{
    for (TOrganizedNode* node : std::as_const(FNodes)) {
        if (node->Enabled != flag) {
            node->Enabled = flag;
            FModified = true;
        }
    }
}

void TEgoNetModel::ShowAll(bool flag)
{
    for (TOrganizedNode* node : std::as_const(FNodes)) {
        if (node->Visible != flag) {
            node->Visible = flag;
            FModified = true;
        }
    }
}

bool TEgoNetModel::TwoSelectedNodes(TOrganizedNode*& a, TOrganizedNode*& b) const
{
    a = nullptr;
    b = nullptr;
    TOrganizedNode* found[2] = {nullptr, nullptr};
    int count = 0;
    for (TOrganizedNode* node : FNodes) {
        if (!node->Selected())
            continue;
        if (count == 2)
            return false;
        found[count++] = node;
    }
    if (count != 2)
        return false;
    a = found[0];
    b = found[1];
    return true;
}

bool TEgoNetModel::TwoSelectedNodesLinked(TOrganizedNode*& a, TOrganizedNode*& b) const
{
    return TwoSelectedNodes(a, b) && LinkBetween(a, b);
}

void TEgoNetModel::FreezeSelected()
{
    for (TOrganizedNode* node : std::as_const(FNodes))
        if (node->Selected())
            node->Movable = false;
}

void TEgoNetModel::UnfreezeSelected()
{
    for (TOrganizedNode* node : std::as_const(FNodes))
        if (node->Selected())
            node->Movable = true;
}

void TEgoNetModel::UnfreezeAll()
{
    for (TOrganizedNode* node : std::as_const(FNodes))
        node->Movable = true;
}

std::vector<bool> TEgoNetModel::EnabledFlags() const
{
    std::vector<bool> flags;
    flags.reserve(size_t(FNodes.size()));
    for (const TOrganizedNode* node : FNodes)
        flags.push_back(node->Enabled);
    return flags;
}

int TEgoNetModel::EnabledNodeCount() const
{
    return int(std::count_if(FNodes.cbegin(), FNodes.cend(), [](const TEgoNetNode* n) { return n->Enabled; }));
}

int TEgoNetModel::EnabledLinkedNodeCount() const
{
    QSet<const TEgoNetNode*> linked;
    for (const TEgoNetEdge* link : FShownLinks) {
        linked.insert(link->Source);
        linked.insert(link->Target);
    }
    return int(std::count_if(FNodes.cbegin(), FNodes.cend(),
                             [&](const TEgoNetNode* n) { return n->Enabled && linked.contains(n); }));
}

int TEgoNetModel::MovableNodeCount() const
{
    return int(std::count_if(FNodes.cbegin(), FNodes.cend(), [](const TEgoNetNode* n) { return n->Movable; }));
}

int TEgoNetModel::EnabledTypedLinkCount() const
{
    return int(std::count_if(FShownLinks.cbegin(), FShownLinks.cend(), [this](const TEgoNetEdge* l) {
        return l->Enabled && l->TypeIn(&ShownLinkTypes);
    }));
}

int TEgoNetModel::GroupCount() const
{
    return int(std::count_if(FNodes.cbegin(), FNodes.cend(), [](const TEgoNetNode* n) { return n->IsGroup; }));
}

int TEgoNetModel::ExpandedGroupCount() const
{
    return int(std::count_if(FNodes.cbegin(), FNodes.cend(),
                             [](const TEgoNetNode* n) { return n->IsGroup && n->Expanded; }));
}

TOrganizedNode* TEgoNetModel::FindNodeByID(const QString& id) const
{
    for (TOrganizedNode* node : FNodes)
        if (node->ID.compare(id, Qt::CaseInsensitive) == 0)
            return node;
    return nullptr;
}

QList<TOrganizedNode*> TEgoNetModel::FindNodesByIDs(const QStringList& ids) const
{
    // Each wanted ID, folded as the comparison ignoring case folds it, takes the first node that
    // carries it.
    QHash<QString, TOrganizedNode*> found;
    found.reserve(ids.size());
    for (const QString& id : ids)
        found.insert(id.toCaseFolded(), nullptr);
    for (TOrganizedNode* node : FNodes)
        if (const auto it = found.find(node->ID.toCaseFolded()); it != found.end() && !*it)
            *it = node;
    QList<TOrganizedNode*> nodes;
    for (const QString& id : ids)
        if (TOrganizedNode* node = found.value(id.toCaseFolded()))
            nodes.append(node);
    return nodes;
}

TEgoNetEdge* TEgoNetModel::FindLinkByID(const QString& id) const
{
    for (TEgoNetEdge* link : FLinks)
        if (link->ID.compare(id, Qt::CaseInsensitive) == 0)
            return link;
    return nullptr;
}

bool TEgoNetModel::FindNodeByCaptionOrID(const QString& text, int& index) const
{
    for (int i = 0; i < FNodes.size(); ++i) {
        const TEgoNetNode* node = FNodes[i];
        if (node->Caption().compare(text, Qt::CaseInsensitive) == 0 || node->ID.compare(text, Qt::CaseInsensitive) == 0) {
            index = i;
            return true;
        }
    }
    index = -1;
    return false;
}

bool TEgoNetModel::FindNodes(const QString& text, bool caseSensitive, QList<TOrganizedNode*>& list,
                             bool wholeMatch) const
{
    list.clear();
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (TOrganizedNode* node : FNodes) {
        const bool match = wholeMatch ? node->Caption().compare(text, cs) == 0
                                      : !text.isEmpty() && node->Caption().contains(text, cs);
        if (match)
            list.append(node);
    }
    return !list.isEmpty();
}

bool TEgoNetModel::HasLinks(const TEgoNetNode* node) const
{
    return node && std::any_of(node->FOwnLinks.cbegin(), node->FOwnLinks.cend(),
                               [this](const TEgoNetEdge* l) { return FShownLinks.contains(l); });
}

int TEgoNetModel::UnlinkedNodes(TIntVector* vector) const
{
    if (!vector)
        return 0;
    vector->SetSize(0);
    QSet<const TEgoNetNode*> linked;
    for (const TEgoNetEdge* link : FShownLinks) {
        linked.insert(link->Source);
        linked.insert(link->Target);
    }
    for (int i = 0; i < FNodes.size(); ++i)
        if (!linked.contains(FNodes[i]))
            vector->Append(i);
    return vector->Count();
}

bool TEgoNetModel::AnyDirected() const
{
    return std::any_of(FShownLinks.cbegin(), FShownLinks.cend(), [](const TEgoNetEdge* l) { return l->Directed; });
}

TEgoNetEdge* TEgoNetModel::LinkBetween(const TEgoNetNode* a, const TEgoNetNode* b) const
{
    if (!a || !b)
        return nullptr;
    for (TEgoNetEdge* link : FShownLinks)
        if (Joins(link, a, b))
            return link;
    return nullptr;
}

int TEgoNetModel::LinksBetween(const TEgoNetNode* a, const TEgoNetNode* b, TIntVector* vector) const
{
    if (!vector)
        return 0;
    vector->SetSize(0);
    for (int i = 0; i < FShownLinks.size(); ++i)
        if (a && b && Joins(FShownLinks[i], a, b))
            vector->Append(i);
    return vector->Count();
}

int TEgoNetModel::LinksBetweenTyped(const TEgoNetNode* a, const TEgoNetNode* b, const QString& typeName,
                                    TIntVector* vector) const
{
    if (!vector)
        return 0;
    vector->SetSize(0);
    for (int i = 0; i < FLinks.size(); ++i) {
        const TEgoNetEdge* link = FLinks[i];
        if (a && b && Joins(link, a, b)
            && (typeName.isEmpty() || link->TypeName().compare(typeName, Qt::CaseInsensitive) == 0))
            vector->Append(i);
    }
    return vector->Count();
}

TEgoNetEdge* TEgoNetModel::FindLink(const TEgoNetNode* a, const TEgoNetNode* b, const QString& typeName) const
{
    if (!a || !b)
        return nullptr;
    const QString type = typeName.isEmpty() ? kDefaultLinkType : typeName;
    for (TEgoNetEdge* link : FLinks)
        if (Joins(link, a, b) && link->TypeName().compare(type, Qt::CaseInsensitive) == 0)
            return link;
    return nullptr;
}

int TEgoNetModel::AdjacencyMatrix(TIntMatrix* matrix) const
{
    if (!matrix || FNodes.isEmpty())
        return 0;
    const int n = NodeCount();
    matrix->SetSize(n, n);
    // Walking the shown links gives the same pairs as asking every pair for a link between.
    QHash<const TEgoNetNode*, int> index;
    index.reserve(n);
    for (int i = 0; i < n; ++i)
        index.insert(FNodes[i], i);
    for (const TEgoNetEdge* link : FShownLinks) {
        const int i = index.value(link->Source, -1);
        const int j = index.value(link->Target, -1);
        if (i < 0 || j < 0 || i == j || !FNodes[i]->Enabled || !FNodes[j]->Enabled)
            continue;
        matrix->SetItems(i, j, 1);
        matrix->SetItems(j, i, 1);
    }
    return n;
}

void TEgoNetModel::MoveAll(int dx, int dy)
{
    if ((dx == 0 && dy == 0) || FNodes.isEmpty())
        return;
    const QPoint d(dx, dy);
    for (TOrganizedNode* node : std::as_const(FNodes))
        node->Position = SaturatedOffset(node->Position, d);
    for (TEgoNetEdge* link : std::as_const(FShownLinks)) {
        for (int i = 0; i < link->Bends.Count(); ++i)
            link->Bends.Set(i, SaturatedOffset(link->Bends.Get(i), d));
        link->MidPoint = SaturatedOffset(link->MidPoint, d);
        link->CurvePoint = SaturatedOffset(link->CurvePoint, d);
    }
    FModified = true;
}

void TEgoNetModel::ScaleAll(double f)
{
    const auto scale = [f](int v) { return RoundHalfEven(f * v); };
    // Zero coordinates of bends and handles stay zero: they mean "not placed".
    const auto scaleSet = [f](int v) { return v == 0 ? 0 : RoundHalfEven(f * v); };
    for (TOrganizedNode* node : std::as_const(FNodes))
        node->Position = QPoint(scale(node->Position.x()), scale(node->Position.y()));
    for (TEgoNetEdge* link : std::as_const(FShownLinks)) {
        for (int i = 0; i < link->Bends.Count(); ++i) {
            const QPoint b = link->Bends.Get(i);
            link->Bends.Set(i, QPoint(scaleSet(b.x()), scaleSet(b.y())));
        }
        link->MidPoint = QPoint(scaleSet(link->MidPoint.x()), scaleSet(link->MidPoint.y()));
        link->CurvePoint = link->MidPoint;
    }
}

void TEgoNetModel::ScaleAround(QPoint c, double f)
{
    const auto scale = [f](int v, int centre) { return centre + RoundHalfEven(f * (v - centre)); };
    const auto scaleSet = [&](int v, int centre) { return v == centre ? v : scale(v, centre); };
    for (TOrganizedNode* node : std::as_const(FNodes))
        node->Position = QPoint(scale(node->Position.x(), c.x()), scale(node->Position.y(), c.y()));
    for (TEgoNetEdge* link : std::as_const(FShownLinks)) {
        for (int i = 0; i < link->Bends.Count(); ++i) {
            const QPoint b = link->Bends.Get(i);
            link->Bends.Set(i, QPoint(scaleSet(b.x(), c.x()), scaleSet(b.y(), c.y())));
        }
        link->MidPoint = QPoint(scaleSet(link->MidPoint.x(), c.x()), scaleSet(link->MidPoint.y(), c.y()));
        link->CurvePoint = link->MidPoint;
    }
}
