#include "view/TEgoNetGraphDisplay.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <gtest/gtest.h>

#include <random>

namespace {

// Random display options and a small graph whose nodes and links share some properties and not
// others, from the raw output of a fixed generator so that every platform sees the same values.
class TRandomView
{
public:
    explicit TRandomView(uint32_t seed) : FNext(seed) {}

    void SetOptions(TEgoNetGraphDisplay& view)
    {
        view.SetColor(Colour());
        view.SetSelectionColor(Colour());
        view.SetAltColor(Colour());
        view.SetGrpColor(Colour());
        view.SetClusterColor(Colour());
        view.SetPositionColor(Colour());
        view.SetShowBkImage(Bit());
        view.SetShowShape(Bit());
        view.SetShowImage(Bit());
        view.SetShowCaption(Bit());
        view.SetShowEdges(Bit());
        view.SetShowDisabledNodes(Bit());
        view.SetShowEdgeType(Bit());
        view.SetShowEdgeLabel(Bit());
        view.SetShowStress(Bit());
        view.SetShowDirections(Bit());
        view.SetShowBorders(Bit());
        view.SetShowToolTips(Bit());
        view.SetAutoOrganize(Bit());
        view.SetSoundEffects(Bit());
        view.SpringOrganizer()->Animated = Bit();
    }

    // Three nodes and two links; each property of the later ones matches the first or not.
    void AddGraph(TEgoNetModel& model)
    {
        TOrganizedNode* nodes[3];
        for (int i = 0; i < 3; ++i) {
            TOrganizedNode* n = nodes[i] = model.NewNode(QPoint(20 + 40 * i, 30), QString());
            n->Shape = uint8_t(Bit() && i ? 5 : 1);
            n->ImageID = Bit() && i ? QStringLiteral("0000000A") : QStringLiteral("00000001");
            n->ImageTransparent = Bit() && i;
            n->Size = Bit() && i ? 30 : 16;
            n->LabelOrientation = uint8_t(Bit() && i ? 0 : 3);
            n->Font = {QStringLiteral("Arial"), Bit() && i ? 12 : 9, 0x112233, 0};
        }
        for (int i = 0; i < 2; ++i) {
            TEgoNetEdge* l = model.NewLink(nodes[i], nodes[i + 1], QString(), QString());
            l->Color = Bit() && i ? 0x445566 : 0x778899;
            l->Width = Bit() && i ? 4 : 2;
            l->PenStyle = uint8_t(Bit() && i ? 2 : 1);
            l->Font = {QStringLiteral("Arial"), 8, Bit() && i ? 0xAAu : 0xBBu, 0};
            l->HeadColor = Bit() && i ? 0x010101 : 0x020202;
            l->HeadLength = Bit() && i ? 7 : 12;
            l->HeadWidth = Bit() && i ? 5 : 6;
            l->Strength = 0.5f;
        }
    }

private:
    uint32_t Colour() { return FNext() & 0xFFFFFF; }
    bool Bit() { return FNext() & 1; }

    std::mt19937 FNext;
};

QByteArray Block(const TEgoNetDisplaySettings& s)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    s.WriteToStream(buffer);
    return bytes;
}

// The settings block a save writes for the view's graph.
QByteArray SavedBlock(TEgoNetGraphDisplay& view)
{
    view.Settings().DeriveFromGraph();
    return Block(view.Settings());
}

TEST(DisplayOptions, SavedBlocksKeepTheirBytes)
{
    // The bytes saves wrote for these options and graphs until now; a save must keep writing them.
    QCryptographicHash all(QCryptographicHash::Sha256);
    QByteArray first;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        TEgoNetGraphDisplay view;
        TRandomView random(seed);
        random.SetOptions(view);
        random.AddGraph(view.Model());
        const QByteArray block = SavedBlock(view);
        if (seed == 1)
            first = block;
        all.addData(block);
    }
    EXPECT_EQ(QString::fromLatin1(first.toHex()),
              "0425f4c10004ff7e0700545046300654496d61676500044c656674020003546f70020005576964746802000648656967"
              "68740200084175746f53697a6509000009090908090908080809090808080808080200048c2f6700044814bc00020206"
              "08303030303030303008020e06065461686f6d61020802000600020304eb804700049988770002010200060541726961"
              "6c020803bb0006000402020200020a02060f0000803f");
    EXPECT_EQ(QString::fromLatin1(all.result().toHex()),
              "aae36d72150b381a110d2cb8f58a0420791ecf9ce3fc4e681a11a378bc46fcc0");
}

TEST(DisplayOptions, CaptureApplyCaptureRoundTrips)
{
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        TEgoNetGraphDisplay view;
        TRandomView random(seed);
        random.SetOptions(view);
        view.PrepareEdit(true);
        const TEgoNetDisplaySettings captured = view.Settings();
        const QByteArray before = Block(captured);

        // Other options, then the captured ones back; the sound switch stays the view's own.
        random.SetOptions(view);
        TEgoNetDisplaySettings expected = captured;
        expected.SoundEffects = view.SoundEffects();
        view.Settings() = captured;
        view.ApplySettings();
        view.PrepareEdit(true);
        EXPECT_EQ(Block(view.Settings()), Block(expected)) << "seed " << seed;
    }
}

} // namespace
