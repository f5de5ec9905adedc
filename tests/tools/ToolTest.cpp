// The built circlewright-tool, run as a user runs it.
#include "ToolTestSupport.h"

#include "model/TEgoNetModel.h"
#include "settings/GraphFile.h"
#include "settings/TEgoNetDisplaySettings.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct TRun
{
    int ExitCode = -1;
    QByteArray Out;
    QString Err;
};

TRun RunTool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(CW_TOOL_PATH), arguments);
    TRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.ExitCode = process.exitCode();
    run.Out = process.readAllStandardOutput();
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

TEST(Tool, HelpListsTheVerbs)
{
    const TRun run = RunTool({"--help"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Out.contains("dump FILE.eng")) << run.Out.toStdString();
    EXPECT_TRUE(run.Out.contains("build IN.json OUT.eng")) << run.Out.toStdString();
    EXPECT_TRUE(run.Out.contains("import SOURCE... INTO.eng") && run.Out.contains("export IN.eng OUT"));
    EXPECT_EQ(RunTool({"dump"}).ExitCode, 1);
    EXPECT_EQ(RunTool({"build", "in.json"}).ExitCode, 1);
    EXPECT_EQ(RunTool({"list"}).ExitCode, 1);
}

TEST(Tool, BuildsAndDumpsTheSmallestNetwork)
{
    QTemporaryDir dir;
    WriteBytes(dir.filePath("in.json"), R"({"Nodes":[{"Caption":"Ann"},{"Caption":"Bob"}]})");
    const TRun build = RunTool({"build", dir.filePath("in.json"), dir.filePath("out.eng")});
    EXPECT_EQ(build.ExitCode, 0) << build.Err.toStdString();
    EXPECT_EQ(build.Err, "");
    const TRun dump = RunTool({"dump", dir.filePath("out.eng")});
    ASSERT_EQ(dump.ExitCode, 0) << dump.Err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(dump.Out).object();
    ASSERT_EQ(json["Nodes"].toArray().size(), 2);
    EXPECT_EQ(json["Nodes"][0]["Caption"].toString(), "Ann");
    EXPECT_EQ(json["Nodes"][1]["Caption"].toString(), "Bob");
    EXPECT_EQ(json["Links"].toArray().size(), 0);
}

TEST(Tool, RefusedJsonWritesNothing)
{
    const struct
    {
        QByteArray Json;
        const char* Error;
    } cases[] = {
        {R"({"Nodes": [{}, {"Position": [1]}]})", "Nodes[1].Position: expected [x, y]"},
        {R"({"Nodes": [{"Colour": 1}]})", "Nodes[0].Colour: unknown key"},
        {"{\"Nodes\": [", "line 1, column"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        WriteBytes(dir.filePath("in.json"), c.Json);
        WriteBytes(dir.filePath("old.eng"), "old content");
        for (const QString& out : {dir.filePath("old.eng"), dir.filePath("new.eng")}) {
            const TRun run = RunTool({"build", dir.filePath("in.json"), out});
            EXPECT_EQ(run.ExitCode, 1);
            EXPECT_TRUE(run.Err.contains(c.Error)) << run.Err.toStdString();
            EXPECT_TRUE(run.Out.isEmpty());
        }
        EXPECT_EQ(ReadBytes(dir.filePath("old.eng")), "old content");
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("new.eng")));
    }
    const TRun missing = RunTool({"build", "/nonexistent/in.json", "/nonexistent/out.eng"});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_TRUE(missing.Err.contains("Cannot open")) << missing.Err.toStdString();
}

