#pragma once

#include <QPoint>

#include <array>

class QAction;
class QMenu;
class TEgoNetGraphDisplay;
class TGraphCommands;

// The items of the view's context menu, in menu order. Node(s) position, Link(s) Direction and
// Group open submenus holding the items that follow them.
enum class TGraphMenuItem {
    AddNode,
    EditNode,
    DisableNodes,
    DeleteNodes,
    NodePosition,
    FreezeNodes,
    UnfreezeNodes,
    UnfreezeAll,
    AddLink,
    EditLink,
    LinkDirection,
    ChangeDirection,
    MakeUndirected,
    MakeDirected,
    DeleteLinks,
    StraightenLinks,
    Group,
    CreateGroup,
    Expand,
    ExpandAll,
    CollapseAll,
    Ungroup,
    UngroupAll,
    SelectNearest,
    ConnectAll,
    Combine,
    Cut,
    Copy,
    Paste,
    SelectAll,
    GeneralProperties,
    ItemProperties,
    Count
};

// The view's context menu. Its items' enabling is computed each time it opens, and the keys
// act only while their item was enabled then: before the first opening every item counts as
// enabled.
class TGraphPopupMenu
{
public:
    TGraphPopupMenu(TEgoNetGraphDisplay& view, TGraphCommands& commands);
    ~TGraphPopupMenu();
    TGraphPopupMenu(const TGraphPopupMenu&) = delete;
    TGraphPopupMenu& operator=(const TGraphPopupMenu&) = delete;

    QMenu& Menu() const { return *FMenu; }
    QAction* Item(TGraphMenuItem item) const { return FItems[size_t(item)]; }
    // Computes the enabling, then shows the menu at the screen point without waiting for it.
    void Popup(QPoint globalPos);
    // Also makes the one selected shown link current (none unless exactly one is selected).
    void UpdateEnabling();
    bool Enabled(TGraphMenuItem item) const;
    bool HasOpened() const { return FOpened; }

private:
    void Build(TGraphCommands& commands);

    TEgoNetGraphDisplay& FView;
    QMenu* FMenu;
    std::array<QAction*, size_t(TGraphMenuItem::Count)> FItems{};
    bool FOpened = false;
};
