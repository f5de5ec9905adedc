#include "foundation/TNumericVector.h"
#include "model/BuiltinPictures.h"
#include "model/TEgoNetModel.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

TIntVector Indexes(std::initializer_list<int> values)
{
    TIntVector v;
    for (int value : values)
        v.Append(value);
    return v;
}

std::vector<int> Offsets(const TEgoNetModel& model)
{
    std::vector<int> result;
    for (const TEgoNetEdge* link : model.ShownLinks())
        result.push_back(link->Offset);
    return result;
}

// Ann and Bob make the group: Ann -> Cy and Dan -> Bob lead outside, Ann -> Bob stays inside.
struct TNetwork
{
    TEgoNetModel model;
    TOrganizedNode* ann = model.NewNode(QPoint(100, 40), "Ann");
    TOrganizedNode* bob = model.NewNode(QPoint(200, 60), "Bob");
    TOrganizedNode* cy = model.NewNode(QPoint(400, 400), "Cy");
    TOrganizedNode* dan = model.NewNode(QPoint(20, 400), "Dan");
    TEgoNetEdge* annCy = model.NewLink(ann, cy, "friend", "");
    TEgoNetEdge* danBob = model.NewLink(dan, bob, "work", "");
    TEgoNetEdge* annBob = model.NewLink(ann, bob, "friend", "");

    TOrganizedNode* Group(std::initializer_list<TEgoNetNode*> members)
    {
        model.SelectAll(false);
        for (TEgoNetNode* member : members)
            member->SetSelected(true);
        return model.GroupSelected("G", TDisplayDefaults{});
    }
    // The one selected last survives a Combine.
    void SelectInTurn(TEgoNetNode* first, TEgoNetNode* last)
    {
        first->SetSelected(true);
        last->SetSelected(true);
        first->SelectTime = 1;
        last->SelectTime = 2;
    }
};

} // namespace

TEST(TEgoNetModelGroups, GroupingTwinsOnlyTheLinksThatLeaveTheGroup)
{
    TNetwork g;
    g.bob->Size = 16;
    g.annCy->Attributes.AddAttribute("since", "2010");
    g.model.NewLink(g.bob, g.ann, "family", ""); // inside too, from the later member
    EXPECT_EQ(g.model.GroupSelected("G", TDisplayDefaults{}), nullptr) << "nothing selected";
    TDisplayDefaults settings;
    settings.nGrpColor = 0x123456;
    g.ann->SetSelected(true);
    g.bob->SetSelected(true);

    TOrganizedNode* group = g.model.GroupSelected("   ", settings);
    ASSERT_EQ(g.model.LinkCount(), 6);
    const TEgoNetEdge* toCy = g.model.GetLink(4);
    const TEgoNetEdge* fromDan = g.model.GetLink(5);
    EXPECT_TRUE(toCy->Source == group && toCy->Target == g.cy && toCy->TypeName() == "friend");
    EXPECT_TRUE(toCy->Attributes.HasAttribute("since"));
    EXPECT_TRUE(fromDan->Source == g.dan && fromDan->Target == group && fromDan->TypeName() == "work");
    for (const TOrganizedNode* member : {g.ann, g.bob}) {
        EXPECT_FALSE(member->Visible || member->Enabled || member->Selected());
        EXPECT_EQ(member->GroupIDs, QStringList{group->ID});
    }
    EXPECT_EQ(group->Caption(), "Group " + group->ID);
    EXPECT_TRUE(group->IsGroup && group->Selected() && !group->Expanded);
    EXPECT_EQ(group->Position, QPoint(150, 50));
    EXPECT_EQ(group->Size, 22) << "1.5 x mean size 15 = 22.5 rounds to even";
    EXPECT_EQ(group->Shape, 0);
    EXPECT_EQ(group->Color, 0x123456u);
    EXPECT_TRUE(group->Image == ColorCubePicture());
    g.ann->SetCaption("Cy");
    g.bob->SetCaption("al");
    EXPECT_EQ(g.model.GroupMemberText(group), "al\r\nCy");
}