TEST(Tool, DumpOfABrokenFileFailsWithTheReadersMessage)
{
    TEgoNetModel model;
    TOrganizedNode* ann = model.NewNode(QPoint(10, 10), "Ann");
    model.NewLink(ann, model.NewNode(QPoint(50, 10), "Bob"), "friend", "knows");
    const QByteArray bytes = GraphFileBytes({}, TEgoNetDisplaySettings(), model);
    // Cut inside the part that holds the text.
    const auto cutAfter = [&bytes](const char* text) { return bytes.left(bytes.indexOf(text) + 2); };
    const struct
    {
        QByteArray Content;
        const char* Error;
    } cases[] = {
        {"plain text, not a graph", "is not a graph file"},
        {"", "is not a graph file"},
        {"ENG", "Stream read error"},
        {cutAfter("Tahoma"), "Display settings data read error"},
        {cutAfter("Bob"), "Node data read error"},
        {cutAfter("knows"), "Edge data read error"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        WriteBytes(dir.filePath("broken.eng"), c.Content);
        const TRun run = RunTool({"dump", dir.filePath("broken.eng")});
        EXPECT_EQ(run.ExitCode, 1) << c.Error;
        EXPECT_TRUE(run.Err.contains(c.Error)) << run.Err.toStdString();
        EXPECT_TRUE(run.Out.isEmpty());
    }
    const TRun missing = RunTool({"dump", dir.filePath("missing.eng")});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_TRUE(missing.Err.contains("Cannot open")) << missing.Err.toStdString();
}

namespace {

// Two linked persons, red and green squares of size 20, on a settings record that shows shapes.
QString WriteTwoPersons(const QTemporaryDir& dir)
{
    TEgoNetModel model;
    TOrganizedNode* ann = model.NewNode(QPoint(100, 100), "Ann");
    TOrganizedNode* bob = model.NewNode(QPoint(200, 150), "Bob");
    for (TOrganizedNode* node : {ann, bob}) {
        node->Shape = 0;
        node->Size = 20;
    }
    ann->Color = 0x000000FF;
    bob->Color = 0x0000FF00;
    model.NewLink(ann, bob, "friend", QString());
    TEgoNetDisplaySettings settings;
    settings.BkColor = 0x00FFFFFF;
    settings.ShowShape = true;
    const QString file = dir.filePath("two.eng");
    WriteGraphFile(file, {}, settings, model);
    return file;
}

} // namespace

TEST(Tool, RenderSavesThePictureAsTheViewShowsIt)
{
    QTemporaryDir dir;
    const QString in = WriteTwoPersons(dir);

    ASSERT_EQ(RunTool({"render", in, dir.filePath("a.bmp")}).ExitCode, 0);
    QImage image(dir.filePath("a.bmp"));
    ASSERT_EQ(image.size(), QSize(800, 600));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0)); // the saved picture's frame
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(100, 95), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(200, 145), qRgb(0, 255, 0));

    ASSERT_EQ(RunTool({"render", in, dir.filePath("b.BMP"), "--size", "300x200", "--depth", "8"}).ExitCode, 0);
    image = QImage(dir.filePath("b.BMP"));
    EXPECT_EQ(image.size(), QSize(300, 200));
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);

    // Fitted, the pair spreads over the view: Ann's old place is background.
    ASSERT_EQ(RunTool({"render", in, dir.filePath("c.png"), "--fit"}).ExitCode, 0);
    image = QImage(dir.filePath("c.png"), "PNG");
    ASSERT_EQ(image.size(), QSize(800, 600));
    EXPECT_EQ(image.pixel(100, 95), qRgb(255, 255, 255));
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += image.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_GT(red, 300);

    ASSERT_EQ(RunTool({"render", in, dir.filePath("d.jpeg")}).ExitCode, 0);
    EXPECT_EQ(QImage(dir.filePath("d.jpeg"), "JPEG").size(), QSize(800, 600));
    ASSERT_EQ(RunTool({"render", in, dir.filePath("e.emf")}).ExitCode, 0);
    EXPECT_TRUE(ReadBytes(dir.filePath("e.emf")).startsWith(QByteArray("\x01\x00\x00\x00", 4)));
}

TEST(Tool, RenderRefusesWhatItCannotDo)
{
    QTemporaryDir dir;
    const QString in = WriteTwoPersons(dir);
    WriteBytes(dir.filePath("text.eng"), "not a graph");
    WriteBytes(dir.filePath("cut.eng"), ReadBytes(in).chopped(30));
    const struct
    {
        QStringList Arguments;
        const char* Error;
    } cases[] = {
        {{in, dir.filePath("out.gif")}, "cannot tell the picture format"},
        {{in, dir.filePath("out.eng")}, "cannot tell the picture format"},
        {{dir.filePath("text.eng"), dir.filePath("out.bmp")}, "is not a graph file"},
        {{dir.filePath("cut.eng"), dir.filePath("out.bmp")}, "read error"},
        {{dir.filePath("missing.eng"), dir.filePath("out.bmp")}, "Cannot open"},
        {{in, dir.filePath("no/such/folder/out.bmp")}, "cannot write"},
        {{in, dir.filePath("no/such/folder/out.png")}, "cannot write"},
        {{in, dir.filePath("out.bmp"), "--size", "0x10"}, "--size"},
        {{in, dir.filePath("out.bmp"), "--size"}, "--size needs a value"},
        {{in, dir.filePath("out.bmp"), "--depth", "16"}, "--depth"},
        {{in, dir.filePath("out.bmp"), "--zoom"}, "unknown option"},
        {{in}, "render wants IN.eng OUT"},
    };
    for (const auto& c : cases) {
        const TRun run = RunTool(QStringList{"render"} + c.Arguments);
        EXPECT_EQ(run.ExitCode, 1) << c.Error;
        EXPECT_TRUE(run.Err.contains(c.Error)) << run.Err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.bmp")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.gif")));
}

