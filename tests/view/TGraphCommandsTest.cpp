#include "view/ViewTestSupport.h"

#include "common/ScriptedDialogs.h"
#include "foundation/DateTime.h"
#include "view/TCursorMan.h"
#include "view/TGraphClipboard.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <limits>

namespace {

class CommandsTest : public ViewTest
{
protected:
    CommandsTest() { QGuiApplication::clipboard()->clear(); }

    void Select(std::initializer_list<TOrganizedNode*> nodes)
    {
        model().SelectAll(false);
        for (TOrganizedNode* node : nodes)
            node->SetSelected(true);
        model().UpdateLinkSelection();
    }
};

TEST_F(CommandsTest, AddNodeAsksTheOwnerFirst)
{
    LogEvents(true);
    bool busyWhileAsked = true;
    view.OnAddingNode = [&](QObject*, bool& handled) {
        busyWhileAsked = IsBusy();
        handled = true;
    };
    commands().AddNode();
    EXPECT_EQ(model().NodeCount(), 0);
    EXPECT_FALSE(busyWhileAsked) << "the hourglass comes only after the owner agreed";

    TOrganizedNode* old = AddNode({10, 10}, "old");
    old->Attributes.AddAttribute("age", "30");
    LogEvents();
    view.InsertPoint = QPoint(70, 80);
    commands().AddNode();
    ASSERT_EQ(model().NodeCount(), 2);
    TOrganizedNode* made = model().GetNode(1);
    EXPECT_EQ(made->Position, QPoint(70, 80));
    EXPECT_EQ(view.CurrentNode, made);
    EXPECT_TRUE(made->Selected());
    EXPECT_FALSE(old->Selected());
    QString age;
    EXPECT_TRUE(made->Attributes.GetValue("age", age));
    EXPECT_EQ(age, "na");
    EXPECT_EQ(events, QStringList({"AddingNode", "AddNode(" + made->Caption() + ")", "Select"}));
}

TEST_F(CommandsTest, NewLinksRunFromTheNodeSelectedFirstAndFollowTheGraphsDirection)
{
    TOrganizedNode* a = AddNode({50, 50}, "A");
    TOrganizedNode* b = AddNode({150, 50}, "B");
    TOrganizedNode* c = AddNode({250, 50}, "C");
    LogEvents();
    b->SetSelected(true);
    a->SetSelected(true);
    a->SelectTime = b->SelectTime + 1.0 / 86400;
    commands().AddLink();
    ASSERT_EQ(model().LinkCount(), 1);
    TEgoNetEdge* first = model().GetLink(0);
    EXPECT_EQ(first->Source, b);
    EXPECT_TRUE(first->Directed) << "a graph's first link is directed";
    EXPECT_EQ(first->TypeName(), "is_linked_to");
    EXPECT_EQ(events, QStringList({"AddingLink", "Select", "AddLink(" + first->Caption() + ")"}));

    // At the same moment the later node in the model is the source; undirected links beget
    // undirected ones; the filter's first type wins unless it holds the standard type.
    first->Directed = false;
    model().ShownLinkTypes = QStringList({"friend", "work"});
    Select({a, c});
    c->SelectTime = a->SelectTime;
    commands().AddLink();
    TEgoNetEdge* second = model().GetLink(1);
    EXPECT_EQ(second->Source, c);
    EXPECT_FALSE(second->Directed);
    EXPECT_EQ(second->TypeName(), "friend");
    EXPECT_EQ(commands().CreateLink(b, c)->TypeName(), "friend");
    model().ShownLinkTypes = QStringList({"work", "IS_LINKED_TO"});
    EXPECT_EQ(commands().CreateLink(b, c)->TypeName(), "is_linked_to");
}

TEST_F(CommandsTest, ConnectAllAsksAboveOneHundredAndTwentyNodes)
{
    TScriptedDialogs dialogs;
    for (int i = 0; i < 121; ++i)
        AddNode({i, i});
    model().SelectAll(true);
    dialogs.Answer(2);
    commands().ConnectAllNodes();
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].Text, "It may take minutes to connect all 121 nodes to each other.\r\n\r\n"
                                          "Are you sure you want to create such a clique?");
    EXPECT_EQ(dialogs.Messages()[0].Captions, QStringList({"Yes", "No"}));
    EXPECT_EQ(model().LinkCount(), 0);

    model().GetNode(0)->SetSelected(false);
    commands().ConnectAllNodes();
    EXPECT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(model().LinkCount(), 120 * 119 / 2);
    EXPECT_FALSE(model().AnyDirected()) << "a graph without links gets undirected ones";
}

TEST_F(CommandsTest, CollapseAllMakesASingleGroupCurrent)
{
    TOrganizedNode* a = AddNode({50, 50}, "A");
    TOrganizedNode* b = AddNode({150, 50}, "B");
    Select({a});
    TOrganizedNode* first = model().GroupSelected("G1", view.Settings());
    model().Expand(first);
    commands().CollapseAllGroups();
    EXPECT_TRUE(first->Selected());
    EXPECT_EQ(view.CurrentNode, first);
    EXPECT_FALSE(a->Visible);

    Select({b});
    TOrganizedNode* second = model().GroupSelected("G2", view.Settings());
    model().ExpandAll();
    commands().CollapseAllGroups();
    EXPECT_EQ(model().SelectedNodeCount(), 0);
    EXPECT_EQ(view.CurrentNode, nullptr);
    EXPECT_FALSE(second->Expanded);
}

