#include "foundation/StreamError.h"
#include "model/TEgoNetModel.h"
#include "settings/GraphFile.h"
#include "settings/TEgoNetDisplaySettings.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray SettingsBytes(const TEgoNetDisplaySettings& settings)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    settings.WriteToStream(buffer);
    return bytes;
}

// Reads bytes as a graph file; the error message, "not a graph file", or empty on success.
QString Read(const QByteArray& bytes, TGraphHeader& header, TEgoNetDisplaySettings& settings, TEgoNetModel& model)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    try {
        return ReadGraph(buffer, header, settings, model) ? QString() : QStringLiteral("not a graph file");
    } catch (const EStreamError& e) {
        return e.Message();
    }
}

} // namespace

TEST(GraphFile, EmptyNetworkLayout)
{
    TEgoNetModel model;
    TEgoNetDisplaySettings settings;
    const QByteArray bytes = GraphFileBytes({}, settings, model);
    const QByteArray expected = QByteArray("ENG10\x06\x00\x06\x00", 9) + SettingsBytes(settings)
                                + QByteArray("\x02\x00\x02\x00\x01\x02\x01\x06\x07" "default\x00\x01\x02\x00\x00", 21);
    EXPECT_EQ(bytes, expected);
}

TEST(GraphFile, SavedAndLoadedThroughTheDisk)
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath("friends.eng");
    TEgoNetModel model;
    TOrganizedNode* ann = model.NewNode(QPoint(10, 10), "Ann");
    model.NewLink(ann, model.NewNode(QPoint(90, 40), "Bob"), "friend", "");
    TEgoNetDisplaySettings settings;
    settings.BkColor = 0x123456;
    settings.ShowEdgeLabel = true;
    const TGraphHeader header{QString::fromUtf8("Caf\xc3\xa9 friends"), "All of them"};
    WriteGraphFile(fileName, header, settings, model);

    TGraphHeader readHeader;
    TEgoNetDisplaySettings readSettings;
    TEgoNetModel readModel;
    ASSERT_TRUE(ReadGraphFile(fileName, readHeader, readSettings, readModel));
    EXPECT_EQ(readHeader.Caption, header.Caption);
    EXPECT_EQ(readHeader.Description, "All of them");
    EXPECT_EQ(readSettings.BkColor, 0x123456u);
    EXPECT_TRUE(readSettings.ShowEdgeLabel);
    ASSERT_EQ(readModel.NodeCount(), 2);
    EXPECT_EQ(readModel.GetLink(0)->Target->Caption(), "Bob");

    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), GraphFileBytes(header, settings, model)) << "the same bytes as in memory";
}

TEST(GraphFile, OtherFilesAreNotLoadedAndChangeNothing)
{
    TEgoNetModel model;
    model.NewNode(QPoint(), "Keep me");
    TEgoNetDisplaySettings settings;
    TGraphHeader header{"old", "old"};
    const QByteArray good = GraphFileBytes({"new", "new"}, settings, model);

    QByteArray otherMagic = good;
    otherMagic[4] = '1';
    EXPECT_EQ(Read(otherMagic, header, settings, model), "not a graph file");
    EXPECT_EQ(Read(QByteArray(), header, settings, model), "not a graph file");
    EXPECT_EQ(header.Caption, "old");
    EXPECT_EQ(model.NodeCount(), 1);
    EXPECT_EQ(Read("ENG", header, settings, model), "Stream read error") << "shorter than the magic";
}

TEST(GraphFile, CutsAnywhereGiveTheBlocksMessages)
{
    TEgoNetModel model;
    model.NewLink(model.NewNode(QPoint(), "a"), model.NewNode(QPoint(), "b"), "", "");
    TEgoNetDisplaySettings settings;
    const QByteArray bytes = GraphFileBytes({"cap", "desc"}, settings, model);
    const qsizetype settingsStart = 5 + 11; // 06 03 "cap" 06 04 "desc"
    const qsizetype modelStart = settingsStart + SettingsBytes(settings).size();
    for (qsizetype cut = 5; cut < bytes.size(); ++cut) {
        TGraphHeader h;
        TEgoNetDisplaySettings s;
        TEgoNetModel m;
        const QString error = Read(bytes.left(cut), h, s, m);
        if (cut < settingsStart)
            EXPECT_EQ(error, "Stream read error") << cut;
        else if (cut < modelStart)
            EXPECT_EQ(error, "Display settings data read error") << cut;
        else
            EXPECT_FALSE(error.isEmpty()) << cut;
    }
}

TEST(GraphFile, UnwritablePlacesRaiseAndOpeningFailuresToo)
{
    TEgoNetModel model;
    TEgoNetDisplaySettings settings;
    TGraphHeader header;
    EXPECT_THROW(WriteGraphFile("/nonexistent-folder/x.eng", header, settings, model), EStreamError);
    EXPECT_THROW(ReadGraphFile("/nonexistent-folder/x.eng", header, settings, model), EStreamError);
}
