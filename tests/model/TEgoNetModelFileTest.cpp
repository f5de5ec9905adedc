#include "foundation/StreamError.h"
#include "foundation/ValueWriter.h"
#include "model/TEgoNetModel.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

QByteArray ModelBytes(TEgoNetModel& model)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    model.WriteModel(buffer);
    return bytes;
}

QByteArray SelectionBytes(TEgoNetModel& model)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    model.WriteSelection(buffer);
    return bytes;
}

// Reads into model; the error message, or empty on success.
QString Read(TEgoNetModel& model, const QByteArray& bytes, bool merge)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    try {
        model.ReadModel(buffer, merge);
    } catch (const EStreamError& e) {
        return e.Message();
    }
    return QString();
}

struct TSmallNetwork
{
    TEgoNetModel model;
    TOrganizedNode* ann = model.NewNode(QPoint(10, 20), "Ann");
    TOrganizedNode* bob = model.NewNode(QPoint(100, 20), "Bob");
    TOrganizedNode* cy = model.NewNode(QPoint(50, 90), "Cy");
    TEgoNetEdge* annBob = model.NewLink(ann, bob, "friend", "");
    TEgoNetEdge* bobCy = model.NewLink(bob, cy, "work", "");
};

} // namespace

TEST(ModelBlock, EmptyNetworkLayout)
{
    TEgoNetModel model;
    model.NodeTypes.clear();
    const QByteArray expected("\x02\x00\x02\x00\x01\x02\x01\x06\x07" "default\x00\x01\x02\x00\x00", 21);
    EXPECT_EQ(ModelBytes(model), expected);
    EXPECT_EQ(model.NodeTypes, QStringList{"default"});
}

TEST(ModelBlock, RoundTripKeepsFilteredLinksAndTheFilter)
{
    TSmallNetwork g;
    g.model.SetShownLinkTypes({"friend"});
    g.ann->SetSelected(true);
    const QByteArray bytes = ModelBytes(g.model);

    TEgoNetModel read;
    read.NewNode(QPoint(), "left over");
    ASSERT_EQ(Read(read, bytes, false), "");
    ASSERT_EQ(read.NodeCount(), 3);
    EXPECT_EQ(read.GetNode(0)->ID, g.ann->ID);
    EXPECT_EQ(read.LinkCount(), 2) << "links of hidden types are saved too";
    EXPECT_EQ(read.ShownLinkCount(), 1);
    EXPECT_EQ(read.GetShownLink(0)->TypeName(), "friend");
    EXPECT_EQ(read.GetLink(1)->Source, read.GetNode(1));
    EXPECT_EQ(read.GetLink(1)->Target, read.GetNode(2));
    EXPECT_EQ(read.SelectedNodeCount(), 0) << "a load selects nothing";

    g.ann->SetSelected(false);
    const QByteArray unselected = ModelBytes(g.model);
    ASSERT_EQ(Read(read, unselected, false), "");
    EXPECT_EQ(ModelBytes(read), unselected);
}

TEST(ModelBlock, LinksToUnknownNodesAreDroppedAndPlaceholdersLeaveNoTrace)
{
    TSmallNetwork g;
    g.bobCy->Target = nullptr; // written with an empty target ID
    QByteArray bytes = ModelBytes(g.model);
    g.bobCy->Target = g.cy;

    TEgoNetModel read;
    ASSERT_EQ(Read(read, bytes, false), "");
    EXPECT_EQ(read.NodeCount(), 3);
    EXPECT_EQ(read.LinkCount(), 1);
    for (const TOrganizedNode* node : read.Nodes())
        EXPECT_FALSE(node->Caption().isEmpty());
}

TEST(ModelBlock, ASinglePersonKeepsItsSelfLoop)
{
    TEgoNetModel model;
    TOrganizedNode* solo = model.NewNode(QPoint(5, 5), "Solo");
    model.NewLink(solo, solo, "self", "");
    TEgoNetModel read;
    ASSERT_EQ(Read(read, ModelBytes(model), false), "");
    ASSERT_EQ(read.LinkCount(), 1);
    EXPECT_TRUE(read.GetLink(0)->IsSelfLoop());
    EXPECT_EQ(read.ShownLinkTypes, QStringList{"self"});
}

