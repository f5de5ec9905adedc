#include "app/dialogs/TColorGrid64.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

int AfterKey(int from, Qt::Key key)
{
    TColorGrid64 grid;
    grid.SetSelection(from);
    QTest::keyClick(&grid, key);
    return grid.Selection();
}

} // namespace

TEST(TColorGrid64, ArrowsWrapAtTheEdges)
{
    EXPECT_EQ(AfterKey(3, Qt::Key_Up), 58);
    EXPECT_EQ(AfterKey(0, Qt::Key_Up), 63);
    EXPECT_EQ(AfterKey(20, Qt::Key_Up), 12);
    EXPECT_EQ(AfterKey(60, Qt::Key_Down), 5);
    EXPECT_EQ(AfterKey(63, Qt::Key_Down), 0);
    EXPECT_EQ(AfterKey(63, Qt::Key_Right), 0);
    EXPECT_EQ(AfterKey(0, Qt::Key_Left), 63);
    EXPECT_EQ(AfterKey(30, Qt::Key_Home), 0);
    EXPECT_EQ(AfterKey(30, Qt::Key_End), 63);
}

TEST(TColorGrid64, IndexOfColorFindsTheFirstIndex)
{
    EXPECT_EQ(TColorGrid64::IndexOfColor(0x00CCFF), 17);
    EXPECT_EQ(TColorGrid64::IndexOfColor(0x808000), 11);
    EXPECT_EQ(TColorGrid64::IndexOfColor(0x00FFFF), 25);
    EXPECT_EQ(TColorGrid64::IndexOfColor(0x00FF00), 34);
    EXPECT_EQ(TColorGrid64::IndexOfColor(0x123456), -1);
}

TEST(TColorGrid64, LabelsNameTheMarksAndContrastPerChannel)
{
    TColorGrid64 grid;
    EXPECT_EQ(grid.LabelAt(0), "FB");
    grid.SetForegroundIndex(5);
    grid.SetBackgroundIndex(63);
    EXPECT_EQ(grid.LabelAt(5), "FG");
    EXPECT_EQ(grid.LabelAt(63), "BG");
    EXPECT_EQ(grid.LabelAt(0), "");
    // Cell 5 is 0x800040 (R 64, G 0, B 128), its label yellow; cell 63 is white, its label black.
    const QImage image = grid.grab().toImage();
    const auto anyPixel = [&](int cell, auto test) {
        const QRect area = grid.CellRect(cell).adjusted(2, 2, -2, -2);
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (test(image.pixel(x, y)))
                    return true;
        return false;
    };
    EXPECT_TRUE(anyPixel(5, [](QRgb p) { return qRed(p) > 128 && qGreen(p) > 128; }));
    EXPECT_TRUE(anyPixel(63, [](QRgb p) { return qRed(p) < 128; }));
}

TEST(TColorGrid64, SizeIsCutToMultiplesOfEight)
{
    QWidget host;
    auto* grid = new TColorGrid64(&host);
    EXPECT_EQ(grid->size(), QSize(120, 128));
    host.show();
    grid->resize(130, 101);
    EXPECT_EQ(grid->size(), QSize(128, 96));
    EXPECT_EQ(grid->CellRect(63), QRect(112, 84, 16, 12));
}

TEST(TColorGrid64, LeftButtonMarksForegroundRightButtonBackground)
{
    TColorGrid64 grid;
    int changes = 0;
    int clicks = 0;
    grid.OnChange = [&](QObject* sender) { changes += sender == &grid; };
    grid.OnClick = [&](QObject* sender) { clicks += sender == &grid; };
    QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CellRect(9).center());
    EXPECT_EQ(grid.ForegroundIndex(), 9);
    EXPECT_EQ(grid.Selection(), 9);
    QTest::mousePress(&grid, Qt::RightButton, {}, grid.CellRect(20).center());
    EXPECT_EQ(grid.BackgroundIndex(), 20);
    EXPECT_EQ(clicks, 1);
    QTest::mouseRelease(&grid, Qt::RightButton, {}, grid.CellRect(20).center());
    EXPECT_EQ(clicks, 2);
    // The same cell again is no change.
    QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CellRect(9).center());
    EXPECT_EQ(changes, 2);
}
