#include "foundation/TNumericMatrix.h"
#include "foundation/TNumericVector.h"
#include "model/TEgoNetModel.h"

#include <QBuffer>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::vector<int> Elements(const TIntVector& v)
{
    std::vector<int> result;
    for (int i = 0; i < v.Count(); ++i)
        result.push_back(v.Items(i));
    return result;
}

// Ann - Bob (friend), Bob - Cy (work), Cy - Ann (friend), Dan alone.
struct TFourPeople
{
    TEgoNetModel model;
    TOrganizedNode* ann = model.NewNode(QPoint(0, 0), "Ann");
    TOrganizedNode* bob = model.NewNode(QPoint(100, 0), "Bob");
    TOrganizedNode* cy = model.NewNode(QPoint(0, 100), "Cy");
    TOrganizedNode* dan = model.NewNode(QPoint(50, 50), "Dan");
    TEgoNetEdge* annBob = model.NewLink(ann, bob, "friend", "");
    TEgoNetEdge* bobCy = model.NewLink(bob, cy, "work", "");
    TEgoNetEdge* cyAnn = model.NewLink(cy, ann, "friend", "");
};

} // namespace

TEST(TEgoNetModel, ConstructionAndClear)
{
    TEgoNetModel model;
    EXPECT_EQ(model.NodeTypes, QStringList{"default"});
    EXPECT_FALSE(model.Modified());
    model.NewNode(QPoint(), "a");
    EXPECT_TRUE(model.Modified());
    model.Clear();
    EXPECT_EQ(model.NodeCount(), 0);
    EXPECT_TRUE(model.NodeTypes.isEmpty());
    EXPECT_EQ(model.GetNode(0), nullptr);
    EXPECT_EQ(model.GetLink(-1), nullptr);
}

TEST(TEgoNetModel, NewLinkWiresEverything)
{
    TEgoNetModel model;
    auto* a = model.NewNode(QPoint(0, 0), "a");
    auto* b = model.NewNode(QPoint(10, 4), "b");
    model.SetModified(false);
    TEgoNetEdge* link = model.NewLink(a, b, " ", " cap ");
    EXPECT_TRUE(model.Modified());
    EXPECT_EQ(link->TypeName(), "is_linked_to");
    EXPECT_EQ(link->Caption(), "cap");
    EXPECT_EQ(link->MidPoint, QPoint(5, 2));
    EXPECT_TRUE(a->Linked && b->Linked);
    EXPECT_EQ(model.ShownLinkTypes, QStringList{"is_linked_to"});
    EXPECT_EQ(model.LinkCount(), 1);
    EXPECT_EQ(model.ShownLinkCount(), 1);
    model.NewLink(a, b, "friend", "");
    EXPECT_EQ(model.ShownLinkTypes, QStringList{"is_linked_to"}) << "only an empty filter takes the type";
}

TEST(TEgoNetModel, NodeNames)
{
    TEgoNetModel model;
    EXPECT_EQ(model.NextNodeName(), "Node_001");
    model.NewNode(QPoint(), "Ann");
    model.NewNode(QPoint(), "Bob");
    model.NewNode(QPoint(), "Cy");
    EXPECT_EQ(model.NextNodeName(), "Node_004");
    model.NewNode(QPoint(), "NODE_41");
    model.NewNode(QPoint(), "node_-500");
    model.NewNode(QPoint(), "Node_x7");
    EXPECT_EQ(model.NextNodeName(), "Node_042");
    model.NewNode(QPoint(), "node_99");
    EXPECT_EQ(model.NextNodeName(), "Node_100");
}

TEST(TEgoNetModel, GroupAndLinkNames)
{
    TEgoNetModel model;
    auto* friends = model.NewNode(QPoint(), "Friends");
    auto* family = model.NewNode(QPoint(), "Family");
    model.NewNode(QPoint(), "Group_50"); // not a group: not counted
    friends->IsGroup = true;
    family->IsGroup = true;
    EXPECT_EQ(model.NextGroupName(), "Group_003");
    family->SetCaption("group_9");
    EXPECT_EQ(model.NextGroupName(), "Group_010");

    EXPECT_EQ(model.NextLinkName(), "Link_001");
    model.NewLink(friends, family, "", "Link_7");
    EXPECT_EQ(model.NextLinkName(), "Link_008");
}