TEST(ModelBlock, AnErrorKeepsWhatWasReadButNoHalfWiredLink)
{
    TSmallNetwork g;
    const QByteArray bytes = ModelBytes(g.model);
    bool sawLinkError = false;
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        TEgoNetModel read;
        const QString error = Read(read, bytes.left(cut), false);
        ASSERT_FALSE(error.isEmpty()) << "cut at " << cut;
        sawLinkError |= error == "Edge data read error";
        EXPECT_LE(read.NodeCount(), 3) << "placeholders are gone, cut at " << cut;
        for (const TEgoNetEdge* link : read.Links()) {
            EXPECT_TRUE(read.IndexOfNode(link->Source) >= 0 && read.IndexOfNode(link->Target) >= 0)
                << "cut at " << cut;
        }
    }
    EXPECT_TRUE(sawLinkError);
}

TEST(ModelBlock, HostileCountsFailWithoutEndlessWork)
{
    QByteArray bytes("\x04\xff\xff\xff\x7f", 5); // two billion persons, no records
    TEgoNetModel read;
    EXPECT_EQ(Read(read, bytes, false), "Node data read error");
    EXPECT_EQ(read.NodeCount(), 1) << "the one begun before the data ran out";
}

TEST(SelectionBlock, NothingWithoutASelection)
{
    TSmallNetwork g;
    EXPECT_TRUE(SelectionBytes(g.model).isEmpty());
}

TEST(SelectionBlock, PastingMakesFreshCopiesBetweenThePastedNodes)
{
    TSmallNetwork g;
    g.ann->SetSelected(true);
    g.bob->SetSelected(true);
    g.model.UpdateLinkSelection();
    const QString annKey = g.ann->Key;
    const QByteArray bytes = SelectionBytes(g.model);
    EXPECT_EQ(g.ann->Key, annKey) << "the Key is put back after writing";

    g.model.SelectAll(false);
    ASSERT_EQ(Read(g.model, bytes, true), "");
    ASSERT_EQ(g.model.NodeCount(), 5);
    TOrganizedNode* annCopy = g.model.GetNode(3);
    TOrganizedNode* bobCopy = g.model.GetNode(4);
    // Ann is taken; the name counts the pasted node itself (four persons, so the fifth name).
    EXPECT_EQ(annCopy->Caption(), "Node_005");
    EXPECT_NE(annCopy->ID, g.ann->ID);
    EXPECT_TRUE(annCopy->Selected());
    EXPECT_EQ(annCopy->Position, QPoint(20, 30));
    EXPECT_TRUE(annCopy->Key.isEmpty());
    ASSERT_EQ(g.model.LinkCount(), 3);
    TEgoNetEdge* pasted = g.model.GetLink(2);
    EXPECT_EQ(pasted->Source, annCopy);
    EXPECT_EQ(pasted->Target, bobCopy);
    EXPECT_TRUE(pasted->Selected());

    // Pasting the same data again gives another independent copy.
    ASSERT_EQ(Read(g.model, bytes, true), "");
    EXPECT_EQ(g.model.NodeCount(), 7);
    EXPECT_NE(g.model.GetNode(5)->ID, annCopy->ID);
    EXPECT_EQ(g.model.GetLink(3)->Source, g.model.GetNode(5));
}

TEST(SelectionBlock, AFreeCaptionIsKept)
{
    TEgoNetModel source;
    source.NewNode(QPoint(), "Zoe")->SetSelected(true);
    const QByteArray bytes = SelectionBytes(source);
    TSmallNetwork g;
    ASSERT_EQ(Read(g.model, bytes, true), "");
    EXPECT_EQ(g.model.GetNode(3)->Caption(), "Zoe");
}
