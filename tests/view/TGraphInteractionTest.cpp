#include "view/ViewTestSupport.h"

#include "common/ScriptedDialogs.h"

#include <QTimer>

namespace {

// Three persons: A and B linked along y = 100, C alone below them.
class InteractionTest : public ViewTest
{
protected:
    InteractionTest()
    {
        a = AddNode({100, 100}, "A");
        b = AddNode({300, 100}, "B");
        c = AddNode({200, 220}, "C");
        ab = Connect(a, b);
        model().SelectAll(false);
        view.SetIsChanged(false);
    }

    QStringList Selected()
    {
        QStringList names;
        for (TOrganizedNode* node : model().Nodes())
            if (node->Selected())
                names << node->Caption();
        return names;
    }

    TGraphInteraction& interaction() { return view.Interaction(); }

    TOrganizedNode* a;
    TOrganizedNode* b;
    TOrganizedNode* c;
    TEgoNetEdge* ab;
};

TEST_F(InteractionTest, HitTestsFindTheTopNodeTheLinkTheHandleAndGroups)
{
    TOrganizedNode* top = AddNode({105, 100}, "top");
    EXPECT_EQ(interaction().NodeAt({103, 100}), model().IndexOfNode(top));
    EXPECT_EQ(interaction().NodeAt({88, 100}), -1);
    EXPECT_EQ(interaction().LinkAt({200, 100}).Index, 0);
    EXPECT_EQ(interaction().LinkAt({200, 140}).Index, -1);

    // Only the one selected link has a handle: 6 x 6 around its middle, right and bottom open.
    EXPECT_EQ(interaction().HandleAt({200, 100}), nullptr);
    ab->SetSelected(true);
    EXPECT_EQ(interaction().HandleAt({197, 97}), ab);
    EXPECT_EQ(interaction().HandleAt({202, 102}), ab);
    EXPECT_EQ(interaction().HandleAt({203, 100}), nullptr);

    c->SetSelected(true);
    TOrganizedNode* group = model().GroupSelected("G", view.Settings());
    EXPECT_EQ(interaction().GroupAt(group->Position), group);
    EXPECT_EQ(interaction().GroupAt({100, 100}), nullptr);
}

TEST_F(InteractionTest, ClicksSelectAloneKeepAMultipleSelectionAndShiftToggles)
{
    LogEvents();
    Click({100, 100});
    EXPECT_EQ(Selected(), QStringList{"A"});
    EXPECT_EQ(view.CurrentNode, a);
    EXPECT_EQ(events, QStringList{"Select"});

    Click({300, 100}, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), QStringList({"A", "B"}));
    EXPECT_TRUE(ab->Selected()) << "links follow the node selection";

    Click({100, 100});
    EXPECT_EQ(Selected(), QStringList({"A", "B"})) << "a click inside the selection keeps it";

    // Shift-click on a selected node deselects it, at the release.
    Press({300, 100}, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(b->Selected());
    Release({300, 100}, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), QStringList{"A"});
    EXPECT_FALSE(ab->Selected());

    Click({200, 220});
    EXPECT_EQ(Selected(), QStringList{"C"});

