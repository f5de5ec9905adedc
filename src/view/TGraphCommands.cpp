#include "view/TGraphCommands.h"

#include "foundation/StreamError.h"
#include "foundation/TNumericVector.h"
#include "foundation/UserDialogs.h"
#include "model/ModelConstants.h"
#include "view/TCursorMan.h"
#include "view/TEgoNetGraphDisplay.h"
#include "view/TGraphClipboard.h"
#include "view/ViewEvents.h"

#include <QBuffer>

#include <utility>

namespace {

const QString kBeep = QStringLiteral("BEEP.WAV");
const QString kDing = QStringLiteral("DING.WAV");
// A self-loop made by hand gets this length.
// Linking more nodes than this each to each needs the user's yes.
constexpr int kLargeClique = 120;

} // namespace

TGraphCommands::TGraphCommands(TEgoNetGraphDisplay& view)
    : FView(view)
{
}

TEgoNetModel& TGraphCommands::Model()
{
    return FView.Model();
}

void TGraphCommands::SetCurrentNode(TOrganizedNode* node)
{
    FView.CurrentNode = node;
    FView.CurrentNodeIndex = Model().IndexOfNode(node);
}

void TGraphCommands::ForgetDeleted()
{
    if (FView.CurrentNode) {
        FView.CurrentNodeIndex = Model().IndexOfNode(FView.CurrentNode);
        if (FView.CurrentNodeIndex < 0)
            FView.CurrentNode = nullptr;
    } else {
        FView.CurrentNodeIndex = -1;
    }
    if (FView.CurrentLink && !Model().ShownLinks().contains(FView.CurrentLink))
        FView.CurrentLink = nullptr;
}

void TGraphCommands::Edited(const QString& step)
{
    FView.Edited(step);
}

void TGraphCommands::RestartLayout()
{
    if (FView.AutoOrganize())
        FView.Organize(true);
}

void TGraphCommands::Repaint()
{
    FView.update();
}

void TGraphCommands::RaiseSelect()
{
    Raise(FView.OnSelect, &FView);
}

// Nodes

TOrganizedNode* TGraphCommands::NewDefaultNode(QPoint at)
{
    TEgoNetModel& model = Model();
    TOrganizedNode* node = model.NewNode(at, model.NextNodeName());
    QStringList names;
    model.NodeAttrNames(names);
    node->Attributes.AddNames(names);
    node->ApplyDefaults(FView.Settings());
    return node;
}

void TGraphCommands::AddNode()
{
    if (::Cancelled(FView.OnAddingNode, &FView))
        return;
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    TOrganizedNode* node = NewDefaultNode(FView.InsertPoint);
    Edited(QStringLiteral("Add Person"));
    Model().SelectAll(false);
    node->SetSelected(true);
    SetCurrentNode(node);
    FView.PlaySoundEffect(kBeep);
    Repaint();
    Raise(FView.OnAddNode, &FView, node);
    RaiseSelect();
}

void TGraphCommands::RequestEdit(TEgoNetObject* current, const TObjectEvent& request)
{
    if (!current)
        return;
    FView.PrepareEdit(true);
    Raise(request, &FView, current);
}

void TGraphCommands::EditNode()
{
    ForgetDeleted();
    RequestEdit(FView.CurrentNode, FView.OnEditNodeRequest);
}

void TGraphCommands::DisableNodes()
{
    if (Model().NodeCount() == 0 || ::Cancelled(FView.OnDisablingNodes, &FView))
        return;
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    const bool showDisabled = FView.ShowDisabledNodes();
    const QList<TOrganizedNode*>& nodes = Model().Nodes();
    // Each node is inverted on its own: a mixed selection swaps its enabled and disabled nodes.
    for (qsizetype i = nodes.size() - 1; i >= 0; --i) {
        TOrganizedNode* node = nodes[i];
        if (!node->Selected())
            continue;
        node->Enabled = !node->Enabled;
        if (!node->Enabled && !showDisabled)
            node->SetSelected(false);
        node->Visible = node->Enabled || showDisabled;
    }
    Model().UpdateLinkSelection();
    Edited(QStringLiteral("Disable Persons"));
    Repaint();
    Raise(FView.OnDisableNodes, &FView);
    RaiseSelect();
}