TEST_F(CommandsTest, NodeStateCommands)
{
    TOrganizedNode* a = AddNode({50, 50}, "A");
    TOrganizedNode* b = AddNode({150, 50}, "B");
    TOrganizedNode* c = AddNode({250, 50}, "C");
    view.SetIsChanged(false);
    LogEvents();
    Select({a, b});
    commands().FreezeNodes();
    EXPECT_FALSE(a->Movable);
    EXPECT_FALSE(b->Movable);
    EXPECT_TRUE(view.IsChanged());
    EXPECT_TRUE(events.isEmpty()) << "freezing raises nothing";
    commands().UnfreezeAll();
    EXPECT_TRUE(a->Movable && b->Movable);

    // Each selected node is inverted on its own.
    b->Enabled = false;
    commands().DisableNodes();
    EXPECT_FALSE(a->Enabled);
    EXPECT_TRUE(b->Enabled);
    EXPECT_FALSE(a->Selected()) << "disabled nodes hidden from view leave the selection";
    EXPECT_EQ(events, QStringList({"DisablingNodes", "DisableNodes", "Select"}));

    // Consecutive selected nodes all go; a deleted current node is forgotten.
    events.clear();
    Select({a, b});
    view.CurrentNode = b;
    commands().DeleteNodes();
    EXPECT_EQ(model().NodeCount(), 1);
    EXPECT_EQ(model().GetNode(0), c);
    EXPECT_EQ(view.CurrentNode, nullptr);
    EXPECT_EQ(events, QStringList({"DeletingNodes", "DeleteNodes", "Select"}));
}

TEST_F(CommandsTest, LinkCommands)
{
    TOrganizedNode* a = AddNode({50, 50}, "A");
    TOrganizedNode* b = AddNode({150, 50}, "B");
    TOrganizedNode* c = AddNode({250, 50}, "C");
    TEgoNetEdge* work = Connect(a, b, "work");
    Connect(b, c, "friend");
    model().SetShownLinkTypes({"work", "friend"});
    LogEvents();
    Select({a, b});
    commands().ChangeLinkDirection();
    EXPECT_EQ(work->Source, b);
    EXPECT_EQ(events, QStringList({"SelectEdgeTypes", "Select"}));

    events.clear();
    view.CurrentLink = work;
    commands().DeleteLinks();
    EXPECT_EQ(model().LinkCount(), 1);
    EXPECT_EQ(view.CurrentLink, nullptr);
    EXPECT_EQ(model().ShownLinkTypes, QStringList{"friend"});
    EXPECT_EQ(events, QStringList({"DeletingLinks", "DeleteLinks", "SelectEdgeTypes", "Select"}));

    // The nearest nodes of an unselected current node are selected without it.
    Select({});
    view.CurrentNode = b;
    commands().SelectNearest();
    EXPECT_TRUE(c->Selected());
    EXPECT_FALSE(b->Selected());
}

TEST_F(CommandsTest, UngroupDeletesTheGroupAndHandsOutNoObject)
{
    TOrganizedNode* a = AddNode({50, 50}, "A");
    Select({a});
    commands().CreateGroup();
    ASSERT_EQ(model().GroupCount(), 1);
    TOrganizedNode* group = model().GetNode(1);
    EXPECT_EQ(view.CurrentNode, group);
    LogEvents();
    commands().Ungroup();
    EXPECT_EQ(model().NodeCount(), 1);
    EXPECT_EQ(view.CurrentNode, nullptr);
    EXPECT_EQ(events, QStringList({"UnGroupNodes()", "Select"}));
}

TEST_F(CommandsTest, CopyAndPasteThroughTheClipboard)
{
    TOrganizedNode* a = AddNode({50, 50}, "A");
    TOrganizedNode* b = AddNode({150, 50}, "B");
    AddNode({250, 50}, "C");
    Connect(a, b);
    EXPECT_FALSE(commands().CopyToClipboard()) << "nothing selected";
    EXPECT_FALSE(TGraphClipboard::HasGraph());

    Select({a, b});
    EXPECT_TRUE(commands().CopyToClipboard());
    ASSERT_TRUE(TGraphClipboard::HasGraph());
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(
        "application/x-qt-windows-mime;value=\"CF_ENGRAPH\""));

    LogEvents();
    commands().PasteFromClipboard();
    ASSERT_EQ(model().NodeCount(), 5);
    ASSERT_EQ(model().LinkCount(), 2);
    TOrganizedNode* copy = model().GetNode(3);
    EXPECT_EQ(copy->Position, QPoint(60, 60));
    EXPECT_NE(copy->ID, a->ID);
    EXPECT_EQ(model().GetLink(1)->Source, copy);
    EXPECT_EQ(model().SelectedNodeCount(), 2) << "the pasted nodes are the selection";
    EXPECT_EQ(events, QStringList({"AddNode()", "Select"}));
    EXPECT_FALSE(IsBusy());
}

