#pragma once

#include "foundation/Geometry.h"
#include "model/TEgoNetEdge.h"
#include "model/TEgoNetNode.h"
#include "model/TLinkList.h"

#include <QList>
#include <QPoint>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;
class TIntMatrix;
class TIntVector;

// The graph of one personal network. It owns every node and link, keeps the links that pass
// the link-type filter, names new objects and carries the mark that the network needs saving.
// Indexes are positions in Nodes, ShownLinks or Links; each operation says which. Nothing here
// fails: missing arguments and indexes outside the lists give empty results and change nothing.
class TEgoNetModel
{
public:
    // CollectLinkTypes' colour for a type no link carries.
    static constexpr uint32_t NoColour = 0x1FFFFFFF;

    TEgoNetModel();
    ~TEgoNetModel();
    TEgoNetModel(const TEgoNetModel&) = delete;
    TEgoNetModel& operator=(const TEgoNetModel&) = delete;

    const QList<TOrganizedNode*>& Nodes() const { return FNodes; }
    const QList<TEgoNetEdge*>& ShownLinks() const { return FShownLinks.Items(); }
    const QList<TEgoNetEdge*>& Links() const { return FLinks.Items(); }
    QStringList NodeTypes{QStringLiteral("default")};
    QStringList ShownLinkTypes;
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }

    void Clear();
    void AssignFrom(const TEgoNetModel& other);
    // Makes this model an exact copy of the other: the same objects in the same order, with the
    // same identities, flags, selection and changed mark. What was held from before is gone.
    // Texts, lists and pictures are shared with the other until either side changes them.
    void CopyFrom(const TEgoNetModel& other);

    // Access
    int NodeCount() const { return int(FNodes.size()); }
    TOrganizedNode* GetNode(int i) const { return i >= 0 && i < FNodes.size() ? FNodes[i] : nullptr; }
    int ShownLinkCount() const { return int(FShownLinks.size()); }
    TEgoNetEdge* GetShownLink(int i) const { return i >= 0 && i < FShownLinks.size() ? FShownLinks[i] : nullptr; }
    int LinkCount() const { return int(FLinks.size()); }
    TEgoNetEdge* GetLink(int i) const { return i >= 0 && i < FLinks.size() ? FLinks[i] : nullptr; }
    int IndexOfNode(const TEgoNetNode* node) const;
    int IndexOfLink(const TEgoNetEdge* link) const;

    // Adding and deleting
    void AddNode(TOrganizedNode* node);
    TOrganizedNode* NewNode(QPoint position, const QString& caption);
    TEgoNetEdge* AddLink(TEgoNetEdge* link);
    TEgoNetEdge* NewLink(TEgoNetNode* source, TEgoNetNode* target, const QString& typeName, const QString& caption);
    void AddToLinks(TEgoNetEdge* link);
    void RemoveFromLinks(TEgoNetEdge* link);
    // Puts a link onto other ends. The ends of the model's links change only here (or before
    // the link is added), so that each person's list of its links stays right.
    void SetLinkEnds(TEgoNetEdge* link, TEgoNetNode* source, TEgoNetNode* target);
    void DeleteShownLink(TEgoNetEdge* link);
    void DeleteNode(TEgoNetNode* node);
    void ClearBends();

    // Naming of new objects: "Node_001", "Link_012", "Group_123", one past the highest in use.
    QString NextNodeName() const;
    QString NextLinkName() const;
    QString NextGroupName() const;

    // Selection, enabling and visibility (node indexes into Nodes, link indexes into ShownLinks)
    int SelectedNodeCount() const;
    int SelectedNodes(TIntVector* vector) const;
    int SelectedLinks(TIntVector* vector) const;
    int SelectedLinkCount() const;
    TOrganizedNode* FirstSelectedNode() const;
    int SelectInRect(const TRect& rect);
    void SelectAll(bool flag);
    void UpdateLinkSelection();
    void UpdateLinkVisibility();
    void EnableAll(bool flag);
    void ShowAll(bool flag);
    bool TwoSelectedNodes(TOrganizedNode*& a, TOrganizedNode*& b) const;
    bool TwoSelectedNodesLinked(TOrganizedNode*& a, TOrganizedNode*& b) const;
    void FreezeSelected();
    void UnfreezeSelected();
    void UnfreezeAll();
    std::vector<bool> EnabledFlags() const;

    // Counts
    int EnabledNodeCount() const;
    int EnabledLinkedNodeCount() const;
    int MovableNodeCount() const;
    int EnabledTypedLinkCount() const;
    int GroupCount() const;
    int ExpandedGroupCount() const;
    int ClusterCount() const;

    // Lookups
    TOrganizedNode* FindNodeByID(const QString& id) const;
    // FindNodeByID for each ID, in the order of the IDs, leaving out those no node has; one walk
    // over the nodes however many IDs there are.
    QList<TOrganizedNode*> FindNodesByIDs(const QStringList& ids) const;
    // Among all links, hidden ones included.
    TEgoNetEdge* FindLinkByID(const QString& id) const;
    bool FindNodeByCaptionOrID(const QString& text, int& index) const;
    bool FindNodes(const QString& text, bool caseSensitive, QList<TOrganizedNode*>& list, bool wholeMatch) const;
    bool HasLinks(const TEgoNetNode* node) const;
    int UnlinkedNodes(TIntVector* vector) const;
    bool AnyDirected() const;
    TEgoNetEdge* LinkBetween(const TEgoNetNode* a, const TEgoNetNode* b) const;
    int LinksBetween(const TEgoNetNode* a, const TEgoNetNode* b, TIntVector* vector) const;
    // An empty type stands for every type.
    int LinksBetweenTyped(const TEgoNetNode* a, const TEgoNetNode* b, const QString& typeName, TIntVector* vector) const;
    // An empty type stands for "is_linked_to".
    TEgoNetEdge* FindLink(const TEgoNetNode* a, const TEgoNetNode* b, const QString& typeName) const;
    bool LinkExists(const TEgoNetNode* a, const TEgoNetNode* b, const QString& typeName) const
    {
        return FindLink(a, b, typeName) != nullptr;
    }
    int AdjacencyMatrix(TIntMatrix* matrix) const;

    // Geometry
    void MoveAll(int dx, int dy);
    void ScaleAll(double f);
    void ScaleAround(QPoint c, double f);

    // Link types
    void CollectLinkTypes(QStringList& list, bool sorted, QList<uint32_t>* colours) const;
    void SetShownLinkTypes(const QStringList& list);
    void RebuildShownLinkTypes();
    QString DefaultLinkType() const;

    // Attributes across the network
    void NodeAttrNames(QStringList& list) const;
    void LinkAttrNames(QStringList& list) const;
    void NormalizeNodeAttrs();
    void NormalizeLinkAttrs();
    void SyncNodeAttrNames(const TEgoNetObject* templateObject, const QStringList* renames);
    void SyncLinkAttrNames(const TEgoNetObject* templateObject, const QStringList* renames);
    void DeleteNodeAttribute(const QString& name);
    void NodeAttrValues(const QString& name, QStringList& list, bool reversed) const;
    void LinkAttrValues(const QString& name, QStringList& list, bool reversed) const;
    static void NumericRange(QStringList& list, float& min, bool removeMissing, float& max);
    void CopyCaptionsToKeys();

    // Clusters
    int ClusterValues(QStringList& list) const;
    void NodesInCluster(const QString& value, QList<TOrganizedNode*>& list) const;

    // The model block of a graph file, and the selection block that the clipboard carries.
    // Reading raises EStreamError and keeps what was read before the error.
    void WriteModel(QIODevice& stream);
    void WriteSelection(QIODevice& stream);
    void ReadModel(QIODevice& stream, bool merge);

    // Groups and structural operations
    // A group is a node with IsGroup set; its members are the other nodes whose GroupIDs hold
    // its ID. Collapsed, the group stands for its members, which are hidden, and twin links
    // join it to the members' outside neighbours; expanded, the members are shown and the
    // group is greyed out.
    static void SetShown(TEgoNetNode* node, bool flag);
    // Nothing is a member while the network has no enabled node.
    void GroupMembers(const TEgoNetNode* group, QList<TOrganizedNode*>& list) const;
    int GroupMemberIndexes(const TEgoNetNode* group, TIntVector* vector) const;
    void GroupMemberCaptions(const TEgoNetNode* group, QStringList& list) const;
    // The sorted member captions, one per line: the tooltip of a group.
    QString GroupMemberText(const TEgoNetNode* group) const;
    // The mean position of the members (node indexes) and 1.5 times their mean size; false
    // and the node's own position and size when there are no members.
    bool GroupCentre(const TEgoNetNode* node, const TIntVector* members, int& x, int& y, int& size) const;
    // Moves the members so that their centre lies where the group stands, none above or left
    // of the edge margin.
    bool MoveMembersToGroup(const TEgoNetNode* group, const TIntVector* members);
    // Collapses the selected nodes into a new group and returns it; none without a selection.
    TOrganizedNode* GroupSelected(const QString& caption, const TDisplayDefaults& settings);
    bool AddToGroup(TEgoNetNode* node, TEgoNetNode* group);
    void Expand(TEgoNetNode* group);
    void ExpandAll();
    void Ungroup(TEgoNetNode* group);
    void UngroupAll();
    // Links every two of the nodes (indexes into Nodes) that the adjacency matrix shows
    // unlinked; directed links come in pairs, one each way.
    void ConnectAll(const TIntVector* nodeIndexes, bool directed);
    // Merges the selected nodes into the one selected last.
    void Combine();
    // Link indexes into ShownLinks. Undirected, a link's duplicates go; directed, an undirected
    // link becomes a pair of opposite links.
    void MakeUndirected(const TIntVector* linkIndexes);
    void MakeDirected(const TIntVector* linkIndexes);
    // Fans out the visible links between each two nodes, then re-places the self-loops.
    void SpreadParallelLinks(int loopSize);
    // A loop handle nearer than 1.5 node sizes or farther than 2.5 loop sizes snaps back to
    // 1.25 loop sizes from its node.
    static void PlaceSelfLoop(TEgoNetEdge* link, int loopSize);

private:
    template <typename Object>
    static void AttrNamesOf(const QList<Object*>& objects, QStringList& list);
    template <typename Object>
    static void AttrValuesOf(const QList<Object*>& objects, const QString& name, QStringList& list, bool reversed);

    // Lists a link of FLinks with its ends, and takes it off them again.
    static void AttachEnds(TEgoNetEdge* link);
    static void DetachEnds(TEgoNetEdge* link);

    QList<TOrganizedNode*> FNodes;
    // Every link in FShownLinks is in FLinks too.
    TLinkList FShownLinks;
    TLinkList FLinks;
    bool FModified = false;
};