void TGraphCommands::DeleteNodes()
{
    if (Model().NodeCount() == 0 || ::Cancelled(FView.OnDeletingNodes, &FView))
        return;
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    const QList<TOrganizedNode*>& nodes = Model().Nodes();
    // A deleted node's successor slides into its place and is looked at next.
    for (qsizetype i = 0; i < nodes.size();) {
        if (nodes[i]->Selected())
            Model().DeleteNode(nodes[i]);
        else
            ++i;
    }
    ForgetDeleted();
    Edited(QStringLiteral("Delete Persons"));
    Repaint();
    Raise(FView.OnDeleteNodes, &FView);
    RaiseSelect();
    RestartLayout();
}

void TGraphCommands::ChangeNodes(void (TEgoNetModel::*change)(), const QString& step)
{
    if (Model().NodeCount() == 0)
        return;
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    (Model().*change)();
    Edited(step);
}

void TGraphCommands::FreezeNodes()
{
    ChangeNodes(&TEgoNetModel::FreezeSelected, QStringLiteral("Freeze Persons"));
}

void TGraphCommands::UnfreezeNodes()
{
    ChangeNodes(&TEgoNetModel::UnfreezeSelected, QStringLiteral("Unfreeze Persons"));
}

void TGraphCommands::UnfreezeAll()
{
    ChangeNodes(&TEgoNetModel::UnfreezeAll, QStringLiteral("Unfreeze All"));
}

// Links

TEgoNetEdge* TGraphCommands::CreateLink(TOrganizedNode* a, TOrganizedNode* b)
{
    TEgoNetModel& model = Model();
    // A graph's first link is directed; later ones follow the links that are there.
    const bool directed = model.ShownLinkCount() == 0 || model.AnyDirected();
    // The node selected first is the source; at the same moment the later one in the model.
    TOrganizedNode* source = a;
    TOrganizedNode* target = b;
    if (a->SelectTime >= b->SelectTime)
        std::swap(source, target);
    TEgoNetEdge* link = model.NewLink(source, target, model.DefaultLinkType(), model.NextLinkName());
    link->Directed = directed;
    FView.CurrentLink = link;
    link->SetSelected(true);
    QStringList names;
    model.LinkAttrNames(names);
    link->Attributes.AddNames(names);
    link->ApplyDefaults(FView.Settings());
    FView.PlaySoundEffect(kBeep);
    return link;
}

void TGraphCommands::AddLink()
{
    TOrganizedNode* a = nullptr;
    TOrganizedNode* b = nullptr;
    if (!Model().TwoSelectedNodes(a, b) || a->IsGroup || b->IsGroup)
        return;
    if (::Cancelled(FView.OnAddingLink, &FView))
        return;
    // The handler may have changed the selection.
    if (!Model().TwoSelectedNodes(a, b) || a->IsGroup || b->IsGroup)
        return;
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    LinkAdded(CreateLink(a, b));
    RestartLayout();
}

void TGraphCommands::AddSelfLoop(TOrganizedNode* node)
{
    if (!node || !node->Selected() || node->IsGroup || Model().IndexOfNode(node) < 0)
        return;
    if (::Cancelled(FView.OnAddingLink, &FView) || Model().IndexOfNode(node) < 0)
        return;
    TEgoNetEdge* link = CreateLink(node, node);
    TEgoNetModel::PlaceSelfLoop(link, kSelfLoopLength);
    LinkAdded(link);
}

void TGraphCommands::LinkAdded(TEgoNetEdge* link)
{
    Edited(QStringLiteral("Add Link"));
    Repaint();
    RaiseSelect();
    // An OnSelect handler may have deleted the new link.
    if (Model().IndexOfLink(link) >= 0)
        Raise(FView.OnAddLink, &FView, link);
    ForgetDeleted();
}

void TGraphCommands::EditLink()
{
    ForgetDeleted();
    RequestEdit(FView.CurrentLink, FView.OnEditLinkRequest);
}

void TGraphCommands::ChangeLinks(const std::function<void(const TIntVector&)>& change, const QString& step)
{
    TIntVector links;
    if (Model().SelectedLinks(&links) == 0)
        return;
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    change(links);
    // Making links undirected removes duplicates.
    ForgetDeleted();
    Edited(step);
    FView.LinksChanged(false);
}

void TGraphCommands::ChangeLinkDirection()
{
    ChangeLinks([this](const TIntVector& links) {
        for (int32_t i = 0; i < links.Count(); ++i)
            Model().GetShownLink(links.Items(i))->SwapEnds();
    }, QStringLiteral("Change Link Direction"));
}

void TGraphCommands::MakeLinksUndirected()
{
    ChangeLinks([this](const TIntVector& links) { Model().MakeUndirected(&links); }, QStringLiteral("Make Links Undirected"));
}

