// Groups, and the edits that change many nodes and links at once.
#include "model/TEgoNetModel.h"

#include "foundation/Geometry.h"
#include "foundation/Rounding.h"
#include "foundation/TNumericMatrix.h"
#include "foundation/TNumericVector.h"
#include "model/BuiltinPictures.h"
#include "model/ModelConstants.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// The two ends of a link in a fixed order, so that A -> B and B -> A share a key.
using TEndPair = std::pair<const TEgoNetNode*, const TEgoNetNode*>;

TEndPair EndsOf(const TEgoNetEdge* link)
{
    const TEgoNetNode* a = link->Source;
    const TEgoNetNode* b = link->Target;
    return std::less<const TEgoNetNode*>()(a, b) ? TEndPair(a, b) : TEndPair(b, a);
}

// The positions in links of the accepted links with both ends, grouped by their two ends, in
// list order: one pass instead of a search between two nodes for every link.
template <typename Accept>
QHash<TEndPair, QList<int>> LinksByEnds(const QList<TEgoNetEdge*>& links, Accept accept)
{
    QHash<TEndPair, QList<int>> result;
    for (int i = 0; i < links.size(); ++i) {
        const TEgoNetEdge* link = links[i];
        if (link->Source && link->Target && accept(link))
            result[EndsOf(link)].append(i);
    }
    return result;
}

// The offset of the m-th of n parallel links: 0, +10, -10, +20, -20, ... for odd n and
// +5, -5, +15, -15, ... for even n.
int32_t ParallelOffset(int m, int n)
{
    if (n % 2 == 0) {
        const int32_t e = (m / 2) * 10 + 5;
        return m % 2 == 0 ? e : -e;
    }
    const int32_t e = ((m + 1) / 2) * 10;
    return m % 2 == 1 ? e : -e;
}

// A copy of the link in which the group stands in for the member at one end.
void AddTwin(TEgoNetModel& model, const TEgoNetEdge* link, TEgoNetNode* group, bool atSource)
{
    TEgoNetEdge* twin = atSource ? model.NewLink(group, link->Target, link->TypeName(), QString())
                                 : model.NewLink(link->Source, group, link->TypeName(), QString());
    twin->AssignFrom(link);
    (atSource ? twin->Source : twin->Target) = group;
}

// Gives the group a twin of each of the member's links whose other end is outside.
template <typename Outside>
void TwinLinksOf(TEgoNetModel& model, const TEgoNetNode* member, TEgoNetNode* group,
                 const QList<TEgoNetEdge*>& links, Outside outside)
{
    for (const TEgoNetEdge* link : links) {
        if (link->Source == member && link->Target && outside(link->Target))
            AddTwin(model, link, group, true);
        else if (link->Target == member && link->Source && outside(link->Source))
            AddTwin(model, link, group, false);
    }
}

// Expanding and ungrouping end with the same upkeep of the links: their visibility, then
// spreading. Neither ever hides a node, so the links visible after one group stay visible
// after the next, and spreading places every visible link afresh (a loop handle within its
// band stays put, so only a loop of a node that several groups move may land elsewhere).
// The operations on all groups therefore do that upkeep once at the end instead of once per
// group, which would cost a pass over every link for each group.

// Expand up to the link upkeep; true when the group was expanded.
bool ShowMembers(TEgoNetModel& model, TEgoNetNode* group)
{
    if (!group || !group->IsGroup || group->Expanded)
        return false;
    TIntVector members;
    if (model.GroupMemberIndexes(group, &members) == 0)
        return false;
    group->Visible = true;
    group->SetSelected(false);
    group->Enabled = false;
    group->Expanded = true;
    // Cannot fail: the group has members.
    model.MoveMembersToGroup(group, &members);
    for (int i = 0; i < members.Count(); ++i)
        TEgoNetModel::SetShown(model.GetNode(members.Items(i)), true);
    return true;
}

// Ungroup up to the link upkeep; true when the group was deleted.
bool Dissolve(TEgoNetModel& model, TEgoNetNode* group)
{
    if (!group || !group->IsGroup)
        return false;
    TIntVector members;
    if (model.GroupMemberIndexes(group, &members) > 0) {
        // Cannot fail: the group has members.
        model.MoveMembersToGroup(group, &members);
        model.SelectAll(false);
        const QString id = group->ID;
        for (int i = 0; i < members.Count(); ++i) {
            TOrganizedNode* member = model.GetNode(members.Items(i));
            member->GroupIDs.removeIf(
                [&id](const QString& entry) { return entry.compare(id, Qt::CaseInsensitive) == 0; });
            TEgoNetModel::SetShown(member, true);
        }
        // Once for all members: the link selection follows the final node selection only.
        model.UpdateLinkSelection();
    }
    model.DeleteNode(group);
    return true;
}

} // namespace