namespace {

// A ring of eight persons and the first one's friend, all crowded into one corner.
QString WriteCrowd(const QTemporaryDir& dir)
{
    TEgoNetModel model;
    QList<TOrganizedNode*> ring;
    for (int i = 0; i < 8; ++i)
        ring << model.NewNode(QPoint(20 + 5 * i, 20 + 3 * (i % 3)), QStringLiteral("P%1").arg(i));
    for (int i = 0; i < 8; ++i)
        model.NewLink(ring[i], ring[(i + 1) % 8], "friend", QString());
    model.NewLink(ring[0], model.NewNode(QPoint(30, 30), "Zoe"), "family", QString());
    const QString file = dir.filePath("crowd.eng");
    WriteGraphFile(file, {}, TEgoNetDisplaySettings(), model);
    return file;
}

QList<QPoint> Positions(const QString& file)
{
    TGraphHeader header;
    TEgoNetDisplaySettings settings;
    TEgoNetModel model;
    ReadGraphFile(file, header, settings, model);
    QList<QPoint> positions;
    for (const TOrganizedNode* node : model.Nodes())
        positions << node->Position;
    return positions;
}

} // namespace

TEST(Tool, LayoutSpreadsTheNetworkAndRepeatsWithASeed)
{
    QTemporaryDir dir;
    const QString in = WriteCrowd(dir);
    const TRun first = RunTool({"layout", in, dir.filePath("a.eng"), "--seed", "11", "--size", "600x400"});
    ASSERT_EQ(first.ExitCode, 0) << first.Err.toStdString();
    bool ok = false;
    const int steps = first.Out.trimmed().toInt(&ok);
    EXPECT_TRUE(ok) << first.Out.toStdString();
    EXPECT_GT(steps, 20);
    EXPECT_LE(steps, 350);
    const QList<QPoint> laidOut = Positions(dir.filePath("a.eng"));
    ASSERT_EQ(laidOut.size(), 9);
    int spread = 0;
    for (const QPoint& p : laidOut) {
        EXPECT_GE(p.x(), 15);
        EXPECT_LE(p.x(), 550);
        EXPECT_LE(p.y(), 385);
        spread = std::max(spread, p.x() + p.y());
    }
    EXPECT_GT(spread, 150);
    const TRun again = RunTool({"layout", in, dir.filePath("b.eng"), "--seed", "11", "--size", "600x400"});
    EXPECT_EQ(again.Out, first.Out);
    EXPECT_EQ(Positions(dir.filePath("b.eng")), laidOut);
}