void TGraphCommands::MakeLinksDirected()
{
    ChangeLinks([this](const TIntVector& links) { Model().MakeDirected(&links); }, QStringLiteral("Make Links Directed"));
}

void TGraphCommands::DeleteLinks()
{
    if (Model().SelectedLinkCount() == 0 || ::Cancelled(FView.OnDeletingLinks, &FView))
        return;
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    QList<TEgoNetEdge*> doomed;
    for (TEgoNetEdge* link : Model().ShownLinks())
        if (link->Selected())
            doomed.append(link);
    for (TEgoNetEdge* link : std::as_const(doomed))
        Model().DeleteShownLink(link);
    ForgetDeleted();
    Model().RebuildShownLinkTypes();
    Edited(QStringLiteral("Delete Links"));
    Repaint();
    Raise(FView.OnDeleteLinks, &FView);
    FView.LinksChanged(true);
}

void TGraphCommands::StraightenLinks()
{
    if (Model().NodeCount() == 0 || Model().ShownLinkCount() == 0)
        return;
    const auto busy = BusyCursor();
    FView.StraightenLinks(true);
    Edited(QStringLiteral("Straighten Links"));
}

// Groups

void TGraphCommands::CreateGroup()
{
    if (::Cancelled(FView.OnGroupingNodes, &FView))
        return;
    const auto busy = BusyCursor();
    FView.PlaySoundEffect(kDing);
    FView.PrepareEdit(true);
    TOrganizedNode* group = Model().GroupSelected(Model().NextGroupName(), FView.Settings());
    if (!group)
        return;
    Model().SelectAll(false);
    group->SetSelected(true);
    SetCurrentNode(group);
    ForgetDeleted();
    Edited(QStringLiteral("Create Group"));
    Repaint();
    Raise(FView.OnGroupNodes, &FView, group);
    RaiseSelect();
    RestartLayout();
}

void TGraphCommands::GroupsChanged(bool ungrouped, const QString& step)
{
    SetCurrentNode(nullptr);
    ForgetDeleted();
    Edited(step);
    FView.PlaySoundEffect(kBeep);
    Repaint();
    // The former group is gone; its handlers get no object that could be touched.
    if (ungrouped)
        Raise(FView.OnUnGroupNodes, &FView, nullptr);
    RaiseSelect();
    RestartLayout();
}

void TGraphCommands::ChangeSelectedGroup(void (TEgoNetModel::*change)(TEgoNetNode*), bool ungrouped, const QString& step)
{
    TOrganizedNode* group = Model().FirstSelectedNode();
    if (!group || !group->IsGroup)
        return;
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    (Model().*change)(group);
    GroupsChanged(ungrouped, step);
}

void TGraphCommands::Expand()
{
    ChangeSelectedGroup(&TEgoNetModel::Expand, false, QStringLiteral("Expand Group"));
}

void TGraphCommands::ExpandAll()
{
    if (Model().GroupCount() == 0 || Model().ExpandedGroupCount() >= Model().GroupCount())
        return;
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    Model().ExpandAll();
    GroupsChanged(false, QStringLiteral("Expand All"));
}

void TGraphCommands::CollapseAll()
{
    FView.PrepareEdit(true);
    const QList<TOrganizedNode*>& nodes = Model().Nodes();
    const int groups = Model().GroupCount();
    TOrganizedNode* single = nullptr;
    for (TOrganizedNode* group : nodes) {
        if (!group->IsGroup)
            continue;
        // A group inside another group stays hidden.
        group->Visible = !group->HasGroups();
        group->SetSelected(group->Visible && groups == 1);
        group->Enabled = group->Visible;
        group->Expanded = false;
        for (TOrganizedNode* member : nodes) {
            if (member != group && member->InGroup(group->ID)) {
                member->Enabled = false;
                member->Visible = false;
                member->SetSelected(false);
            }
        }
        if (groups == 1)
            single = group;
    }
    Model().UpdateLinkSelection();
    SetCurrentNode(single);
}

void TGraphCommands::CollapseAllGroups()
{
    if (Model().NodeCount() == 0 || Model().GroupCount() == 0)
        return;
    const auto busy = BusyCursor();
    CollapseAll();
    Edited(QStringLiteral("Collapse All"));
    FView.PlaySoundEffect(kDing);
    Repaint();
    RaiseSelect();
    RestartLayout();
}

void TGraphCommands::Ungroup()
{
    ChangeSelectedGroup(&TEgoNetModel::Ungroup, true, QStringLiteral("Ungroup"));
}