TEST(TEgoNetModelGroups, ExpandFollowsTheMovedGroup)
{
    TNetwork g;
    TOrganizedNode* group = g.Group({g.ann, g.bob});
    g.model.UpdateLinkVisibility();
    group->Position += QPoint(100, -30);
    g.model.Expand(group);
    EXPECT_EQ(g.ann->Position, QPoint(200, 15)) << "y 10 is raised to 15";
    EXPECT_EQ(g.bob->Position, QPoint(300, 30));
    for (const TOrganizedNode* member : {g.ann, g.bob})
        EXPECT_TRUE(member->Visible && member->Enabled && member->Selected());
    EXPECT_TRUE(group->Visible && group->Expanded && !group->Enabled && !group->Selected());
    EXPECT_TRUE(g.annCy->Visible);

    group->Position += QPoint(50, 0);
    g.model.Expand(group);
    EXPECT_EQ(g.ann->Position, QPoint(200, 15)) << "an expanded group does not expand again";
}

TEST(TEgoNetModelGroups, ExpandAllEndsWhenAGroupCannotExpand)
{
    TNetwork g;
    g.model.NewNode(QPoint(), "empty")->IsGroup = true; // before the real group
    TOrganizedNode* group = g.Group({g.ann, g.bob});
    g.model.ExpandAll();
    EXPECT_TRUE(group->Expanded);
    EXPECT_EQ(g.model.ExpandedGroupCount(), 1);

    TNetwork h;
    TOrganizedNode* other = h.Group({h.ann, h.bob});
    h.model.EnableAll(false);
    h.model.ExpandAll();
    EXPECT_FALSE(other->Expanded) << "without an enabled node no group has members";
}

TEST(TEgoNetModelGroups, UngroupDissolvesTheGroup)
{
    TNetwork g;
    TOrganizedNode* group = g.Group({g.ann, g.bob});
    g.ann->GroupIDs.prepend("OTHER");
    g.bob->GroupIDs.append(group->ID.toLower()); // twice, in another case
    g.cy->SetSelected(true);
    g.model.Ungroup(group);
    EXPECT_EQ(g.model.IndexOfNode(group), -1);
    EXPECT_EQ(g.model.LinkCount(), 3) << "the twins go with the group";
    for (const TOrganizedNode* member : {g.ann, g.bob})
        EXPECT_TRUE(member->Visible && member->Enabled && member->Selected());
    EXPECT_EQ(g.ann->GroupIDs, QStringList{"OTHER"});
    EXPECT_TRUE(g.bob->GroupIDs.isEmpty());
    EXPECT_FALSE(g.cy->Selected());
    EXPECT_TRUE(g.annBob->Selected() && !g.annCy->Selected());

    g.ann->GroupIDs.clear();
    TOrganizedNode* inner = g.Group({g.ann, g.bob});
    g.Group({inner, g.cy});
    g.model.UngroupAll();
    EXPECT_EQ(g.model.NodeCount(), 4);
    EXPECT_EQ(g.model.LinkCount(), 3);
    for (const TOrganizedNode* node : g.model.Nodes())
        EXPECT_TRUE(node->Visible && node->GroupIDs.isEmpty()) << node->Caption().toStdString();
}

