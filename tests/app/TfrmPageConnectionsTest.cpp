#include "app/pages/TfrmPageConnections.h"

#include "app/SettingsFiles.h"
#include "app/dialogs/TColorGrid64.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "common/ScriptedDialogRunner.h"
#include "common/ScriptedDialogs.h"
#include "settings/TIniFile.h"
#include "view/TEgoNetGraphEx.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ConnectionsPageTest : public ::testing::Test
{
protected:
    ConnectionsPageTest()
    {
        SetSettingsDirectory(dir.path());
        TIniFile ini(ProgramIniPath());
        ini.WriteString("LinkTypes", "is friend of", QString::number(0x00009900));
        ini.WriteString("LinkTypes", "works with", QString::number(TfrmPageConnections::NoColour));
        ini.UpdateFile();
        a = model().NewNode({50, 50}, "A");
        b = model().NewNode({150, 50}, "B");
        c = model().NewNode({250, 50}, "C");
        page.AttachGraph(&host);
    }
    ~ConnectionsPageTest() override { SetSettingsDirectory(QString()); }

    TEgoNetModel& model() { return host.Graph().Model(); }
    void Check(TListGrid& grid, std::initializer_list<TOrganizedNode*> persons)
    {
        for (TOrganizedNode* person : persons)
            SetCheck(grid, true, FindRowByID(grid, person->ID, 1), 0);
    }
    QStringList Links()
    {
        QStringList links;
        for (const TEgoNetEdge* link : model().Links())
            links << link->Source->Caption() + "-" + link->Target->Caption() + ":" + link->TypeName();
        return links;
    }

    QTemporaryDir dir;
    TEgoNetGraphEx host;
    TfrmPageConnections page;
    TOrganizedNode* a;
    TOrganizedNode* b;
    TOrganizedNode* c;
};

TEST_F(ConnectionsPageTest, LinkTypesComeFromTheSettingsWithStoredOrDefaultColours)
{
    TListGrid& types = page.LinkTypes();
    ASSERT_EQ(types.RowCount(), 3);
    EXPECT_EQ(types.Cell(2, 1), "is friend of");
    EXPECT_TRUE(IsChecked(types, 1, 0)) << "\"is friend of\" is checked on attaching";
    EXPECT_EQ(page.RowColour(1), 0x00009900u);
    EXPECT_EQ(page.RowColour(2), TfrmPageConnections::DefaultColours[1]) << "the value that means no colour";

    // Sixteen more types: the seventeenth row wraps round to the first default colour.
    TIniFile ini(ProgramIniPath());
    for (int i = 0; i < 16; ++i)
        ini.WriteString("LinkTypes", QString("type %1").arg(i), "");
    ini.UpdateFile();
    page.AttachGraph(nullptr);
    EXPECT_EQ(page.RowColour(17), 0x00D68200u);

    // Saving writes names with colours; an emptied list leaves an empty section.
    page.SaveLinkTypes();
    EXPECT_EQ(TIniFile(ProgramIniPath()).ReadString("LinkTypes", "is friend of", ""), QString::number(0x00009900));
    SetAllChecks(types, true, 0);
    TScriptedDialogs questions;
    questions.Answer(1);
    QTest::mouseClick(page.findChild<QWidget*>("tbTypesDelete"), Qt::LeftButton);
    EXPECT_EQ(questions.Messages().at(0).Text, "Delete 18 selected items from the list?");
    page.SaveLinkTypes();
    EXPECT_TRUE(TIniFile(ProgramIniPath()).ReadSection("LinkTypes").isEmpty());
    page.AttachGraph(nullptr);
    EXPECT_EQ(types.RowCount(), 1);
}

TEST_F(ConnectionsPageTest, CreateLinksMakesOneUndirectedLinkPerPairAndType)
{
    Check(page.LPersons(), {a, b});
    Check(page.RPersons(), {b, c});
    int created = 0;
    page.OnLinksCreated = [&](QObject*) { ++created; };
    page.btnCreateLinksClick();
    EXPECT_EQ(Links(), QStringList({"A-B:is friend of", "A-C:is friend of", "B-B:is friend of", "B-C:is friend of"}));
    EXPECT_EQ(created, 1);
    const TEgoNetEdge* first = model().GetLink(0);
    EXPECT_FALSE(first->Directed);
    EXPECT_EQ(first->Color, 0x00009900u);
    QString strength;
    EXPECT_TRUE(first->Attributes.GetValue("strength", strength));
    EXPECT_EQ(strength, QLocale().toString(1.0, 'f', 1));

    page.btnCreateLinksClick();
    EXPECT_EQ(model().LinkCount(), 4) << "a second press creates nothing";
}