void TGraphCommands::UngroupAll()
{
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    Model().UngroupAll();
    GroupsChanged(true, QStringLiteral("Ungroup All"));
}

// Selection and structure

void TGraphCommands::SelectNearest()
{
    const auto busy = BusyCursor();
    ForgetDeleted();
    if (const TOrganizedNode* current = FView.CurrentNode) {
        for (TEgoNetEdge* link : Model().ShownLinks()) {
            if (link->IsSelfLoop())
                continue;
            if (link->Source == current)
                link->Target->SetSelected(true);
            else if (link->Target == current)
                link->Source->SetSelected(true);
        }
    }
    Model().UpdateLinkSelection();
    Repaint();
    RaiseSelect();
}

bool TGraphCommands::ConnectAll(bool ask)
{
    TIntVector selected;
    const int count = Model().SelectedNodes(&selected);
    if (count < 2)
        return false;
    if (ask && count > kLargeClique) {
        const QString question = QStringLiteral("It may take minutes to connect all %1 nodes to each other.\r\n\r\n"
                                                "Are you sure you want to create such a clique?")
                                     .arg(count);
        if (UserDialogs().Ask(question, TMessageKind::Information, {QStringLiteral("Yes"), QStringLiteral("No")}) != 1)
            return false;
        // The question's event loop may have let the selection change.
        if (Model().SelectedNodes(&selected) < 2)
            return false;
    }
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    Model().ConnectAll(&selected, Model().AnyDirected());
    Model().UpdateLinkSelection();
    Edited(QStringLiteral("Connect All"));
    return true;
}

void TGraphCommands::ConnectAllNodes()
{
    if (Model().SelectedNodeCount() < 2)
        return;
    if (!ConnectAll(true))
        return;
    Repaint();
    RaiseSelect();
    RestartLayout();
}

void TGraphCommands::Combine()
{
    const auto busy = BusyCursor();
    FView.PrepareEdit(true);
    if (Model().NodeCount() > 0) {
        Model().Combine();
        ForgetDeleted();
        FView.UpdateCurrent();
        Edited(QStringLiteral("Combine"));
        Repaint();
        RestartLayout();
    }
    Raise(FView.OnCombine, &FView);
    RaiseSelect();
}

void TGraphCommands::SelectAll()
{
    const auto busy = BusyCursor();
    Model().SelectAll(true);
    Repaint();
    RaiseSelect();
}

void TGraphCommands::DisplaySettings()
{
    Raise(FView.OnDisplaySettingsRequest, &FView);
}

// The clipboard

bool TGraphCommands::CopyToClipboard()
{
    if (Model().NodeCount() == 0 || Model().SelectedNodeCount() == 0)
        return false;
    FBuffer.clear();
    QBuffer stream(&FBuffer);
    stream.open(QIODevice::WriteOnly);
    Model().WriteSelection(stream);
    if (!FBuffer.isEmpty())
        TGraphClipboard::Put(FBuffer);
    return true;
}

void TGraphCommands::PasteFromClipboard()
{
    if (!TGraphClipboard::HasGraph())
        return;
    auto busy = BusyCursor();
    FView.PrepareEdit(true);
    Model().SelectAll(false);
    FBuffer = TGraphClipboard::Get();
    QBuffer stream(&FBuffer);
    stream.open(QIODevice::ReadOnly);
    // What was read before a damaged part stays, and is shown like a whole paste.
    QString error;
    try {
        Model().ReadModel(stream, true);
    } catch (const EStreamError& e) {
        error = e.Message();
    }
    Model().NormalizeNodeAttrs();
    Model().NormalizeLinkAttrs();
    Edited(QStringLiteral("Paste"));
    ForgetDeleted();
    Repaint();
    busy.reset();
    Raise(FView.OnAddNode, &FView, nullptr);
    RaiseSelect();
    if (!error.isEmpty())
        UserDialogs().Show(error, TMessageKind::Warning);
}

void TGraphCommands::Cut()
{
    if (Model().NodeCount() == 0 || (Model().SelectedNodeCount() == 0 && Model().SelectedLinkCount() == 0))
        return;
    CopyToClipboard();
    DeleteNodes();
    Edited(QStringLiteral("Cut"));
}

void TGraphCommands::Copy()
{
    if (Model().NodeCount() == 0 || Model().SelectedNodeCount() == 0)
        return;
    const auto busy = BusyCursor();
    CopyToClipboard();
}