TEST(TEgoNetModelGroups, AddToGroupTwinsLinksThatLeaveTheGroup)
{
    TNetwork g;
    TOrganizedNode* group = g.Group({g.ann, g.bob});
    TOrganizedNode* eve = g.model.NewNode(QPoint(), "Eve");
    g.model.NewLink(eve, g.cy, "friend", "");
    g.model.NewLink(g.ann, eve, "work", "");
    g.model.NewLink(eve, group, "friend", "");
    const int links = g.model.LinkCount();

    EXPECT_FALSE(g.model.AddToGroup(eve, g.cy)) << "not a group";
    EXPECT_FALSE(g.model.AddToGroup(group, group));
    ASSERT_TRUE(g.model.AddToGroup(eve, group));
    EXPECT_FALSE(eve->Visible || eve->Enabled || eve->Selected());
    ASSERT_EQ(g.model.LinkCount(), links + 1);
    EXPECT_TRUE(g.model.GetLink(links)->Source == group && g.model.GetLink(links)->Target == g.cy);
    EXPECT_FALSE(g.model.AddToGroup(eve, group)) << "a second join would copy every twin";
    EXPECT_EQ(g.model.LinkCount(), links + 1);
    EXPECT_EQ(eve->GroupIDs, QStringList{group->ID});
}

TEST(TEgoNetModelGroups, ConnectAllLinksMissingPairs)
{
    TNetwork g;
    g.annCy->Attributes.AddAttribute("since", "2010");
    g.model.ShownLinkTypes = {"work", "friend"};
    const TIntVector abc = Indexes({0, 1, 2, 99});
    g.model.ConnectAll(&abc, false);
    ASSERT_EQ(g.model.LinkCount(), 4) << "only Bob - Cy was missing, and 99 is nobody";
    const TEgoNetEdge* added = g.model.GetLink(3);
    EXPECT_TRUE(added->Source == g.bob && added->Target == g.cy && !added->Directed);
    EXPECT_EQ(added->TypeName(), "work");
    EXPECT_TRUE(added->Attributes.HasAttribute("since"));

    const TIntVector cd = Indexes({2, 3});
    g.model.ConnectAll(&cd, true);
    ASSERT_EQ(g.model.LinkCount(), 6);
    EXPECT_TRUE(g.model.GetLink(4)->Source == g.cy && g.model.GetLink(4)->Directed);
    EXPECT_TRUE(g.model.GetLink(5)->Source == g.dan && g.model.GetLink(5)->Target == g.cy);
}

TEST(TEgoNetModelGroups, CombineKeepsTheNodeSelectedLast)
{
    TNetwork g;
    g.model.NewLink(g.bob, g.ann, "family", "");
    TEgoNetEdge* annDan = g.model.NewLink(g.ann, g.dan, "family", "");
    g.model.SetShownLinkTypes({"friend"}); // Ann - Bob is Bob's only shown link
    g.SelectInTurn(g.ann, g.bob);
    g.model.Combine();
    EXPECT_EQ(g.model.NodeCount(), 3);
    EXPECT_EQ(g.model.IndexOfNode(g.ann), -1);
    EXPECT_TRUE(g.bob->Selected());
    EXPECT_EQ(g.annCy->Source, g.bob);
    EXPECT_TRUE(g.bob->Linked) << "Bob took over Ann's link";
    EXPECT_EQ(g.model.IndexOfLink(annDan), -1);
    EXPECT_EQ(g.model.LinkCount(), 2) << "Ann -> Cy and Dan -> Bob; the links between the two are gone";

    TNetwork h;
    h.SelectInTurn(h.ann, h.cy);
    h.cy->SelectTime = 1;
    h.model.Combine();
    EXPECT_EQ(h.model.IndexOfNode(h.cy), -1) << "on equal times the first survives";
}

TEST(TEgoNetModelGroups, CombineWithATypeListedTwiceSparesOtherLinks)
{
    TNetwork g;
    g.model.SetShownLinkTypes({"friend", "friend"}); // Ann - Cy and Ann - Bob listed twice
    g.SelectInTurn(g.ann, g.cy);
    g.model.Combine();
    EXPECT_EQ(g.model.LinkCount(), 2);
    EXPECT_EQ(g.annBob->Source, g.cy);
}