TEST(Tool, LayoutAroundAPersonBringsItToTheCentre)
{
    QTemporaryDir dir;
    const QString in = WriteCrowd(dir);
    for (const QString& ego : {QStringLiteral("P3"), QStringLiteral("p3")}) {
        const TRun run = RunTool({"layout", in, dir.filePath("ego.eng"), "--ego", ego});
        ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
        const QPoint centre = Positions(dir.filePath("ego.eng"))[3];
        EXPECT_LE(std::hypot(centre.x() - 400, centre.y() - 300), 3.0) << centre.x() << "," << centre.y();
        // The walk from the corner alone takes about 500 / 3 steps.
        EXPECT_GE(run.Out.trimmed().toInt(), 160);
    }
    const struct
    {
        QStringList Arguments;
        const char* Error;
    } cases[] = {
        {{in, dir.filePath("x.eng"), "--ego", "Nobody"}, "no person \"Nobody\""},
        {{in, dir.filePath("x.eng"), "--ego", ""}, "--ego wants"},
        {{in, dir.filePath("x.eng"), "--seed", "-4"}, "--seed"},
        {{in, dir.filePath("x.eng"), "--size", "big"}, "--size"},
        {{in}, "layout wants IN.eng OUT.eng"},
        {{dir.filePath("missing.eng"), dir.filePath("x.eng")}, "Cannot open"},
    };
    for (const auto& c : cases) {
        const TRun run = RunTool(QStringList{"layout"} + c.Arguments);
        EXPECT_EQ(run.ExitCode, 1) << c.Error;
        EXPECT_TRUE(run.Err.contains(c.Error)) << run.Err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.eng")));
}

TEST(Tool, LayoutEndsOnNetworksWithoutLinksAndFindsPersonsByIdentifier)
{
    QTemporaryDir dir;
    // No person at all, and persons without links: no step moves anything, the file is written.
    TEgoNetModel model;
    WriteGraphFile(dir.filePath("empty.eng"), {}, TEgoNetDisplaySettings(), model);
    for (int i = 0; i < 3; ++i)
        model.NewNode(QPoint(300 + 40 * i, 200), QStringLiteral("Lone%1").arg(i));
    WriteGraphFile(dir.filePath("lone.eng"), {}, TEgoNetDisplaySettings(), model);
    for (const QString& name : {QStringLiteral("empty"), QStringLiteral("lone")}) {
        const QString out = dir.filePath(name + "-out.eng");
        for (const QStringList& ego : {QStringList(), QStringList{"--ego", "Lone1"}}) {
            if (name == "empty" && !ego.isEmpty())
                continue;
            const TRun run = RunTool(QStringList{"layout", dir.filePath(name + ".eng"), out} + ego);
            ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
            EXPECT_EQ(run.Out.trimmed(), "0");
            ASSERT_TRUE(QFileInfo::exists(out));
        }
    }
    const QList<QPoint> stacked = Positions(dir.filePath("lone-out.eng"));
    ASSERT_EQ(stacked.size(), 3);
    EXPECT_EQ(stacked[0], QPoint(12, 12)); // isolates go down the left edge
    EXPECT_EQ(stacked[2].x(), 12);

    // By identifier, in any letter case; a run that cannot be saved fails cleanly.
    const QString in = WriteCrowd(dir);
    TGraphHeader header;
    TEgoNetDisplaySettings settings;
    TEgoNetModel crowd;
    ReadGraphFile(in, header, settings, crowd);
    const QString id = crowd.GetNode(3)->ID.toLower();
    const TRun run = RunTool({"layout", in, dir.filePath("by-id.eng"), "--ego", id, "--seed", "3"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const QPoint centre = Positions(dir.filePath("by-id.eng"))[3];
    EXPECT_LE(std::hypot(centre.x() - 400, centre.y() - 300), 3.0) << centre.x() << "," << centre.y();
    const TRun unsaved = RunTool({"layout", in, dir.filePath("no/such/folder/out.eng"), "--ego", id});
    EXPECT_EQ(unsaved.ExitCode, 1);
    EXPECT_TRUE(unsaved.Err.contains("circlewright-tool: Cannot save")) << unsaved.Err.toStdString();
}

TEST(Tool, ImportAddsToTheGraphFileAndABadSourceChangesNothing)
{
    QTemporaryDir dir;
    WriteBytes(dir.filePath("a.vcf"), "BEGIN:VCARD\r\nFN:Ann Lee\r\nEMAIL:ann@x.org\r\nEND:VCARD\r\n");
    WriteBytes(dir.filePath("b.vcf"), "BEGIN:VCARD\r\nFN:Bo Ek\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:Cy\r\n");
    const QString net = dir.filePath("net.eng");
    const TRun created = RunTool({"import", dir.filePath("a.vcf"), net});
    ASSERT_EQ(created.ExitCode, 0) << created.Err.toStdString();
    EXPECT_TRUE(created.Out.startsWith("1 persons added, 0 merged")) << created.Out.toStdString();
    const TRun again = RunTool({"import", dir.filePath("a.vcf"), net});
    EXPECT_TRUE(again.Out.startsWith("0 persons added, 1 merged")) << again.Out.toStdString();
    const QByteArray saved = ReadBytes(net);

    const TRun bad = RunTool({"import", dir.filePath("a.vcf"), dir.filePath("b.vcf"), net});
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_TRUE(bad.Err.contains(dir.filePath("b.vcf") + ", line 4: the card begun here has no END:VCARD"))
        << bad.Err.toStdString();
    EXPECT_EQ(ReadBytes(net), saved);
    EXPECT_EQ(RunTool({"import", dir.filePath("a.vcf"), dir.filePath("net.txt")}).ExitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("net.txt")));

    const TRun exported = RunTool({"export", net, dir.filePath("t.csv")});
    ASSERT_EQ(exported.ExitCode, 0) << exported.Err.toStdString();
    EXPECT_TRUE(ReadBytes(dir.filePath("t-persons.csv")).contains("Ann Lee"));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("t-links.csv")) && QFileInfo::exists(dir.filePath("t-ego.csv")));
    const TRun unknown = RunTool({"export", net, dir.filePath("t.pdf")});
    EXPECT_EQ(unknown.ExitCode, 1);
    EXPECT_TRUE(unknown.Err.contains(".graphml, .gexf, .vcf or .csv")) << unknown.Err.toStdString();
}