void TEgoNetModel::SetShown(TEgoNetNode* node, bool flag)
{
    if (!node)
        return;
    node->Enabled = flag;
    node->Visible = flag;
    node->SetSelected(flag);
}

void TEgoNetModel::GroupMembers(const TEgoNetNode* group, QList<TOrganizedNode*>& list) const
{
    list.clear();
    TIntVector indexes;
    GroupMemberIndexes(group, &indexes);
    for (int i = 0; i < indexes.Count(); ++i)
        list.append(FNodes[indexes.Items(i)]);
}

int TEgoNetModel::GroupMemberIndexes(const TEgoNetNode* group, TIntVector* vector) const
{
    if (!vector)
        return 0;
    vector->SetSize(0);
    if (!group || !group->IsGroup || EnabledNodeCount() == 0)
        return 0;
    for (int i = 0; i < FNodes.size(); ++i)
        if (FNodes[i] != group && FNodes[i]->InGroup(group->ID))
            vector->Append(i);
    return vector->Count();
}

void TEgoNetModel::GroupMemberCaptions(const TEgoNetNode* group, QStringList& list) const
{
    list.clear();
    QList<TOrganizedNode*> members;
    GroupMembers(group, members);
    for (const TOrganizedNode* member : std::as_const(members))
        list.append(member->Caption());
}

