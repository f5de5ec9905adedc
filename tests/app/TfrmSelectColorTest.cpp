#include "app/dialogs/TfrmSelectColor.h"

#include "app/dialogs/ModalResult.h"
#include "app/dialogs/TColorGrid64.h"
#include "common/ScriptedDialogRunner.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

TColorGrid64& GridOf(QDialog& dialog)
{
    return *dialog.findChild<TColorGrid64*>("ColorGrid");
}

} // namespace

TEST(TfrmSelectColor, OpensOnTheColoursCellAndEscapeCancels)
{
    TScriptedDialogRunner runner;
    QList<int> selections;
    bool closed = false;
    runner.Then([&](QDialog& dialog) { selections.append(GridOf(dialog).Selection()); });
    runner.Then([&](QDialog& dialog) {
        selections.append(GridOf(dialog).Selection());
        QTest::keyClick(&GridOf(dialog), Qt::Key_Escape);
        closed = !dialog.isVisible();
    });
    uint32_t inPalette = 0x009900;
    ShowColorPicker(inPalette, -1, -1);
    uint32_t outside = 0x123456;
    EXPECT_EQ(ShowColorPicker(outside, -1, -1), kModalCancel);
    EXPECT_EQ(selections, QList<int>({10, -1}));
    EXPECT_EQ(outside, 0x123456u);
    EXPECT_TRUE(closed);
}

TEST(TfrmSelectColor, PressPicksTheCellAndReleaseClosesWithOk)
{
    TScriptedDialogRunner runner;
    bool openAfterPress = false;
    runner.Then([&](QDialog& dialog) {
        TColorGrid64& grid = GridOf(dialog);
        QTest::mousePress(&grid, Qt::LeftButton, {}, grid.CellRect(17).center());
        openAfterPress = dialog.isVisible();
        QTest::mouseRelease(&grid, Qt::LeftButton, {}, grid.CellRect(17).center());
    });
    uint32_t colour = 0x123456;
    EXPECT_EQ(ShowColorPicker(colour, -1, -1), kModalOK);
    EXPECT_EQ(colour, 0x00CCFFu);
    EXPECT_TRUE(openAfterPress);
}

TEST(TfrmSelectColor, SitsRightOfThePointWhenThereIsNoRoomLeftOfIt)
{
    TScriptedDialogRunner runner;
    QPoint place;
    runner.Then([&](QDialog& dialog) { place = dialog.pos(); });
    uint32_t colour = 0;
    ShowColorPicker(colour, 10, 20);
    EXPECT_EQ(place, QPoint(11, 20));
}