TEST(TEgoNetModelGroups, MakeUndirectedAndDirected)
{
    TNetwork g;
    TEgoNetEdge* back = g.model.NewLink(g.bob, g.ann, "friend", "");
    TEgoNetEdge* sameWay = g.model.NewLink(g.ann, g.bob, "friend", "");
    TEgoNetEdge* work = g.model.NewLink(g.bob, g.ann, "work", "");
    const TIntVector both = Indexes({2, 3, 42});
    g.model.MakeUndirected(&both);
    EXPECT_EQ(g.model.IndexOfLink(back), -1) << "the duplicate goes, before its own turn";
    EXPECT_FALSE(g.annBob->Directed);
    EXPECT_TRUE(sameWay->Directed && work->Directed);
    EXPECT_EQ(g.model.LinkCount(), 5);

    const TIntVector undirected = Indexes({2, 4});
    g.model.MakeDirected(&undirected);
    ASSERT_EQ(g.model.LinkCount(), 6) << "only the undirected link doubles";
    const TEgoNetEdge* added = g.model.GetShownLink(5);
    EXPECT_TRUE(g.annBob->Directed && added->Directed);
    EXPECT_TRUE(added->Source == g.bob && added->Target == g.ann && added->TypeName() == "friend");
}

TEST(TEgoNetModelGroups, SpreadParallelLinks)
{
    TEgoNetModel model;
    TOrganizedNode* a = model.NewNode(QPoint(0, 0), "a");
    TOrganizedNode* b = model.NewNode(QPoint(100, 0), "b");
    for (int i = 0; i < 3; ++i)
        model.NewLink(a, b, "", "");
    model.SetModified(false);
    model.SpreadParallelLinks(60);
    EXPECT_TRUE(model.Modified());
    EXPECT_EQ(Offsets(model), std::vector<int>({0, 10, -10}));
    EXPECT_EQ(model.GetShownLink(1)->MidPoint, QPoint(50, -10));
    for (int i = 0; i < 3; ++i)
        model.NewLink(a, b, "", "");
    model.SpreadParallelLinks(60);
    EXPECT_EQ(Offsets(model), std::vector<int>({5, -5, 15, -15, 25, -25}));

    TEgoNetModel other;
    a = other.NewNode(QPoint(0, 0), "a");
    b = other.NewNode(QPoint(100, 0), "b");
    TOrganizedNode* c = other.NewNode(QPoint(0, 100), "c");
    other.NewLink(a, b, "", "");
    TEgoNetEdge* ba = other.NewLink(b, a, "", "");
    TEgoNetEdge* hidden = other.NewLink(a, b, "", "");
    hidden->Visible = false;
    hidden->Offset = 99;
    TEgoNetEdge* loop = other.NewLink(c, c, "", "");
    other.SpreadParallelLinks(60);
    EXPECT_EQ(Offsets(other), std::vector<int>({5, 5, 99, 0})) << "a hidden link neither counts nor moves";
    EXPECT_EQ(ba->MidPoint, QPoint(50, 5)) << "the other side of the first link";
    EXPECT_EQ(loop->MidPoint, QPoint(0, 175));
}

TEST(TEgoNetModelGroups, PlaceSelfLoopSnapsBackOnlyOutsideItsBand)
{
    TEgoNetModel model;
    TOrganizedNode* a = model.NewNode(QPoint(200, 200), "a");
    TEgoNetEdge* loop = model.NewLink(a, a, "", "");
    const auto placed = [&](QPoint handle) {
        loop->MidPoint = handle;
        TEgoNetModel::PlaceSelfLoop(loop, 60);
        return loop->MidPoint;
    };
    EXPECT_EQ(placed(QPoint(210, 200)), QPoint(275, 200));
    EXPECT_EQ(loop->CurvePoint, QPoint(264, 200));
    EXPECT_EQ(placed(QPoint(300, 200)), QPoint(300, 200));
    EXPECT_EQ(placed(QPoint(221, 200)), QPoint(221, 200)) << "1.5 x 14 = 21 is still inside";
    EXPECT_EQ(placed(QPoint(200, 351)), QPoint(200, 275)) << "beyond 2 x 75";
}