TEST_F(ConnectionsPageTest, AnExistingLinkTheOtherWayRoundCounts)
{
    model().NewLink(b, a, "IS FRIEND OF", QString());
    Check(page.LPersons(), {a});
    Check(page.RPersons(), {b});
    page.btnCreateLinksClick();
    EXPECT_EQ(model().LinkCount(), 1);
}

TEST_F(ConnectionsPageTest, ConnectAllLinksEveryPairOncePerType)
{
    TScriptedDialogs questions;
    questions.Answer(1);
    SetCheck(page.LinkTypes(), true, 2, 0);
    Check(page.LPersons(), {a, b, c});
    page.btnConnectAllClick();
    EXPECT_EQ(questions.Messages().at(0).Captions, QStringList({"Sure", "No, let me check the list..."}));
    EXPECT_EQ(Links(), QStringList({"A-B:is friend of", "A-B:works with", "A-C:is friend of", "A-C:works with",
                                    "B-C:is friend of", "B-C:works with"}));
}

TEST_F(ConnectionsPageTest, DeleteLinksRemovesOneLinkPerPairAndTypeAPress)
{
    model().NewLink(a, b, "is friend of", QString());
    model().NewLink(b, a, "is friend of", QString());
    Check(page.LPersons(), {a});
    Check(page.RPersons(), {b});
    page.btnDeleteClick();
    EXPECT_EQ(model().LinkCount(), 1);
    page.btnDeleteClick();
    EXPECT_EQ(model().LinkCount(), 0);
}

TEST_F(ConnectionsPageTest, TheChecksSayWhatIsMissingAndTheStrengthMustBeANumber)
{
    TScriptedDialogs messages;
    page.btnCreateLinksClick();
    Check(page.LPersons(), {a});
    page.btnCreateLinksClick();
    Check(page.RPersons(), {c});
    SetAllChecks(page.LinkTypes(), false, 0);
    page.btnCreateLinksClick();
    SetCheck(page.LinkTypes(), true, 1, 0);
    QComboBox* strength = page.findChild<QComboBox*>("cbStrength");
    strength->setEditText("strong");
    page.btnCreateLinksClick();
    ASSERT_EQ(messages.Messages().size(), 4);
    EXPECT_EQ(messages.Messages()[0].Text, "Select person(s) from the list \"Person(s)\".");
    EXPECT_EQ(messages.Messages()[1].Text, "Please select \"destination\" person(s) from the second list.");
    EXPECT_EQ(messages.Messages()[2].Text, "Please also select link type(s).\r\nThank you.");
    EXPECT_EQ(messages.Messages()[3].Text, "The strength must be a number from 0.0 to 1.0.");
    EXPECT_EQ(model().LinkCount(), 0);

    // A typed strength is kept in the list, which stays sorted, and goes into the new links.
    strength->setEditText("0.75");
    QTest::keyClick(strength, Qt::Key_Return);
    EXPECT_GE(strength->findText("0.75"), 0);
    EXPECT_LT(strength->findText("0.75"), strength->findText(QLocale().toString(0.8, 'f', 1)));
    page.btnCreateLinksClick();
    QString value;
    ASSERT_EQ(model().LinkCount(), 1);
    model().GetLink(0)->Attributes.GetValue("strength", value);
    EXPECT_EQ(value, "0.75");
}

TEST_F(ConnectionsPageTest, RecolouringATypeRecoloursItsLinks)
{
    TEgoNetEdge* friends = model().NewLink(a, b, "is friend of", QString());
    TEgoNetEdge* colleagues = model().NewLink(b, c, "works with", QString());
    page.show();
    TScriptedDialogRunner runner;
    runner.Then([](QDialog& dialog) {
        TColorGrid64& grid = *dialog.findChild<TColorGrid64*>();
        const QPoint cell = grid.CellRect(17).center();
        QTest::mousePress(&grid, Qt::LeftButton, {}, cell);
        QTest::mouseRelease(&grid, Qt::LeftButton, {}, cell);
    });
    TListGrid& types = page.LinkTypes();
    const QRect swatch = types.visualItemRect(types.item(types.ItemRow(1), 1));
    QTest::mouseClick(types.viewport(), Qt::LeftButton, {}, swatch.center());
    EXPECT_EQ(page.RowColour(1), TColorGrid64::Palette[17]);
    EXPECT_EQ(friends->Color, TColorGrid64::Palette[17]);
    EXPECT_EQ(colleagues->Color, TfrmPageConnections::DefaultColours[1]);
}

} // namespace