TEST(TEgoNetModel, DeleteNodeTakesEveryLinkAlong)
{
    TFourPeople g;
    // A filtered-out link of Ann to Dan.
    g.model.NewLink(g.ann, g.dan, "family", "");
    g.model.SetShownLinkTypes({"friend", "work"});
    ASSERT_EQ(g.model.ShownLinkCount(), 3);
    ASSERT_EQ(g.model.LinkCount(), 4);

    g.model.DeleteNode(g.ann);
    EXPECT_EQ(g.model.NodeCount(), 3);
    EXPECT_EQ(g.model.LinkCount(), 1);
    EXPECT_EQ(g.model.ShownLinkCount(), 1);
    EXPECT_EQ(g.model.GetLink(0), g.bobCy);
    EXPECT_TRUE(g.bob->Linked);
    g.model.DeleteNode(g.cy);
    EXPECT_FALSE(g.bob->Linked) << "an end without shown links is no longer linked";
    EXPECT_EQ(g.model.LinkCount(), 0);
}

TEST(TEgoNetModel, DeleteShownLinkOnlyForShownLinks)
{
    TFourPeople g;
    g.model.SetShownLinkTypes({"work"});
    g.model.DeleteShownLink(g.annBob); // filtered out: stays
    EXPECT_EQ(g.model.LinkCount(), 3);
    g.model.DeleteShownLink(g.bobCy);
    EXPECT_EQ(g.model.LinkCount(), 2);
    EXPECT_FALSE(g.bob->Linked) << "its other link is filtered out, so it counts as unlinked";
    EXPECT_FALSE(g.model.HasLinks(g.bob));
}

TEST(TEgoNetModel, LinkTypeFilter)
{
    TFourPeople g;
    g.model.SetShownLinkTypes({"*"});
    EXPECT_EQ(g.model.ShownLinkCount(), 3);
    EXPECT_EQ(g.model.ShownLinkTypes, QStringList({"friend", "work"}));

    g.model.SetShownLinkTypes({"Friend", "friend"});
    ASSERT_EQ(g.model.ShownLinkCount(), 4) << "a type listed twice lists its links twice";
    EXPECT_EQ(g.model.GetShownLink(0), g.annBob);
    EXPECT_EQ(g.model.GetShownLink(1), g.annBob);
    // Deleting such a link removes every copy, or a freed link would stay listed.
    g.model.DeleteShownLink(g.annBob);
    EXPECT_EQ(g.model.ShownLinkCount(), 2);

    g.model.SetModified(false);
    g.model.SetShownLinkTypes({});
    EXPECT_EQ(g.model.ShownLinkCount(), 0);
    EXPECT_FALSE(g.model.Modified());

    g.model.ShownLinkTypes = {"work"};
    g.model.SetShownLinkTypes(g.model.ShownLinkTypes);
    EXPECT_EQ(g.model.ShownLinkCount(), 1);
    EXPECT_EQ(g.model.ShownLinkTypes, QStringList{"work"});
    EXPECT_EQ(g.model.DefaultLinkType(), "work");
    g.model.RebuildShownLinkTypes();
    EXPECT_EQ(g.model.ShownLinkTypes, QStringList{"work"});
}

TEST(TEgoNetModel, CollectLinkTypesWithColours)
{
    TFourPeople g;
    g.bobCy->Color = 0x111111;
    g.cyAnn->Color = 0x222222;
    g.model.NewLink(g.dan, g.ann, "Acquaintance", "")->Color = 0x333333;
    QStringList types;
    QList<uint32_t> colours;
    g.model.CollectLinkTypes(types, true, &colours);
    EXPECT_EQ(types, QStringList({"Acquaintance", "friend", "work"}));
    EXPECT_EQ(colours, QList<uint32_t>({0x333333, g.annBob->Color, 0x111111}));
    g.model.CollectLinkTypes(types, false, nullptr);
    EXPECT_EQ(types, QStringList({"friend", "work", "Acquaintance"}));
}

TEST(TEgoNetModel, DefaultLinkType)
{
    TEgoNetModel model;
    EXPECT_EQ(model.DefaultLinkType(), "is_linked_to");
    model.ShownLinkTypes = {"friend", "IS_LINKED_TO"};
    EXPECT_EQ(model.DefaultLinkType(), "is_linked_to");
    model.ShownLinkTypes = {"friend", "work"};
    EXPECT_EQ(model.DefaultLinkType(), "friend");
}