TEST_F(CommandsTest, CutOfLinksAloneDeletesNoNodeButRaisesTheDeleteEvents)
{
    TOrganizedNode* a = AddNode({50, 50}, "A");
    TOrganizedNode* b = AddNode({150, 50}, "B");
    Connect(a, b)->SetSelected(true);
    LogEvents();
    commands().Cut();
    EXPECT_FALSE(TGraphClipboard::HasGraph());
    EXPECT_EQ(model().NodeCount(), 2);
    EXPECT_EQ(events, QStringList({"DeletingNodes", "DeleteNodes", "Select"}));
}

TEST_F(CommandsTest, PasteTakesOnlyTheBlockAndSurvivesBadData)
{
    TOrganizedNode* far = AddNode({std::numeric_limits<int32_t>::max() - 5, 40}, "far");
    Select({far});
    commands().CopyToClipboard();
    // The platform may hand back the block with zeros after it.
    QByteArray padded = TGraphClipboard::Get() + QByteArray(64, '\0');
    TGraphClipboard::Put(padded);
    commands().PasteFromClipboard();
    ASSERT_EQ(model().NodeCount(), 2);
    EXPECT_EQ(model().GetNode(1)->Position, QPoint(std::numeric_limits<int32_t>::max(), 50));

    // A damaged block keeps what was read and says what went wrong.
    TScriptedDialogs dialogs;
    TGraphClipboard::Put(padded.left(padded.size() / 2 - 64));
    commands().PasteFromClipboard();
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].Kind, TMessageKind::Warning);
    EXPECT_FALSE(IsBusy());

    QGuiApplication::clipboard()->setText("not a graph");
    const int before = model().NodeCount();
    commands().PasteFromClipboard();
    EXPECT_EQ(model().NodeCount(), before);
}

TEST_F(CommandsTest, MenuEnablingFollowsTheSelection)
{
    TOrganizedNode* a = AddNode({50, 50}, "A");
    TOrganizedNode* b = AddNode({150, 50}, "B");
    using enum TGraphMenuItem;
    const auto enabled = [&](TGraphMenuItem item) {
        menu().UpdateEnabling();
        return menu().Item(item)->isEnabled();
    };
    EXPECT_TRUE(enabled(TGraphMenuItem::AddNode));
    EXPECT_FALSE(enabled(Copy));
    EXPECT_FALSE(enabled(GeneralProperties)) << "no handler";
    view.OnDisplaySettingsRequest = [](QObject*) {};
    EXPECT_TRUE(enabled(GeneralProperties));
    EXPECT_FALSE(enabled(ItemProperties));

    Select({a, b});
    EXPECT_TRUE(enabled(AddLink));
    EXPECT_TRUE(enabled(Combine));
    EXPECT_TRUE(enabled(ItemProperties));
    EXPECT_FALSE(enabled(UnfreezeNodes));
    a->Movable = false;
    EXPECT_TRUE(enabled(UnfreezeNodes));
    EXPECT_TRUE(enabled(NodePosition));
    TEgoNetEdge* link = Connect(a, b);
    link->SetSelected(true);
    EXPECT_FALSE(enabled(AddLink)) << "already linked";
    EXPECT_EQ(view.CurrentLink, link) << "the one selected link becomes current";
    EXPECT_TRUE(enabled(LinkDirection));
    view.SetShowDirections(false);
    EXPECT_FALSE(enabled(ChangeDirection));
    EXPECT_FALSE(enabled(EditNode)) << "no handler";
    EXPECT_FALSE(enabled(Paste));
    commands().CopyToClipboard();
    EXPECT_TRUE(enabled(Paste));
}

} // namespace

namespace {

TEST_F(CommandsTest, MenuItemsRunTheirCommands)
{
    TOrganizedNode* a = AddNode({50, 50}, "A");
    TOrganizedNode* b = AddNode({150, 50}, "B");
    LogEvents();
    QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(300, 200));
    ASSERT_TRUE(MenuShown());
    menu().Item(TGraphMenuItem::SelectAll)->trigger();
    EXPECT_TRUE(a->Selected() && b->Selected());
    menu().Item(TGraphMenuItem::AddLink)->trigger();
    EXPECT_EQ(model().LinkCount(), 0) << "disabled when the menu opened";
    QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(300, 200));
    menu().Item(TGraphMenuItem::AddLink)->trigger();
    EXPECT_EQ(model().LinkCount(), 1);
    menu().Item(TGraphMenuItem::AddNode)->trigger();
    ASSERT_EQ(model().NodeCount(), 3);
    EXPECT_EQ(model().GetNode(2)->Position, QPoint(300, 200)) << "where the menu was opened";
    menu().Item(TGraphMenuItem::ItemProperties)->trigger();
    EXPECT_EQ(events.last(), "DisplaySettings");
}

} // namespace
