#include "app/dialogs/TfrmAttributeBasedPerson.h"
#include "app/dialogs/TfrmSelectAttrValue.h"
#include "app/dialogs/TfrmSelectChecked.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "common/ScriptedDialogRunner.h"
#include "common/ScriptedDialogs.h"
#include "settings/TIniFile.h"
#include "view/TEgoNetGraphEx.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

template <typename Widget>
Widget* Find(QDialog& dialog, const char* name)
{
    Widget* widget = dialog.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void Press(QDialog& dialog, const char* button)
{
    QTest::mouseClick(Find<QAbstractButton>(dialog, button), Qt::LeftButton);
}

void ClickCell(TListGrid& grid, int row, int col)
{
    const QRect cell = grid.visualItemRect(grid.item(grid.ItemRow(row), col));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
}

class FavouritesTest : public ::testing::Test
{
protected:
    FavouritesTest()
    {
        TIniFile file(ini);
        for (const char* sport : {"Tennis", "Golf", "Chess"})
            file.WriteString("FavoriteSports", sport, "");
        file.UpdateFile();
    }
    QStringList Saved() { return TIniFile(ini).ReadSection("FavoriteSports"); }

    QTemporaryDir dir;
    const QString ini = dir.filePath("Circlewright.ini");
    TScriptedDialogRunner runner;
    QString text;
};

TEST_F(FavouritesTest, CheckedNamesComeBackJoinedInListOrder)
{
    runner.Then([](QDialog& dialog) {
        TListGrid& grid = *Find<TListGrid>(dialog, "asgList");
        EXPECT_EQ(grid.Cell(1, 1), "Chess") << "sorted by name";
        ClickCell(grid, 3, 1);
        ClickCell(grid, 2, 1);
        Press(dialog, "btnOK");
    });
    EXPECT_EQ(PickFromList("Sports", "Check your favourites", text, "FavoriteSports", ini), 1);
    EXPECT_EQ(text, "Golf,Tennis");
    EXPECT_EQ(Saved(), QStringList({"Tennis", "Golf", "Chess"})) << "nothing changed, nothing written";
}

TEST_F(FavouritesTest, ANewEntryIsKeptEvenWhenTheListIsCancelled)
{
    runner.Then([](QDialog& dialog) {
        Press(dialog, "tbNew");
        // The cell editor of the new row.
        QLineEdit* editor = dialog.findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, "Squash");
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor hands its text over from the event loop.
        QCoreApplication::processEvents();
        Press(dialog, "btnCancel");
    });
    EXPECT_EQ(PickFromList("Sports", "", text, "FavoriteSports", ini), 2);
    EXPECT_EQ(text, "");
    EXPECT_TRUE(Saved().contains("Squash"));
}

TEST_F(FavouritesTest, DeletingAsksAndDeletingEverythingEmptiesTheSection)
{
    TScriptedDialogs questions;
    questions.Answer(2);
    questions.Answer(1);
    runner.Then([](QDialog& dialog) {
        Press(dialog, "tbAll");
        Press(dialog, "tbDelete");
        EXPECT_EQ(Find<TListGrid>(dialog, "asgList")->RowCount(), 4) << "\"No, don't do that\"";
        Press(dialog, "tbDelete");
        Press(dialog, "btnOK");
    });
    PickFromList("Sports", "", text, "FavoriteSports", ini);
    ASSERT_EQ(questions.Messages().size(), 2);
    EXPECT_EQ(questions.Messages()[0].Text, "Delete 3 selected items from the list?");
    EXPECT_EQ(questions.Messages()[0].Captions, QStringList({"Yes", "No, don't do that"}));
    EXPECT_TRUE(Saved().isEmpty());
}

TEST(AttributeFilterTest, ChecksEveryValueAndMatchesMissingValuesButNotMissingAttributes)
{
    TEgoNetGraphEx host;
    TEgoNetModel& model = host.Graph().Model();
    for (const char* age : {"10", "9", "na", "2", "", "n/a"})
        model.NewNode({}, QString("age ") + age)->Attributes.AddAttribute("age", age);
    model.NewNode({}, "ageless")->Attributes.AddAttribute("town", "Rome");

    TScriptedDialogRunner runner;
    TScriptedDialogs messages;
    QList<TOrganizedNode*> persons;
    EXPECT_EQ(PickPersonsByAttribute(&host, nullptr, -1, -1), 2);
    runner.Then([](QDialog& dialog) {
        Find<QComboBox>(dialog, "cbAttribute")->setCurrentText("age");
        TListGrid& grid = *Find<TListGrid>(dialog, "asgAttrVal");
        QStringList values;
        GetCheckedTexts(grid, values, 0, 1);
        EXPECT_EQ(values, QStringList({"2", "9", "10", "na"}));
        Press(dialog, "tbNone");
        Press(dialog, "btnOK");
        EXPECT_TRUE(dialog.isVisible()) << "nothing checked";
        SetCheck(grid, true, FindRowByText(grid, "NA", 1), 0);
        Press(dialog, "btnOK");
    });
    EXPECT_EQ(PickPersonsByAttribute(&host, &persons, 500, 40), 1);
    ASSERT_EQ(messages.Messages().size(), 1);
    EXPECT_EQ(messages.Messages()[0].Text, "Select (check) at least one value from then list.");
    QStringList captions;
    for (TOrganizedNode* person : persons)
        captions << person->Caption();
    EXPECT_EQ(captions, QStringList({"age na", "age", "age n/a"}));

    // The attribute chosen last is chosen again.
    runner.Then([](QDialog& dialog) {
        EXPECT_EQ(Find<QComboBox>(dialog, "cbAttribute")->currentText(), "age");
        EXPECT_EQ(dialog.pos(), QPoint(40, 500 - dialog.height()));
    });
    EXPECT_EQ(PickPersonsByAttribute(&host, &persons, 500, 40), 2);
}

TEST(ValuePickerTest, ArrowKeysChooseAndTheListStaysOnTheScreen)
{
    TEgoNetModel model;
    for (const char* town : {"Rome", "Oslo", "Lima"})
        model.NewNode({}, "")->Attributes.AddAttribute("town", town);
    TScriptedDialogRunner runner;
    QString value = "oslo";
    runner.Then([](QDialog& dialog) {
        EXPECT_EQ(dialog.pos().x(), 0) << "near the left edge";
        QListWidget& list = *Find<QListWidget>(dialog, "lbValues");
        EXPECT_EQ(list.currentItem()->text(), "Oslo");
        QTest::keyClick(&list, Qt::Key_Down);
    });
    EXPECT_EQ(PickAttributeValue(&model, true, 100, 10, value, "town"), 1);
    EXPECT_EQ(value, "Rome");

    runner.Then([](QDialog& dialog) {
        QListWidget& list = *Find<QListWidget>(dialog, "lbValues");
        EXPECT_EQ(list.count(), 1);
        EXPECT_EQ(list.item(0)->text(), "na");
        QTest::keyClick(&list, Qt::Key_Escape);
    });
    EXPECT_EQ(PickAttributeValue(&model, false, -1, -1, value, "strength"), 2);
    EXPECT_EQ(value, "Rome");
    EXPECT_EQ(PickAttributeValue(&model, true, -1, -1, value, "  "), 2);
}

} // namespace