TEST(TEgoNetModel, SelectionQueries)
{
    TFourPeople g;
    TIntVector v;
    EXPECT_EQ(g.model.SelectInRect(TRect{0, 0, 100, 100}), 2) << "right and bottom are outside";
    EXPECT_FALSE(g.cy->Selected());
    EXPECT_EQ(g.model.SelectInRect(TRect{0, 0, 100, 101}), 3);
    EXPECT_EQ(g.model.SelectedNodes(&v), 3);
    EXPECT_EQ(Elements(v), std::vector<int>({0, 2, 3}));
    EXPECT_EQ(g.model.SelectedLinks(&v), 1);
    EXPECT_EQ(g.model.GetShownLink(v.Items(0)), g.cyAnn);
    EXPECT_EQ(g.model.SelectedNodes(nullptr), 0);

    TOrganizedNode *a = nullptr, *b = nullptr;
    EXPECT_FALSE(g.model.TwoSelectedNodes(a, b));
    EXPECT_EQ(a, nullptr);
    g.dan->Visible = false;
    g.model.SelectAll(true);
    EXPECT_FALSE(g.dan->Selected()) << "hidden persons are not selected";
    EXPECT_EQ(g.model.SelectedLinkCount(), 3);
    g.model.SelectAll(false);
    g.bob->SetSelected(true);
    g.ann->SetSelected(true);
    EXPECT_TRUE(g.model.TwoSelectedNodesLinked(a, b));
    EXPECT_EQ(a, g.ann);
    EXPECT_EQ(b, g.bob);
    EXPECT_EQ(g.model.FirstSelectedNode(), g.ann);
    g.model.FreezeSelected();
    EXPECT_EQ(g.model.MovableNodeCount(), 2);
    g.model.UnfreezeAll();
    EXPECT_EQ(g.model.MovableNodeCount(), 4);
}

TEST(TEgoNetModel, EnableAndShowMarkModifiedOnlyOnChange)
{
    TFourPeople g;
    g.model.SetModified(false);
    g.model.EnableAll(true);
    g.model.ShowAll(true);
    EXPECT_FALSE(g.model.Modified());
    g.model.EnableAll(false);
    EXPECT_TRUE(g.model.Modified());
    EXPECT_EQ(g.model.EnabledNodeCount(), 0);
    EXPECT_EQ(g.model.EnabledFlags(), std::vector<bool>(4, false));
}

TEST(TEgoNetModel, Counts)
{
    TFourPeople g;
    EXPECT_EQ(g.model.EnabledLinkedNodeCount(), 3);
    g.bob->Enabled = false;
    EXPECT_EQ(g.model.EnabledLinkedNodeCount(), 2);
    g.model.ShownLinkTypes = {"friend"};
    EXPECT_EQ(g.model.EnabledTypedLinkCount(), 2);
    g.annBob->Enabled = false;
    EXPECT_EQ(g.model.EnabledTypedLinkCount(), 1);

    g.ann->IsGroup = true;
    g.ann->Expanded = true;
    g.cy->IsGroup = true;
    EXPECT_EQ(g.model.GroupCount(), 2);
    EXPECT_EQ(g.model.ExpandedGroupCount(), 1);

    g.ann->Clusters = {"1", "2"};
    g.cy->Clusters = {"2"};
    g.bob->Clusters = {"3"}; // disabled: not counted
    EXPECT_EQ(g.model.ClusterCount(), 2);
    QList<TOrganizedNode*> members;
    g.model.NodesInCluster("2", members);
    EXPECT_EQ(members, QList<TOrganizedNode*>({g.ann, g.cy}));
}

