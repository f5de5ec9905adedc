#pragma once

#include "view/TGraphEvents.h"

#include <QByteArray>
#include <QPoint>

#include <functional>

class TEgoNetEdge;
class TEgoNetGraphDisplay;
class TEgoNetNode;
class TEgoNetObject;
class TEgoNetModel;
class TIntVector;
class TOrganizedNode;

// The editing commands of the graph view: the items of its context menu, the keys and gestures
// that end in them, and cut, copy and paste. A command checks its preconditions, lets the owner
// cancel through the view's -ing event, prepares the edit, changes the model, plays its sound,
// repaints and reports through the view's events, in that order.
class TGraphCommands
{
public:
    explicit TGraphCommands(TEgoNetGraphDisplay& view);

    // The commands, in menu order.
    void AddNode();
    void EditNode();
    void DisableNodes();
    void DeleteNodes();
    void FreezeNodes();
    void UnfreezeNodes();
    void UnfreezeAll();
    void AddLink();
    void EditLink();
    void ChangeLinkDirection();
    void MakeLinksUndirected();
    void MakeLinksDirected();
    void DeleteLinks();
    void StraightenLinks();
    void CreateGroup();
    void Expand();
    void ExpandAll();
    void CollapseAllGroups();
    void Ungroup();
    void UngroupAll();
    void SelectNearest();
    void ConnectAllNodes();
    void Combine();
    void Cut();
    void Copy();
    void SelectAll();
    void DisplaySettings();

    // The operations behind them.
    // A link between a and b, from the one selected earlier; current, selected and in its
    // default look.
    TEgoNetEdge* CreateLink(TOrganizedNode* a, TOrganizedNode* b);
    void AddSelfLoop(TOrganizedNode* node);
    // A node at the point with the next default caption, every attribute name of the network and
    // the default look.
    TOrganizedNode* NewDefaultNode(QPoint at);
    void CollapseAll();
    // Links every two selected nodes; with ask, more than 120 nodes need the user's yes. False
    // when nothing was done.
    bool ConnectAll(bool ask);
    // False (and the clipboard untouched) without a selected node.
    bool CopyToClipboard();
    void PasteFromClipboard();

    // The view's current node and link become none when they are no longer in the model: an
    // event handler may have deleted them.
    void ForgetDeleted();

private:
    TEgoNetModel& Model();
    void SetCurrentNode(TOrganizedNode* node);
    // Every edit of what a file would save ends here, named for the user.
    void Edited(const QString& step);
    void RestartLayout();
    void RequestEdit(TEgoNetObject* current, const TObjectEvent& request);
    // What follows a new link: repaint, OnSelect, OnAddLink.
    void LinkAdded(TEgoNetEdge* link);
    // The frame of the node and link commands that change the selected objects in place.
    void ChangeNodes(void (TEgoNetModel::*change)(), const QString& step);
    void ChangeLinks(const std::function<void(const TIntVector&)>& change, const QString& step);
    void Repaint();
    void RaiseSelect();
    // Expands or dissolves the first selected node, when it is a group.
    void ChangeSelectedGroup(void (TEgoNetModel::*change)(TEgoNetNode*), bool ungrouped, const QString& step);
    // The common tail of expanding and dissolving: no current node, a beep, repaint, events.
    void GroupsChanged(bool ungrouped, const QString& step);

    TEgoNetGraphDisplay& FView;
    // The last block copied or pasted.
    QByteArray FBuffer;
};