    // A click on a link selects it alone; Shift inverts it.
    Click({200, 100});
    EXPECT_TRUE(ab->Selected());
    EXPECT_EQ(Selected(), QStringList());
    EXPECT_EQ(view.CurrentLink, ab);
    Click({150, 100}, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_FALSE(ab->Selected());

    view.Interactive = false;
    Click({100, 100});
    EXPECT_FALSE(a->Selected());
}

TEST_F(InteractionTest, ShiftAltClickDeselectsTheNeighboursAndAltFreezes)
{
    model().SelectAll(true);
    LogEvents();
    Click({100, 100}, Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(Selected(), QStringList{"C"});
    EXPECT_FALSE(a->Movable);
    EXPECT_EQ(events, QStringList({"Select", "Select"}));
}

TEST_F(InteractionTest, CtrlClickTogglesEnabledAndNeverMovesTheNode)
{
    LogEvents();
    Press({100, 100}, Qt::LeftButton, Qt::ControlModifier);
    Drag({150, 150});
    Release({150, 150}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_FALSE(a->Enabled);
    EXPECT_EQ(a->Position, QPoint(100, 100));
    EXPECT_TRUE(view.IsChanged());
    EXPECT_EQ(events, QStringList({"Select", "DisablingNodes", "DisableNodes"}));

    // A node in a group takes an ordinary click.
    c->GroupIDs << "1234ABCD";
    events.clear();
    Click({200, 220}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(c->Enabled);
    EXPECT_EQ(events, QStringList{"Select"});
}

TEST_F(InteractionTest, CtrlClickCancelledByTheOwnerChangesNothing)
{
    LogEvents(true);
    Click({100, 100}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(a->Enabled);
    EXPECT_FALSE(view.IsChanged());
}

TEST_F(InteractionTest, NodeDragMovesSelectedMovableNodesAtTheRelease)
{
    // A release without a move event moves nothing.
    Press({100, 100});
    Release({140, 100});
    EXPECT_EQ(a->Position, QPoint(100, 100));

    Press({100, 100});
    Drag({120, 110});
    Drag({150, 130});
    EXPECT_EQ(a->Position, QPoint(100, 100)) << "only the rectangles move during the drag";
    EXPECT_FALSE(a->DragRect.IsEmpty());
    Release({150, 130});
    EXPECT_EQ(a->Position, QPoint(150, 130));
    EXPECT_TRUE(a->DragRect.IsEmpty());
    EXPECT_TRUE(view.IsChanged());

    // Alt-press freezes A inside a selection of A and B: B moves, A stays.
    Click({300, 100}, Qt::LeftButton, Qt::ShiftModifier);
    Press({150, 130}, Qt::LeftButton, Qt::AltModifier);
    ASSERT_FALSE(a->Movable);
    Drag({160, 130});
    Release({180, 150});
    EXPECT_EQ(a->Position, QPoint(150, 130));
    EXPECT_EQ(b->Position, QPoint(330, 120));
}

TEST_F(InteractionTest, RubberBandSelectsTheVisibleNodesWhoseCentreItHolds)
{
    TOrganizedNode* hidden = AddNode({120, 120}, "hidden");
    hidden->Visible = false;
    LogEvents();
    Press({50, 50});
    Drag({150, 200});
    Drag({250, 250});
    Release({250, 250});
    EXPECT_EQ(Selected(), QStringList({"A", "C"}));
    EXPECT_EQ(events, QStringList{"Select"});

    // Starting a band on empty space clears the selection at once.
    events.clear();
    Press({390, 290});
    EXPECT_EQ(Selected(), QStringList());
    Release({390, 290});
    EXPECT_EQ(events, QStringList{"Select"});
}

TEST_F(InteractionTest, DroppingNodesOntoAGroupAddsThemOnlyWhenTheOwnerAgrees)
{
    c->SetSelected(true);
    TOrganizedNode* group = model().GroupSelected("G", view.Settings());
    model().SelectAll(false);
    const QPoint target = group->Position;
    const auto dragAOnto = [&] {
        Press(a->Position);
        Drag(a->Position + QPoint(10, 10));
        Drag(target);
        Release(target);
    };

    dragAOnto();
    EXPECT_FALSE(a->InGroup(group->ID)) << "no handler, nothing added";

    TEgoNetObject* offered = nullptr;
    view.OnAddingToGroup = [&](QObject*, TEgoNetObject* dropped, TEgoNetObject* onto, bool& handled) {
        EXPECT_EQ(dropped, nullptr);
        EXPECT_TRUE(handled) << "the flag starts true";
        offered = onto;
        handled = false;
    };
    model().SelectAll(false);
    a->Position = QPoint(100, 100);
    dragAOnto();
    EXPECT_EQ(offered, group);
    EXPECT_TRUE(a->InGroup(group->ID));
    EXPECT_TRUE(group->Selected());
}

TEST_F(InteractionTest, HandleDragMovesTheLinksMiddle)
{
    Click({200, 100});
    ASSERT_TRUE(ab->Selected());
    Press({200, 100});
    EXPECT_EQ(view.cursor().shape(), Qt::SizeAllCursor);
    Drag({200, 130});
    EXPECT_EQ(ab->MidPoint, QPoint(200, 130));
    Release({210, 150});
    EXPECT_EQ(ab->MidPoint, QPoint(210, 150));
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(view.IsChanged());
}

TEST_F(InteractionTest, RightDragFromNodeToNodeLinksThemFromTheStart)
{
    LogEvents();
    const QString name = model().NextLinkName();
    Press({300, 100}, Qt::RightButton);
    Drag({250, 160});
    Drag({200, 220});
    Release({200, 220}, Qt::RightButton);
    ASSERT_EQ(model().LinkCount(), 2);
    TEgoNetEdge* link = model().GetLink(1);
    EXPECT_EQ(link->Source, b);
    EXPECT_EQ(link->Target, c);
    EXPECT_EQ(events, QStringList({"Select", "AddingLink", "Select", "AddLink(" + name + ")", "Select"}));
    EXPECT_FALSE(MenuShown());
}

TEST_F(InteractionTest, RightDragToEmptySpaceCreatesTheEndNodeWithoutAddNodeEvents)
{
    LogEvents();
    const QString name = model().NextNodeName();
    Press({100, 100}, Qt::RightButton);
    Drag({350, 260});
    Release({350, 260}, Qt::RightButton);
    ASSERT_EQ(model().NodeCount(), 4);
    TOrganizedNode* made = model().GetNode(3);
    EXPECT_EQ(made->Position, QPoint(350, 260));
    EXPECT_EQ(made->Caption(), name);
    EXPECT_FALSE(events.contains("AddingNode"));
    ASSERT_EQ(model().LinkCount(), 2);
    EXPECT_EQ(model().GetLink(1)->Source, a);

    // The owner may refuse the link; the node stays.
    LogEvents(true);
    Press({100, 100}, Qt::RightButton);
    Drag({40, 260});
    Release({40, 260}, Qt::RightButton);
    EXPECT_EQ(model().NodeCount(), 5);
    EXPECT_EQ(model().LinkCount(), 2);
}

TEST_F(InteractionTest, RightDragBackOntoTheStartAsksForASelfLoop)
{
    TScriptedDialogs dialogs;
    dialogs.Answer(2);
    dialogs.Answer(1);
    const auto loopGesture = [&](QPoint start) {
        Press(start, Qt::RightButton);
        Drag(start + QPoint(40, 40));
        Drag(start);
        Release(start, Qt::RightButton);
    };
    loopGesture({100, 100});
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].Text, "Create self loop for A?");
    EXPECT_EQ(dialogs.Messages()[0].Captions, QStringList({"OK", "Cancel"}));
    EXPECT_EQ(model().LinkCount(), 1) << "Cancel creates nothing";

    loopGesture({100, 100});
    ASSERT_EQ(model().LinkCount(), 2);
    EXPECT_TRUE(model().GetLink(1)->IsSelfLoop());
    EXPECT_EQ(model().GetLink(1)->Source, a);

    // A group asks nothing and opens no menu.
    c->SetSelected(true);
    TOrganizedNode* group = model().GroupSelected("G", view.Settings());
    loopGesture(group->Position);
    EXPECT_EQ(dialogs.Messages().size(), 2);
    EXPECT_FALSE(MenuShown());
}

TEST_F(InteractionTest, ShortRightDragOpensTheMenuUnlessPopupsAreOff)
{
    Press({100, 100}, Qt::RightButton);
    Drag({103, 100});
    Release({103, 100}, Qt::RightButton);
    EXPECT_TRUE(MenuShown());
    EXPECT_EQ(model().LinkCount(), 1);
    menu().Menu().hide();

    view.ShowPopup = false;
    Click({30, 30}, Qt::RightButton);
    EXPECT_FALSE(MenuShown());
}

TEST_F(InteractionTest, DoubleClickEditsTheNodeOrLinkOrAddsANode)
{
    LogEvents();
    DoubleClick({100, 100});
    EXPECT_EQ(events.last(), "EditNode(A)");

    events.clear();
    DoubleClick({200, 100});
    EXPECT_EQ(events.last(), "EditLink()");

    events.clear();
    const QString name = model().NextNodeName();
    DoubleClick({60, 250});
    EXPECT_EQ(events, QStringList({"Select", "AddingNode", "AddNode(" + name + ")", "Select"}));
    EXPECT_EQ(model().GetNode(3)->Position, QPoint(60, 250));
}

TEST_F(InteractionTest, KeysRunTheirCommandsWhileTheirItemIsEnabled)
{
    LogEvents();
    Key(Qt::Key_F5);
    ASSERT_EQ(model().NodeCount(), 4);
    EXPECT_EQ(model().GetNode(3)->Position, QPoint(200, 150));
    EXPECT_TRUE(view.Blinking());

    // F2 with two nodes and their link selected edits the link.
    model().SelectAll(false);
    a->SetSelected(true);
    b->SetSelected(true);
    model().UpdateLinkSelection();
    events.clear();
    Key(Qt::Key_F2);
    EXPECT_EQ(events, QStringList{"EditLink()"});

    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(model().SelectedNodeCount(), 4);

    // Before the menu has opened every key acts; once it opened with nothing selected, Delete
    // no longer does.
    Key(Qt::Key_Delete);
    EXPECT_FALSE(a->Enabled);
    model().EnableAll(true);
    model().SelectAll(false);
    menu().Popup(view.mapToGlobal(QPoint(10, 10)));
    menu().Menu().hide();
    a->SetSelected(true);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(a->Enabled);
    EXPECT_FALSE(menu().Enabled(TGraphMenuItem::DisableNodes));
}

TEST_F(InteractionTest, HoverSetsTheCursorAndPulsesTheNode)
{
    view.Settings().Animation = true;
    Hover({100, 100});
    EXPECT_EQ(view.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(view.HoverIndex(), 0);
    Hover({200, 100});
    EXPECT_EQ(view.cursor().shape(), Qt::CrossCursor);
    Hover({200, 50});
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    ab->SetSelected(true);
    Hover({200, 100});
    EXPECT_EQ(view.cursor().shape(), Qt::SizeAllCursor);
}

TEST_F(InteractionTest, DragFeedbackIsPaintedOverThePicture)
{
    view.SetColor(0x00FFFFFF);
    Press({20, 20});
    Drag({150, 60});
    const QImage band = view.grab().toImage();
    EXPECT_NE(band.pixel(20, 40), QColor(Qt::white).rgb()) << "the band's left edge";
    Release({150, 60});
    EXPECT_EQ(view.grab().toImage().pixel(20, 40), QColor(Qt::white).rgb());

    Press({300, 100}, Qt::RightButton);
    Drag({300, 200});
    EXPECT_NE(view.grab().toImage().pixel(300, 150), QColor(Qt::white).rgb()) << "the link line";
    Release({300, 200}, Qt::RightButton);
}

// Event handlers may delete what a gesture holds; nothing of it may be touched afterwards.
TEST_F(InteractionTest, GesturesSurviveHandlersThatDeleteTheirObjects)
{
    view.OnSelect = [&](QObject*) {
        view.OnSelect = nullptr;
        view.Clear(false);
    };
    Press({100, 100});
    Drag({130, 130});
    Release({130, 130});
    EXPECT_EQ(view.CurrentNode, nullptr);
    EXPECT_EQ(model().NodeCount(), 0);

    // The drop group goes while its blink is shown.
    a = AddNode({100, 100}, "A");
    c = AddNode({200, 220}, "C");
    c->SetSelected(true);
    TOrganizedNode* group = model().GroupSelected("G", view.Settings());
    model().SelectAll(false);
    bool asked = false;
    view.OnAddingToGroup = [&](QObject*, TEgoNetObject*, TEgoNetObject*, bool&) { asked = true; };
    QTimer::singleShot(20, &view, [&] { model().DeleteNode(group); });
    Press({100, 100});
    Drag({110, 110});
    Drag(group->Position);
    Release({200, 220});
    EXPECT_FALSE(asked);
    EXPECT_EQ(model().NodeCount(), 2);
}

} // namespace