TEST(TEgoNetModel, Lookups)
{
    TFourPeople g;
    g.dan->ID = "0000ABCD";
    EXPECT_EQ(g.model.FindNodeByID("0000abcd"), g.dan);
    EXPECT_EQ(g.model.FindNodeByID("nothing"), nullptr);
    // Many at once, in the order asked, as one by one.
    g.cy->ID = "0000abcd";
    const QStringList ids{g.bob->ID, "nothing", "0000Abcd", g.ann->ID, g.bob->ID};
    EXPECT_EQ(g.model.FindNodesByIDs(ids), QList<TOrganizedNode*>({g.bob, g.cy, g.ann, g.bob}));
    EXPECT_EQ(g.model.FindNodeByID("0000Abcd"), g.cy) << "the first node of an ID";
    EXPECT_TRUE(g.model.FindNodesByIDs({}).isEmpty());

    // An earlier node matching by ID wins over a later one matching by caption.
    g.ann->ID = "BOB";
    int index = -2;
    EXPECT_TRUE(g.model.FindNodeByCaptionOrID("bob", index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(g.model.FindNodeByCaptionOrID("zed", index));
    EXPECT_EQ(index, -1);

    QList<TOrganizedNode*> found;
    EXPECT_TRUE(g.model.FindNodes("Y", false, found, false));
    EXPECT_EQ(found, QList<TOrganizedNode*>{g.cy});
    EXPECT_FALSE(g.model.FindNodes("Y", true, found, false));
    EXPECT_FALSE(g.model.FindNodes("", false, found, false));
    EXPECT_TRUE(g.model.FindNodes("dan", false, found, true));
    EXPECT_FALSE(g.model.FindNodes("da", false, found, true));

    TIntVector v;
    EXPECT_EQ(g.model.UnlinkedNodes(&v), 1);
    EXPECT_EQ(Elements(v), std::vector<int>{3});
    EXPECT_EQ(g.model.LinkBetween(g.bob, g.ann), g.annBob);
    EXPECT_EQ(g.model.LinkBetween(g.bob, g.dan), nullptr);
    g.model.NewLink(g.bob, g.ann, "work", "");
    EXPECT_EQ(g.model.LinksBetween(g.ann, g.bob, &v), 2);
    EXPECT_EQ(g.model.LinksBetweenTyped(g.ann, g.bob, "WORK", &v), 1);
    EXPECT_EQ(Elements(v), std::vector<int>{3});
    EXPECT_EQ(g.model.LinksBetweenTyped(g.ann, g.bob, "", &v), 2);
    EXPECT_EQ(g.model.FindLink(g.bob, g.ann, "Friend"), g.annBob);
    EXPECT_FALSE(g.model.LinkExists(g.bob, g.ann, ""));
    EXPECT_TRUE(g.model.AnyDirected());
}

TEST(TEgoNetModel, AdjacencyMatrixSkipsDisabledNodes)
{
    TFourPeople g;
    TIntMatrix m;
    EXPECT_EQ(g.model.AdjacencyMatrix(&m), 4);
    EXPECT_EQ(m.Items(0, 1), 1);
    EXPECT_EQ(m.Items(1, 0), 1);
    EXPECT_EQ(m.Items(0, 3), 0);
    EXPECT_EQ(m.Items(2, 2), 0);
    g.bob->Enabled = false;
    g.annBob->Enabled = false;
    g.model.AdjacencyMatrix(&m);
    EXPECT_EQ(m.Items(0, 1), 0);
    EXPECT_EQ(m.Items(0, 2), 1);
    TEgoNetModel empty;
    EXPECT_EQ(empty.AdjacencyMatrix(&m), 0);
    EXPECT_EQ(m.RowCount(), 4) << "untouched";
}

TEST(TEgoNetModel, MoveAndScale)
{
    TEgoNetModel model;
    auto* a = model.NewNode(QPoint(0, 7), "a");
    auto* b = model.NewNode(QPoint(5, 3), "b");
    TEgoNetEdge* link = model.NewLink(a, b, "", "");
    link->Bends.Add(QPoint(0, 7));
    link->MidPoint = QPoint(3, 0);

    model.ScaleAll(2);
    EXPECT_EQ(a->Position, QPoint(0, 14));
    EXPECT_EQ(link->Bends.Get(0), QPoint(0, 14));
    EXPECT_EQ(link->MidPoint, QPoint(6, 0));
    EXPECT_EQ(link->CurvePoint, QPoint(6, 0));

    model.ScaleAll(0.5);
    EXPECT_EQ(b->Position, QPoint(5, 3)) << "halves go to even: 5";

    model.ScaleAround(QPoint(10, 10), 2);
    EXPECT_EQ(a->Position, QPoint(-10, 4));
    link->Bends.Set(0, QPoint(10, 0));
    model.ScaleAround(QPoint(10, 10), 3);
    EXPECT_EQ(link->Bends.Get(0), QPoint(10, -20)) << "the coordinate on the centre stays";

    model.SetModified(false);
    model.MoveAll(0, 0);
    EXPECT_FALSE(model.Modified());
    model.MoveAll(1, -1);
    EXPECT_TRUE(model.Modified());
    EXPECT_EQ(link->Bends.Get(0), QPoint(11, -21));

    model.SetModified(false);
    model.ClearBends();
    EXPECT_TRUE(model.Modified());
    model.SetModified(false);
    model.ClearBends();
    EXPECT_FALSE(model.Modified());
}

TEST(TEgoNetModel, AttributeNamesAndNormalising)
{
    TFourPeople g;
    g.ann->Attributes = TAttributes{"School=Oak", "age=30"};
    g.bob->Attributes = TAttributes{"Age=40", "city=Rome"};
    QStringList names;
    g.model.NodeAttrNames(names);
    EXPECT_EQ(names, QStringList({"age", "city", "School"}));
    g.model.NormalizeNodeAttrs();
    EXPECT_EQ(g.dan->Attributes, QStringList({"School=na", "age=na", "city=na"}));
    EXPECT_EQ(g.bob->Attributes, QStringList({"Age=40", "School=na", "city=Rome"}));

    TEgoNetNode templ;
    templ.Attributes = TAttributes{"age=1", "town=x"};
    const QStringList renames{"city=town"};
    g.model.SyncNodeAttrNames(&templ, &renames);
    EXPECT_EQ(g.bob->Attributes, QStringList({"Age=40", "town=Rome"}));

    g.model.DeleteNodeAttribute("AGE");
    EXPECT_EQ(g.bob->Attributes, QStringList({"town=Rome"}));

    g.annBob->Attributes = TAttributes{"since=1999"};
    g.model.NormalizeLinkAttrs();
    EXPECT_EQ(g.bobCy->Attributes, QStringList({"since=na"}));
}

TEST(TEgoNetModel, AttributeValues)
{
    TEgoNetModel model;
    for (const char* v : {"10", "9", "9.0", "na", "Rome"})
        model.NewNode(QPoint(), "")->Attributes = TAttributes{QString("x=") + v};
    QStringList values;
    model.NodeAttrValues("X", values, false);
    EXPECT_EQ(values, QStringList({"10", "9", "9.0", "Rome", "na"}));

    TEgoNetModel numbers;
    for (const char* v : {"3", "1", "2", "1"})
        numbers.NewNode(QPoint(), "")->Attributes = TAttributes{QString("x=") + v};
    numbers.NodeAttrValues("x", values, true);
    EXPECT_EQ(values, QStringList({"1", "2", "3"}));

    TEgoNetModel words;
    for (const char* v : {"b", "A", "c"})
        words.NewNode(QPoint(), "")->Attributes = TAttributes{QString("x=") + v};
    words.NodeAttrValues("x", values, true);
    EXPECT_EQ(values, QStringList({"c", "b", "A"}));
    words.LinkAttrValues("x", values, false);
    EXPECT_TRUE(values.isEmpty());
}

TEST(TEgoNetModel, NumericRange)
{
    QStringList list{"na", "5", "-2.5", "7", "n/a"};
    float min = 9, max = 9;
    TEgoNetModel::NumericRange(list, min, true, max);
    EXPECT_EQ(min, -2.5f);
    EXPECT_EQ(max, 7.0f);
    EXPECT_EQ(list, QStringList({"5", "-2.5", "7"}));

    QStringList positive{"na", "5", "7"};
    TEgoNetModel::NumericRange(positive, min, false, max);
    EXPECT_EQ(min, 0.0f) << "a missing first entry leaves the minimum at 0";
    EXPECT_EQ(positive.size(), 3);

    QStringList words{"x", "na"};
    TEgoNetModel::NumericRange(words, min, true, max);
    EXPECT_EQ(max, 0.0f);
    EXPECT_EQ(words, QStringList{"x"});
}

TEST(TEgoNetModel, AssignFromCopiesNodesLinksAndFilter)
{
    TFourPeople g;
    g.model.SetShownLinkTypes({"friend"});
    g.ann->Attributes = TAttributes{"a=1"};
    TEgoNetModel copy;
    copy.AssignFrom(g.model);
    ASSERT_EQ(copy.NodeCount(), 4);
    ASSERT_EQ(copy.LinkCount(), 3);
    EXPECT_EQ(copy.ShownLinkCount(), 2);
    EXPECT_EQ(copy.ShownLinkTypes, QStringList{"friend"});
    EXPECT_EQ(copy.GetNode(0)->Attributes, QStringList{"a=1"});
    EXPECT_NE(copy.GetNode(0), g.ann);
    EXPECT_EQ(copy.GetLink(1)->Source, copy.GetNode(1));
    EXPECT_EQ(copy.GetLink(1)->Target, copy.GetNode(2));
    EXPECT_EQ(copy.GetLink(1)->TypeName(), "work");
    g.model.Clear();
    EXPECT_EQ(copy.GetLink(0)->Source->Caption(), "Ann") << "the copy owns its own objects";
}

TEST(TEgoNetModel, CopyCaptionsToKeys)
{
    TFourPeople g;
    g.ann->Key = "old";
    g.model.CopyCaptionsToKeys();
    EXPECT_EQ(g.ann->Key, "Ann");
}

namespace {

// The links of the list that end at the node, each once, by a full pass.
QSet<const TEgoNetEdge*> LinksEndingAt(const QList<TEgoNetEdge*>& links, const TEgoNetNode* node)
{
    QSet<const TEgoNetEdge*> found;
    for (const TEgoNetEdge* link : links)
        if (link->Source == node || link->Target == node)
            found.insert(link);
    return found;
}

// Each person's own list against a full pass over all links, and HasLinks against one over
// the shown links.
void ExpectListsMatchAFullPass(const TEgoNetModel& model)
{
    for (const TOrganizedNode* node : model.Nodes()) {
        const QList<TEgoNetEdge*>& own = node->OwnLinks();
        const QSet<const TEgoNetEdge*> ownSet(own.cbegin(), own.cend());
        ASSERT_EQ(ownSet.size(), own.size()) << "listed twice";
        ASSERT_EQ(ownSet, LinksEndingAt(model.Links(), node));
        ASSERT_EQ(model.HasLinks(node), !LinksEndingAt(model.ShownLinks(), node).isEmpty());
    }
}

// What deleting does to the lists: the links go, the rest keeps its order.
QList<TEgoNetEdge*> Without(QList<TEgoNetEdge*> links, const QSet<const TEgoNetEdge*>& gone)
{
    links.removeIf([&](const TEgoNetEdge* link) { return gone.contains(link); });
    return links;
}

} // namespace

// Random edits with every operation that adds, removes or re-ends links; deletions are checked
// against the plain rules (lists in order minus the deleted links, each touched end marked
// linked exactly when a shown link still ends there).
TEST(TEgoNetModel, OwnLinkListsAndLinkedMarksSurviveRandomEdits)
{
    QRandomGenerator random(1818);
    auto model = std::make_unique<TEgoNetModel>();
    const QStringList types{"friend", "work"};
    const auto anyNode = [&]() { return model->GetNode(random.bounded(model->NodeCount())); };
    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE(step);
        const int op = model->NodeCount() < 4 ? 0 : int(random.bounded(14));
        if (op == 0) {
            model->NewNode(QPoint(random.bounded(500), random.bounded(500)), QString());
        } else if (op <= 3) {
            model->NewLink(anyNode(), anyNode(), types[random.bounded(2)], QString());
        } else if (op == 4 && model->ShownLinkCount() > 0) {
            TEgoNetEdge* link = model->GetShownLink(random.bounded(model->ShownLinkCount()));
            const QList<TEgoNetEdge*> links = model->Links();
            const QList<TEgoNetEdge*> shown = model->ShownLinks();
            QList<TEgoNetNode*> ends{link->Source, link->Target};
            model->DeleteShownLink(link);
            ASSERT_EQ(model->Links(), Without(links, {link}));
            ASSERT_EQ(model->ShownLinks(), Without(shown, {link}));
            for (const TEgoNetNode* end : ends)
                ASSERT_EQ(end->Linked, !LinksEndingAt(model->ShownLinks(), end).isEmpty());
        } else if (op == 5) {
            TOrganizedNode* node = anyNode();
            const QList<TEgoNetEdge*> links = model->Links();
            const QList<TEgoNetEdge*> shown = model->ShownLinks();
            // Neighbours over shown links get their mark from what is left; the rest keep theirs.
            QHash<const TEgoNetNode*, bool> expected;
            for (const TOrganizedNode* other : model->Nodes())
                expected.insert(other, other->Linked);
            const QSet<const TEgoNetEdge*> gone = LinksEndingAt(links, node);
            const QList<TEgoNetEdge*> shownLeft = Without(shown, gone);
            for (const TEgoNetEdge* link : shown)
                if (gone.contains(link))
                    for (const TEgoNetNode* end : {link->Source, link->Target})
                        expected[end] = !LinksEndingAt(shownLeft, end).isEmpty();
            model->DeleteNode(node);
            ASSERT_EQ(model->Links(), Without(links, gone));
            ASSERT_EQ(model->ShownLinks(), shownLeft);
            for (const TOrganizedNode* other : model->Nodes())
                ASSERT_EQ(other->Linked, expected.value(other));
        } else if (op == 6 && model->ShownLinkCount() > 0) {
            model->GetShownLink(random.bounded(model->ShownLinkCount()))->SwapEnds();
        } else if (op == 7) {
            const QList<QStringList> filters{{"*"}, {"friend"}, {"friend", "friend"}, {"work", "friend"}};
            model->SetShownLinkTypes(filters[random.bounded(int(filters.size()))]);
        } else if (op == 8 || op == 9) {
            model->SelectAll(false);
            for (int i = 0; i < 2 + random.bounded(3); ++i)
                anyNode()->SetSelected(true);
            if (op == 8)
                model->GroupSelected(QString(), TDisplayDefaults{});
            else
                model->Combine();
        } else if (op == 10) {
            TOrganizedNode* node = anyNode();
            if (node->IsGroup)
                random.bounded(2) ? model->Ungroup(node) : model->Expand(node);
        } else if (op == 11 && model->ShownLinkCount() > 0) {
            TIntVector indexes;
            indexes.Append(random.bounded(model->ShownLinkCount()));
            random.bounded(2) ? model->MakeDirected(&indexes) : model->MakeUndirected(&indexes);
        } else if (op == 12) {
            TIntVector indexes;
            for (int i = 0; i < 3; ++i)
                indexes.Append(random.bounded(model->NodeCount()));
            model->ConnectAll(&indexes, random.bounded(2));
        } else if (op == 13) {
            // Undo snapshots copy, loading reads, pasting merges.
            auto other = std::make_unique<TEgoNetModel>();
            if (random.bounded(2)) {
                other->CopyFrom(*model);
            } else {
                QByteArray bytes;
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                model->WriteModel(buffer);
                buffer.close();
                buffer.open(QIODevice::ReadOnly);
                other->ReadModel(buffer, false);
                buffer.seek(0);
                other->ReadModel(buffer, true);
            }
            model = std::move(other);
        }
        ExpectListsMatchAFullPass(*model);
        if (HasFatalFailure())
            return;
        // Keep the network small enough for the full passes.
        while (model->NodeCount() > 40)
            model->DeleteNode(model->GetNode(0));
    }
}

TEST(TEgoNetModel, ALinkShownTwiceCanBeDeletedTwice)
{
    // A filter naming a type twice shows its links twice; deleting every shown copy in turn,
    // as deleting the selected links does, deletes the link once.
    TEgoNetModel model;
    TOrganizedNode* a = model.NewNode(QPoint(0, 0), "A");
    TOrganizedNode* b = model.NewNode(QPoint(50, 0), "B");
    model.NewLink(a, b, "friend", QString());
    TEgoNetEdge* kept = model.NewLink(b, b, "friend", QString());
    model.SetShownLinkTypes({"friend", "friend"});
    ASSERT_EQ(model.ShownLinkCount(), 4);
    const QList<TEgoNetEdge*> doomed{model.GetShownLink(0), model.GetShownLink(1)};
    ASSERT_EQ(doomed[0], doomed[1]);
    for (TEgoNetEdge* link : doomed)
        model.DeleteShownLink(link);
    EXPECT_EQ(model.ShownLinks(), QList<TEgoNetEdge*>({kept, kept}));
    EXPECT_EQ(model.Links(), QList<TEgoNetEdge*>({kept}));
    EXPECT_FALSE(a->Linked);
    EXPECT_TRUE(b->Linked);
    EXPECT_EQ(model.IndexOfLink(doomed[0]), -1);
}