QString TEgoNetModel::GroupMemberText(const TEgoNetNode* group) const
{
    QStringList captions;
    GroupMemberCaptions(group, captions);
    std::stable_sort(captions.begin(), captions.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return captions.join(QStringLiteral("\r\n"));
}

bool TEgoNetModel::GroupCentre(const TEgoNetNode* node, const TIntVector* members, int& x, int& y, int& size) const
{
    if (!node)
        return false;
    x = node->Position.x();
    y = node->Position.y();
    size = node->Size;
    if (!members || members->Count() == 0)
        return false;
    int64_t sumX = 0;
    int64_t sumY = 0;
    int64_t sumSize = 0;
    for (int i = 0; i < members->Count(); ++i) {
        const TOrganizedNode* member = GetNode(members->Items(i));
        if (!member || member == node)
            continue;
        sumX += member->Position.x();
        sumY += member->Position.y();
        sumSize += member->Size;
    }
    // The node itself, when listed, still counts towards the divisor.
    const double m = members->Count();
    x = RoundHalfEven(double(sumX) / m);
    y = RoundHalfEven(double(sumY) / m);
    size = RoundHalfEven(double(sumSize) * 1.5 / m);
    return true;
}

bool TEgoNetModel::MoveMembersToGroup(const TEgoNetNode* group, const TIntVector* members)
{
    if (!group || !group->IsGroup || !members || members->Count() == 0)
        return false;
    int x = 0;
    int y = 0;
    int size = 0;
    if (!GroupCentre(group, members, x, y, size))
        return false;
    const QPoint d = group->Position - QPoint(x, y);
    if (d.isNull())
        return true;
    for (int i = 0; i < members->Count(); ++i) {
        TOrganizedNode* member = GetNode(members->Items(i));
        if (!member || member == group)
            continue;
        member->Position = QPoint(std::max(kEdgeMargin, member->Position.x() + d.x()),
                                  std::max(kEdgeMargin, member->Position.y() + d.y()));
    }
    return true;
}

TOrganizedNode* TEgoNetModel::GroupSelected(const QString& caption, const TDisplayDefaults& settings)
{
    if (FNodes.isEmpty() || SelectedNodeCount() == 0)
        return nullptr;

    TIntVector memberIndexes;
    SelectedNodes(&memberIndexes);
    QList<TOrganizedNode*> members;
    for (int i = 0; i < memberIndexes.Count(); ++i)
        members.append(FNodes[memberIndexes.Items(i)]);
    const QSet<const TEgoNetNode*> inGroup(members.cbegin(), members.cend());

    // The shown links of each member in list order, gathered once. Twins never end at a member,
    // so the links a member's turn would find are all among these.
    QHash<const TEgoNetNode*, QList<TEgoNetEdge*>> linksOf;
    for (TEgoNetEdge* link : std::as_const(FShownLinks)) {
        if (inGroup.contains(link->Source))
            linksOf[link->Source].append(link);
        if (link->Target != link->Source && inGroup.contains(link->Target))
            linksOf[link->Target].append(link);
    }

    // A new node is collapsed, unselected and in no group already.
    TOrganizedNode* group = NewNode(QPoint(0, 0), caption);
    group->IsGroup = true;

    // A link between two members gets no twin: inside the group it has nothing to stand for.
    const auto outside = [&inGroup](const TEgoNetNode* end) { return !inGroup.contains(end); };
    for (TOrganizedNode* member : std::as_const(members)) {
        TwinLinksOf(*this, member, group, linksOf.value(member), outside);
        member->GroupIDs.append(group->ID);
        SetShown(member, false);
    }

    if (group->Caption().isEmpty())
        group->SetCaption(QStringLiteral("Group ") + group->ID);
    int x = 0;
    int y = 0;
    int size = 0;
    if (GroupCentre(group, &memberIndexes, x, y, size)) {
        group->Position = QPoint(x, y);
        group->Size = size;
    }
    group->Image = ColorCubePicture();
    group->Shape = kGroupShape;
    group->Color = settings.nGrpColor;
    group->SetSelected(true);
    return group;
}

bool TEgoNetModel::AddToGroup(TEgoNetNode* node, TEgoNetNode* group)
{
    // A group cannot hold itself, and a second join would give every twin a copy.
    if (!node || !group || !group->IsGroup || node == group || node->InGroup(group->ID))
        return false;
    node->GroupIDs.append(group->ID);
    SetShown(node, false);
    // The links as they are before the twins join them.
    const QList<TEgoNetEdge*> links = FShownLinks;
    TwinLinksOf(*this, node, group, links,
                [group](const TEgoNetNode* end) { return end != group && !end->InGroup(group->ID); });
    return true;
}

void TEgoNetModel::Expand(TEgoNetNode* group)
{
    if (ShowMembers(*this, group)) {
        UpdateLinkVisibility();
        SpreadParallelLinks(60);
    }
}

void TEgoNetModel::ExpandAll()
{
    // One pass in node order does what expanding the first collapsed group again and again
    // does, and ends where that would try forever: a group without members stays without
    // them, and while the network has no enabled node no group expands at all.
    bool expanded = false;
    for (int i = 0; i < FNodes.size(); ++i)
        if (FNodes[i]->IsGroup && !FNodes[i]->Expanded)
            expanded = ShowMembers(*this, FNodes[i]) || expanded;
    if (expanded) {
        UpdateLinkVisibility();
        SpreadParallelLinks(60);
    }
}

void TEgoNetModel::Ungroup(TEgoNetNode* group)
{
    if (Dissolve(*this, group)) {
        UpdateLinkVisibility();
        SpreadParallelLinks(60);
    }
}

void TEgoNetModel::UngroupAll()
{
    // Dissolving always deletes the group node, so the next group slides into its place.
    bool dissolved = false;
    int i = 0;
    while (i < FNodes.size()) {
        if (FNodes[i]->IsGroup)
            dissolved = Dissolve(*this, FNodes[i]) || dissolved;
        else
            ++i;
    }
    if (dissolved) {
        UpdateLinkVisibility();
        SpreadParallelLinks(60);
    }
}

void TEgoNetModel::ConnectAll(const TIntVector* nodeIndexes, bool directed)
{
    if (!nodeIndexes)
        return;
    TIntMatrix adjacency;
    if (AdjacencyMatrix(&adjacency) < 2)
        return;
    const QString type = DefaultLinkType();
    for (int i = 0; i < nodeIndexes->Count(); ++i) {
        const int ia = nodeIndexes->Items(i);
        TOrganizedNode* a = GetNode(ia);
        if (!a)
            continue;
        for (int j = i + 1; j < nodeIndexes->Count(); ++j) {
            const int ib = nodeIndexes->Items(j);
            TOrganizedNode* b = GetNode(ib);
            if (!b || adjacency.Items(ia, ib) != 0)
                continue;
            TEgoNetEdge* link = NewLink(a, b, type, QString());
            link->Directed = directed;
            if (directed) {
                TEgoNetEdge* back = NewLink(nullptr, nullptr, kDefaultLinkType, QString());
                back->AssignFrom(link);
                SetLinkEnds(back, b, a);
            }
        }
    }
    NormalizeLinkAttrs();
}

void TEgoNetModel::Combine()
{
    if (FNodes.isEmpty() || SelectedNodeCount() < 2)
        return;
    QList<TOrganizedNode*> selected;
    TOrganizedNode* survivor = nullptr;
    for (TOrganizedNode* node : std::as_const(FNodes)) {
        if (!node->Selected())
            continue;
        selected.append(node);
        if (!survivor || node->SelectTime > survivor->SelectTime)
            survivor = node;
    }

    TIntVector indexes;
    for (TOrganizedNode* other : std::as_const(selected)) {
        if (other == survivor)
            continue;
        // A filter that lists a type twice lists its links twice, and deleting one copy takes
        // both: deleting by index would then hit another link, so each link is taken once.
        LinksBetween(other, survivor, &indexes);
        QList<TEgoNetEdge*> between;
        for (int k = indexes.Count() - 1; k >= 0; --k)
            if (!between.contains(FShownLinks[indexes.Items(k)]))
                between.append(FShownLinks[indexes.Items(k)]);
        for (TEgoNetEdge* link : std::as_const(between))
            DeleteShownLink(link);
        // What is left between the two is filtered out.
        LinksBetweenTyped(other, survivor, QString(), &indexes);
        for (int k = indexes.Count() - 1; k >= 0; --k) {
            TEgoNetEdge* link = FLinks[indexes.Items(k)];
            RemoveFromLinks(link);
            delete link;
        }
        for (TEgoNetEdge* link : std::as_const(FShownLinks)) {
            if (link->Source == other)
                SetLinkEnds(link, survivor, link->Target);
            else if (link->Target == other)
                SetLinkEnds(link, link->Source, survivor);
            else
                continue;
            // The survivor may have had no link of its own before.
            link->MarkEndsLinked();
        }
    }

    survivor->SetSelected(false);
    for (TOrganizedNode* other : std::as_const(selected))
        if (other != survivor)
            DeleteNode(other);
    survivor->SetSelected(true);
}

void TEgoNetModel::MakeUndirected(const TIntVector* linkIndexes)
{
    if (!linkIndexes || linkIndexes->Count() == 0)
        return;
    QHash<const TEgoNetEdge*, int> indexOf;
    indexOf.reserve(FLinks.size());
    for (int i = 0; i < FLinks.size(); ++i)
        indexOf.insert(FLinks[i], i);
    const QHash<TEndPair, QList<int>> between = LinksByEnds(FLinks, [](const TEgoNetEdge*) { return true; });
    std::vector<bool> marked(size_t(FLinks.size()), false);

    for (int i = 0; i < linkIndexes->Count(); ++i) {
        TEgoNetEdge* link = GetShownLink(linkIndexes->Items(i));
        if (!link)
            continue;
        const int j = indexOf.value(link, -1);
        if (j >= 0 && marked[size_t(j)])
            continue;
        const QList<int> others = between.value(EndsOf(link));
        if (others.size() > 1)
            for (int k : others)
                if (FLinks[k] != link && FLinks[k]->IsDuplicateOf(link))
                    marked[size_t(k)] = true;
        link->Directed = false;
    }

    // Highest first, so that the positions of the links still to go stay put.
    for (int k = int(marked.size()) - 1; k >= 0; --k)
        if (marked[size_t(k)])
            DeleteShownLink(FLinks[k]);
}

void TEgoNetModel::MakeDirected(const TIntVector* linkIndexes)
{
    if (!linkIndexes)
        return;
    // The links first: each new link is appended to ShownLinks.
    QList<TEgoNetEdge*> links;
    for (int i = 0; i < linkIndexes->Count(); ++i)
        if (TEgoNetEdge* link = GetShownLink(linkIndexes->Items(i)))
            links.append(link);
    for (TEgoNetEdge* link : std::as_const(links)) {
        if (link->Directed)
            continue;
        link->Directed = true;
        auto* back = new TEgoNetEdge();
        back->AssignFrom(link);
        back->Source = link->Target;
        back->Target = link->Source;
        AddLink(back);
    }
}

void TEgoNetModel::SpreadParallelLinks(int loopSize)
{
    if (FNodes.isEmpty() || FShownLinks.isEmpty())
        return;
    const QHash<TEndPair, QList<int>> parallel = LinksByEnds(
        FShownLinks, [](const TEgoNetEdge* link) { return link->Visible && !link->IsSelfLoop(); });
    // Each link belongs to one pair, so the order of the pairs does not matter.
    for (const QList<int>& indexes : parallel) {
        const int n = int(indexes.size());
        const TEgoNetNode* reference = FShownLinks[indexes.first()]->Source;
        for (int m = 0; m < n; ++m) {
            TEgoNetEdge* link = FShownLinks[indexes[m]];
            // A link running the other way has its perpendicular on the other side.
            const int32_t offset = link->Source == reference ? ParallelOffset(m, n) : -ParallelOffset(m, n);
            link->Offset = offset;
            link->UpdateMidPoint(offset);
        }
        FModified = true;
    }
    for (TEgoNetEdge* link : std::as_const(FShownLinks))
        if (link->Visible)
            PlaceSelfLoop(link, loopSize);
}

void TEgoNetModel::PlaceSelfLoop(TEgoNetEdge* link, int loopSize)
{
    if (!link || !link->Source || !link->IsSelfLoop())
        return;
    const QPoint centre = link->Source->Position;
    const float d = Distance(centre, link->MidPoint);
    const int32_t r = RoundHalfEven(loopSize * 1.25);
    if (d < link->Source->Size * 1.5 || d > 2.0 * r)
        link->MidPoint = PointTowards(centre, link->MidPoint, r);
    link->UpdateCurvePoint();
}
