// The model block of a graph file and the selection block of the clipboard.
#include "model/TEgoNetModel.h"

#include "foundation/StreamError.h"
#include "foundation/ValueReader.h"
#include "foundation/ValueWriter.h"
#include "model/ModelConstants.h"
#include "model/Records.h"

#include <QHash>

namespace {

// Keeps a node's Key holding its ID while the node is written, and puts the Key back even
// when writing fails.
class TKeyCarriesID
{
public:
    explicit TKeyCarriesID(TEgoNetNode& node) : FNode(node), FKey(node.Key) { node.Key = node.ID; }
    ~TKeyCarriesID() { FNode.Key = FKey; }
    TKeyCarriesID(const TKeyCarriesID&) = delete;
    TKeyCarriesID& operator=(const TKeyCarriesID&) = delete;

private:
    TEgoNetNode& FNode;
    QString FKey;
};

} // namespace

void TEgoNetModel::WriteModel(QIODevice& stream)
{
    ValueWriter writer(stream);
    writer.WriteInteger(NodeCount());
    for (const TOrganizedNode* node : std::as_const(FNodes))
        WriteNodeRecord(*node, writer);
    writer.WriteInteger(LinkCount());
    for (const TEgoNetEdge* link : std::as_const(FLinks))
        WriteLinkRecord(*link, writer);
    if (NodeTypes.isEmpty())
        NodeTypes.append(QStringLiteral("default"));
    WriteStringList(NodeTypes, writer);
    RebuildShownLinkTypes();
    WriteStringList(ShownLinkTypes, writer);
    writer.Finish();
}

void TEgoNetModel::WriteSelection(QIODevice& stream)
{
    if (FNodes.isEmpty() || SelectedNodeCount() == 0)
        return;
    ValueWriter writer(stream);
    writer.WriteInteger(SelectedNodeCount());
    for (TOrganizedNode* node : std::as_const(FNodes)) {
        if (!node->Selected())
            continue;
        TKeyCarriesID carry(*node);
        WriteNodeRecord(*node, writer);
    }
    writer.WriteInteger(SelectedLinkCount());
    for (const TEgoNetEdge* link : std::as_const(FShownLinks))
        if (link->Selected())
            WriteLinkRecord(*link, writer);
    if (NodeTypes.isEmpty())
        NodeTypes.append(QStringLiteral("default"));
    WriteStringList(NodeTypes, writer);
    WriteStringList(ShownLinkTypes, writer);
    writer.Finish();
}

void TEgoNetModel::ReadModel(QIODevice& stream, bool merge)
{
    ValueReader reader(stream);
    if (!merge)
        Clear();

    const int32_t nodeCount = reader.ReadInteger();
    for (int32_t i = 0; i < nodeCount; ++i) {
        TOrganizedNode* node = NewNode(QPoint(0, 0), QString());
        ReadNodeRecord(*node, reader);
        if (!merge)
            continue;
        // A pasted person keeps its caption unless that would make it look like someone
        // already in the network.
        const QString caption = node->Caption();
        node->SetCaption(NextNodeName());
        int found = -1;
        if (!FindNodeByCaptionOrID(caption, found))
            node->SetCaption(caption);
        node->ID = NewObjectID();
        node->SetSelected(true);
        // Hostile positions stay at the edge of the range instead of wrapping round.
        node->Position = SaturatedOffset(node->Position, QPoint(10, 10));
    }

    // A single person can still carry a self-loop, so the rest is read whenever there is
    // somebody to link; only an empty network stops here.
    if (FNodes.isEmpty())
        return;

    {
        // Links are read between two placeholders and moved onto their real ends once those are
        // known; whatever is still attached to the placeholders goes with them, error or not.
        TOrganizedNode* first = NewNode(QPoint(0, 0), QString());
        TOrganizedNode* second = NewNode(QPoint(0, 0), QString());
        struct TPlaceholders
        {
            TEgoNetModel& Model;
            TOrganizedNode* First;
            TOrganizedNode* Second;
            ~TPlaceholders()
            {
                Model.DeleteNode(First);
                Model.DeleteNode(Second);
            }
        } placeholders{*this, first, second};

        // Ends are found by ID on a load and by the carried Key on a paste; the first node wins.
        QHash<QString, TOrganizedNode*> ends;
        for (TOrganizedNode* node : std::as_const(FNodes)) {
            if (node == first || node == second)
                continue;
            const QString key = merge ? node->Key : node->ID.toUpper();
            if (!key.isEmpty() && !ends.contains(key))
                ends.insert(key, node);
        }
        const auto findEnd = [&](const QString& id) -> TOrganizedNode* {
            return id.isEmpty() ? nullptr : ends.value(merge ? id : id.toUpper(), nullptr);
        };

        const int32_t linkCount = reader.ReadInteger();
        for (int32_t i = 0; i < linkCount; ++i) {
            TEgoNetEdge* link = NewLink(first, second, kDefaultLinkType, QString());
            QString sourceID;
            QString targetID;
            ReadLinkRecord(*link, reader, sourceID, targetID);
            TOrganizedNode* source = findEnd(sourceID);
            TOrganizedNode* target = findEnd(targetID);
            if (!source || !target) {
                DeleteShownLink(link);
                continue;
            }
            SetLinkEnds(link, source, target);
            link->MarkEndsLinked();
            link->UpdateCurvePoint();
            if (merge)
                link->SetSelected(true);
        }
    }

    if (merge)
        for (TOrganizedNode* node : std::as_const(FNodes))
            node->Key.clear();

    ReadStringList(NodeTypes, reader);
    if (NodeTypes.isEmpty())
        NodeTypes.append(QStringLiteral("default"));
    ReadStringList(ShownLinkTypes, reader);
    SetShownLinkTypes(ShownLinkTypes);

    if (!merge)
        SelectAll(false);
}
