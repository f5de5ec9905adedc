// Importing into a network that already has persons.
#include "ExchangeTestSupport.h"

#include "exchange/ExchangeError.h"
#include "exchange/ExchangeFormats.h"
#include "model/TDisplayDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

} // namespace

TEST(PersonMerger, MergesByEMailThenNameAndSkipsTheNameless)
{
    QTemporaryDir dir;
    TEgoNetModel model;
    TOrganizedNode* ann = AddPerson(model, "Ann", "Lee", "ann@example.org");
    SetPersonValue(*ann, PersonKeys::Work, "Acme");
    AddPerson(model, "Bo", "Ek");
    AddPerson(model, "Cy", "Ro", "cy@one.org");
    const QString cards = WriteFile(dir, "c.vcf",
                                    "BEGIN:VCARD\nFN:Annie\nEMAIL:ANN@example.org\nORG:Other\nTEL;TYPE=cell:0170\n"
                                    "END:VCARD\n"
                                    "BEGIN:VCARD\nN:Ek;Bo\nBDAY:2001-02-03\nEND:VCARD\n"
                                    "BEGIN:VCARD\nN:Ro;Cy\nEMAIL:cy@two.org\nEND:VCARD\n"
                                    "BEGIN:VCARD\nNOTE:nobody\nEND:VCARD\n"
                                    "BEGIN:VCARD\nN:Ro;Cy\nEMAIL:cy@two.org\nEND:VCARD\n");
    const TImportReport report = ImportFiles(model, {cards}, TDisplayDefaults());
    EXPECT_EQ(report.Merged, 3);
    EXPECT_EQ(report.Added, 1);
    EXPECT_EQ(report.Skipped, 1);
    ASSERT_EQ(model.NodeCount(), 4);
    // Values already there stay; missing ones are filled in.
    EXPECT_EQ(Field(ann, PersonKeys::Work), "Acme");
    EXPECT_EQ(Field(ann, PersonKeys::CellPhone), "0170");
    EXPECT_EQ(ann->Caption(), "Ann Lee");
    EXPECT_EQ(Field(model.GetNode(1), PersonKeys::BirthdayYear), "2001");
    EXPECT_EQ(Field(model.GetNode(3), PersonKeys::EMail), "cy@two.org");
    EXPECT_TRUE(model.Modified());
    ASSERT_EQ(report.Reasons.size(), 1);
    EXPECT_TRUE(report.Reasons[0].contains("person 4 skipped: it has neither a name nor an e-mail address"));
    EXPECT_TRUE(report.Text().startsWith("1 persons added, 3 merged with persons already there, 1 skipped"));
    // Every person carries every attribute name afterwards.
    EXPECT_TRUE(model.GetNode(2)->Attributes.HasAttribute(PersonKeys::CellPhone));
}

TEST(PersonMerger, ABadFileAmongSeveralAddsNothing)
{
    QTemporaryDir dir;
    TEgoNetModel model;
    AddPerson(model, "Ann", "Lee");
    const QString good = WriteFile(dir, "good.vcf", "BEGIN:VCARD\nFN:New One\nEND:VCARD\n");
    const QString bad = WriteFile(dir, "bad.csv", "First Name\n\"open\n");
    try {
        ImportFiles(model, {good, bad}, TDisplayDefaults());
        FAIL() << "no error";
    } catch (const EImportError& e) {
        EXPECT_EQ(e.Message(), bad + ", line 2: a quoted field that never ends");
    }
    EXPECT_EQ(model.NodeCount(), 1);
    EXPECT_THROW(ImportFiles(model, {dir.filePath("missing.vcf")}, TDisplayDefaults()), EImportError);
    EXPECT_THROW(ImportFiles(model, {WriteFile(dir, "x.txt", "x")}, TDisplayDefaults()), EImportError);
    EXPECT_EQ(model.NodeCount(), 1);
}

TEST(PersonMerger, GraphLinksJoinMergedPersonsOnceAndShiftIntoView)
{
    QTemporaryDir dir;
    TEgoNetModel source;
    TOrganizedNode* ann = AddPerson(source, "Ann", "Lee", "ann@example.org");
    ann->Position = QPoint(-100, -20);
    TOrganizedNode* bo = AddPerson(source, "Bo", "Ek");
    bo->Position = QPoint(0, 0);
    source.NewLink(ann, bo, "friend", "");
    const QString graph = dir.filePath("g.graphml");
    ExportNetwork(source, graph, "g");

    TEgoNetModel model;
    TOrganizedNode* known = AddPerson(model, "Ann", "Lee", "ann@example.org");
    TImportReport report = ImportFiles(model, {graph}, TDisplayDefaults());
    EXPECT_EQ(report.Merged, 1);
    EXPECT_EQ(report.Added, 1);
    EXPECT_EQ(report.LinksAdded, 1);
    ASSERT_EQ(model.LinkCount(), 1);
    EXPECT_EQ(model.GetLink(0)->Source, known);
    EXPECT_EQ(model.GetNode(1)->Position, QPoint(115, 35));
    report = ImportFiles(model, {graph}, TDisplayDefaults());
    EXPECT_EQ(report.Merged, 2);
    EXPECT_EQ(report.LinksAdded, 0);
    EXPECT_EQ(report.LinksExisting, 1);
    EXPECT_EQ(model.LinkCount(), 1);
    EXPECT_THROW(ExportNetwork(model, dir.filePath("x.pdf"), "g"), EExportError);
}
