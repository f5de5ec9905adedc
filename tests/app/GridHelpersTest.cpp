#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "model/TEgoNetModel.h"
#include "settings/TIniFile.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class GridHelpersTest : public ::testing::Test
{
protected:
    GridHelpersTest() { grid.setColumnCount(2); }

    TListGrid grid;
};

TEST_F(GridHelpersTest, FillCheckAndReadRows)
{
    FillWithTexts(grid, {"Tennis", "Chess", "Golf"}, true, false);
    ASSERT_EQ(grid.RowCount(), 4) << "the header row and three entries";
    EXPECT_EQ(grid.Cell(1, 1), "Tennis");
    EXPECT_EQ(JoinCheckedTexts(grid, 0, 1), "");
    SetCheck(grid, true, 1, 0);
    ToggleCheck(grid, 3, 0);
    EXPECT_EQ(CountChecked(grid, 0), 2);
    EXPECT_EQ(JoinCheckedTexts(grid, 0, 1), "Tennis,Golf");
    SetAllChecks(grid, false, 0);
    EXPECT_FALSE(IsChecked(grid, 1, 0));

    // Sorting keeps each row's check mark with its text.
    SetCheck(grid, true, 1, 0);
    grid.SortByColumn(1);
    EXPECT_EQ(grid.Cell(1, 1), "Chess");
    EXPECT_TRUE(IsChecked(grid, 3, 0));
    EXPECT_EQ(FindRowByText(grid, "TENNIS", 1), 3);
    EXPECT_EQ(FindRowByText(grid, "Squash", 1), -1);

    FillWithTexts(grid, {"a", "b"}, false, false);
    EXPECT_EQ(grid.RowCount(), 2) << "no header row";
    EXPECT_EQ(grid.Cell(1, 0), "a");
}

TEST_F(GridHelpersTest, RowsHoldIdsAndFindObjectsThroughTheModel)
{
    TEgoNetModel model;
    TOrganizedNode* ann = model.NewNode({}, "Ann");
    TOrganizedNode* bob = model.NewNode({}, "Bob");
    TEgoNetEdge* link = model.NewLink(ann, bob, "friend", "is friend of");
    FillWithObjects(grid, {ann, bob, link}, &model, true);
    EXPECT_EQ(FindRowByID(grid, bob->ID, 1), 2);

    // A person that is not listed is skipped without harm.
    TOrganizedNode* cid = model.NewNode({}, "Cid");
    CheckObjects(grid, 0, {bob, cid, link});
    QList<TEgoNetObject*> checked;
    GetCheckedObjects(grid, 0, checked);
    EXPECT_EQ(checked, QList<TEgoNetObject*>({bob, link}));

    // A person deleted elsewhere is no longer found through its row.
    model.DeleteNode(bob);
    GetCheckedObjects(grid, 0, checked);
    EXPECT_TRUE(checked.isEmpty()) << "the link went with its end";
    EXPECT_EQ(grid.Object(1, 1), ann);
}

TEST_F(GridHelpersTest, IniSectionsRoundTripAndAnEmptiedListStaysEmpty)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("Circlewright.ini");
    EXPECT_FALSE(FillFromIniSection(grid, ini, "FavoriteFood", true)) << "no file yet";
    FillWithTexts(grid, {"Pasta", "", "Sushi"}, true, false);
    ASSERT_TRUE(SaveToIniSection(grid, ini, "FavoriteFood", 1, true));
    EXPECT_EQ(TIniFile(ini).ReadSection("FavoriteFood"), QStringList({"Pasta", "Sushi"}));
    ASSERT_TRUE(FillFromIniSection(grid, ini, "FavoriteFood", true));
    EXPECT_EQ(grid.RowCount(), 3);

    PrepareGrid(grid, true);
    ASSERT_TRUE(SaveToIniSection(grid, ini, "FavoriteFood", 1, true));
    EXPECT_TRUE(TIniFile(ini).ReadSection("FavoriteFood").isEmpty());
}

TEST_F(GridHelpersTest, AnAddedRowLeftEmptyIsRemovedAgain)
{
    FillWithTexts(grid, {"Tennis"}, true, false);
    EXPECT_FALSE(FinishEditRow(grid, 1)) << "nothing pending";
    AppendEditRow(grid, 0, 1);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_FALSE(FinishEditRow(grid, 1));
    EXPECT_EQ(grid.RowCount(), 2);

    AppendEditRow(grid, 0, 1);
    grid.SetCell(1, 2, "Golf");
    EXPECT_TRUE(FinishEditRow(grid, 1));
    EXPECT_EQ(grid.Cell(1, 2), "Golf");
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(GridHelpersTest, RadioCellsOfAGridFormOneGroup)
{
    grid.resize(200, 200);
    grid.show();
    FillWithTexts(grid, {"age", "income"}, true, true);
    const auto clickRadio = [&](int row) {
        const QRect cell = grid.visualItemRect(grid.item(grid.ItemRow(row), 0));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    };
    clickRadio(1);
    EXPECT_TRUE(IsChecked(grid, 1, 0));
    clickRadio(2);
    EXPECT_TRUE(IsChecked(grid, 2, 0));
    EXPECT_FALSE(IsChecked(grid, 1, 0));
}

} // namespace

#include "app/SettingsFiles.h"

namespace {

TEST(SettingsFilesTest, AProgramDirectoryThatCannotBeWrittenSendsTheFilesToTheUser)
{
    QTemporaryDir program;
    QTemporaryDir user;
    EXPECT_EQ(SettingsFilePathIn(program.path(), user.path(), "Circlewright.ini"),
              program.filePath("Circlewright.ini"));
    const QString elsewhere = SettingsFilePathIn(program.filePath("gone"), user.filePath("cw"), "Circlewright.ini");
    EXPECT_EQ(elsewhere, user.filePath("cw/Circlewright.ini"));
    // Without a template the user's list starts empty, and it can be written.
    TIniFile ini(elsewhere);
    ini.WriteString("Schools", "Oxford", "");
    EXPECT_TRUE(ini.UpdateFile());
}

} // namespace
