#include "view/TGraphPopupMenu.h"

#include "foundation/TNumericVector.h"
#include "view/TEgoNetGraphDisplay.h"
#include "view/TGraphClipboard.h"
#include "view/TGraphCommands.h"

#include <QAction>
#include <QMenu>

#include <functional>

TGraphPopupMenu::TGraphPopupMenu(TEgoNetGraphDisplay& view, TGraphCommands& commands)
    : FView(view)
    , FMenu(new QMenu(&view))
{
    Build(commands);
}

// The menu is the view's child and goes with it.
TGraphPopupMenu::~TGraphPopupMenu() = default;

void TGraphPopupMenu::Build(TGraphCommands& commands)
{
    using enum TGraphMenuItem;
    QMenu* menu = FMenu;
    // The text after the tab is the shortcut shown; only the view's own keys act.
    const auto add = [&](TGraphMenuItem item, const QString& text, void (TGraphCommands::*command)()) {
        QAction* action = menu->addAction(text);
        QObject::connect(action, &QAction::triggered, FMenu, [&commands, command] { std::invoke(command, commands); });
        FItems[size_t(item)] = action;
    };
    const auto submenu = [&](TGraphMenuItem item, const QString& text) {
        menu = FMenu->addMenu(text);
        FItems[size_t(item)] = menu->menuAction();
    };
    const auto back = [&] { menu = FMenu; };

    add(AddNode, QStringLiteral("Add node\tF5"), &TGraphCommands::AddNode);
    add(EditNode, QStringLiteral("Edit node\tF2"), &TGraphCommands::EditNode);
    add(DisableNodes, QStringLiteral("Disable/Enable node(s)\tDEL"), &TGraphCommands::DisableNodes);
    add(DeleteNodes, QStringLiteral("Delete node(s)"), &TGraphCommands::DeleteNodes);
    submenu(NodePosition, QStringLiteral("Node(s) position"));
    add(FreezeNodes, QStringLiteral("Freeze node(s)"), &TGraphCommands::FreezeNodes);
    add(UnfreezeNodes, QStringLiteral("Unfreeze node(s)"), &TGraphCommands::UnfreezeNodes);
    add(UnfreezeAll, QStringLiteral("Unfreeze All"), &TGraphCommands::UnfreezeAll);
    back();
    FMenu->addSeparator();
    add(AddLink, QStringLiteral("Add link\tF7"), &TGraphCommands::AddLink);
    add(EditLink, QStringLiteral("Edit link\tF2"), &TGraphCommands::EditLink);
    submenu(LinkDirection, QStringLiteral("Link(s) Direction"));
    add(ChangeDirection, QStringLiteral("Change link(s) direction"), &TGraphCommands::ChangeLinkDirection);
    add(MakeUndirected, QStringLiteral("Make link(s) undirected"), &TGraphCommands::MakeLinksUndirected);
    add(MakeDirected, QStringLiteral("Make link(s) directed"), &TGraphCommands::MakeLinksDirected);
    back();
    add(DeleteLinks, QStringLiteral("Delete link(s)"), &TGraphCommands::DeleteLinks);
    add(StraightenLinks, QStringLiteral("Straighten out links\tF6"), &TGraphCommands::StraightenLinks);
    FMenu->addSeparator();
    submenu(Group, QStringLiteral("Group"));
    add(CreateGroup, QStringLiteral("Create\tF8"), &TGraphCommands::CreateGroup);
    add(Expand, QStringLiteral("Expand"), &TGraphCommands::Expand);
    add(ExpandAll, QStringLiteral("Expand All"), &TGraphCommands::ExpandAll);
    add(CollapseAll, QStringLiteral("Collapse All"), &TGraphCommands::CollapseAllGroups);
    add(Ungroup, QStringLiteral("Ungroup"), &TGraphCommands::Ungroup);
    add(UngroupAll, QStringLiteral("Ungroup All"), &TGraphCommands::UngroupAll);
    back();
    add(SelectNearest, QStringLiteral("Select nearest node(s)"), &TGraphCommands::SelectNearest);
    add(ConnectAll, QStringLiteral("Connect All"), &TGraphCommands::ConnectAllNodes);
    add(Combine, QStringLiteral("Combine"), &TGraphCommands::Combine);
    FMenu->addSeparator();
    add(Cut, QStringLiteral("Cut\tCtrl+X"), &TGraphCommands::Cut);
    add(Copy, QStringLiteral("Copy\tCtrl+C"), &TGraphCommands::Copy);
    add(Paste, QStringLiteral("Paste\tCtrl+V"), &TGraphCommands::PasteFromClipboard);
    add(SelectAll, QStringLiteral("Select All\tCtrl+A"), &TGraphCommands::SelectAll);
    FMenu->addSeparator();
    add(GeneralProperties, QStringLiteral("General properties\tF4"), &TGraphCommands::DisplaySettings);
    add(ItemProperties, QStringLiteral("Nodes/links properties (color, size etc.)\tF4"),
        &TGraphCommands::DisplaySettings);
}

void TGraphPopupMenu::UpdateEnabling()
{
    using enum TGraphMenuItem;
    FView.Commands().ForgetDeleted();
    const TEgoNetModel& model = FView.Model();
    TIntVector selectedLinks;
    const int links = model.SelectedLinks(&selectedLinks);
    FView.CurrentLink = links == 1 ? model.GetShownLink(selectedLinks.Items(0)) : nullptr;

    const int nodes = model.NodeCount();
    const int enabled = model.EnabledNodeCount();
    const int selected = model.SelectedNodeCount();
    const int groups = model.GroupCount();
    const int expanded = model.ExpandedGroupCount();
    const bool someFrozen = model.MovableNodeCount() < nodes;
    const TOrganizedNode* first = model.FirstSelectedNode();
    const bool oneGroup = enabled >= 1 && selected == 1 && first && first->IsGroup;
    TOrganizedNode* a = nullptr;
    TOrganizedNode* b = nullptr;
    const bool settingsWanted = bool(FView.OnDisplaySettingsRequest);
    const bool directions = FView.ShowDirections() && links >= 1;

    const auto set = [this](TGraphMenuItem item, bool value) { Item(item)->setEnabled(value); };
    const auto on = [this](TGraphMenuItem item) { return Item(item)->isEnabled(); };
    set(AddNode, true);
    set(EditNode, FView.OnEditNodeRequest && enabled >= 1 && selected >= 1 && FView.CurrentNode);
    set(DisableNodes, selected >= 1);
    set(DeleteNodes, enabled >= 1 && selected >= 1);
    set(FreezeNodes, selected >= 1);
    set(UnfreezeNodes, selected >= 1 && someFrozen);
    set(UnfreezeAll, enabled >= 1 && someFrozen);
    set(NodePosition, on(FreezeNodes) || on(UnfreezeNodes) || on(UnfreezeAll));
    set(AddLink, enabled >= 2 && selected == 2 && !model.TwoSelectedNodesLinked(a, b));
    set(EditLink, enabled >= 2 && links == 1);
    for (TGraphMenuItem item : {LinkDirection, ChangeDirection, MakeUndirected, MakeDirected})
        set(item, directions);
    set(DeleteLinks, enabled >= 2 && links >= 1);
    set(StraightenLinks, enabled >= 1 && model.ShownLinkCount() >= 1);
    set(Group, nodes >= 1 && selected >= 1);
    set(CreateGroup, nodes >= 1 && selected >= 1);
    set(Expand, oneGroup);
    set(ExpandAll, enabled >= 1 && groups >= 1 && expanded < groups);
    set(CollapseAll, expanded >= 1);
    set(Ungroup, oneGroup);
    set(UngroupAll, enabled >= 1 && groups >= 1);
    set(SelectNearest, enabled >= 2 && selected == 1);
    set(ConnectAll, enabled >= 2 && selected >= 2);
    set(Combine, enabled >= 2 && selected == 2);
    set(Cut, enabled >= 1 && selected >= 1);
    set(Copy, enabled >= 1 && selected >= 1);
    set(Paste, TGraphClipboard::HasGraph());
    set(SelectAll, enabled >= 1);
    set(GeneralProperties, settingsWanted && selected == 0 && links == 0);
    set(ItemProperties, settingsWanted && (selected >= 1 || links >= 1));
}

void TGraphPopupMenu::Popup(QPoint globalPos)
{
    UpdateEnabling();
    FOpened = true;
    FMenu->popup(globalPos);
}

bool TGraphPopupMenu::Enabled(TGraphMenuItem item) const
{
    return !FOpened || Item(item)->isEnabled();
}
