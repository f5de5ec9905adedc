#include "view/TCursorMan.h"

#include <QGuiApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// The shape of the override cursor, -1 for none (the default cursor).
int ScreenCursor()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? int(cursor->shape()) : -1;
}

// The user's cursor, set before a command starts.
void SetCursor(Qt::CursorShape shape)
{
    QGuiApplication::setOverrideCursor(shape);
}

struct CursorManTest : ::testing::Test
{
    void TearDown() override
    {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
};

} // namespace

TEST_F(CursorManTest, BusyCursorShowsTheHourglassAndPutsBackWhatShowedBefore)
{
    {
        const auto busy = BusyCursor();
        EXPECT_TRUE(IsBusy());
    }
    EXPECT_EQ(ScreenCursor(), -1);

    SetCursor(Qt::CrossCursor);
    {
        const auto busy = BusyCursor();
        EXPECT_EQ(ScreenCursor(), Qt::WaitCursor);
    }
    EXPECT_EQ(ScreenCursor(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor(); // replaced, never stacked
    EXPECT_EQ(ScreenCursor(), -1);
}

TEST_F(CursorManTest, AGuardMadeUnderTheHourglassRestoresTheDefaultCursor)
{
    auto outer = BusyCursor();
    {
        const auto inner = BusyCursor();
        EXPECT_TRUE(IsBusy());
    }
    EXPECT_EQ(ScreenCursor(), -1); // even though the outer guard is still held
    outer.reset();
    EXPECT_EQ(ScreenCursor(), -1);

    SetCursor(Qt::WaitCursor); // left over from elsewhere
    BusyCursor().reset();
    EXPECT_EQ(ScreenCursor(), -1);
}

TEST_F(CursorManTest, AnExceptionStillRestoresTheCursor)
{
    SetCursor(Qt::PointingHandCursor);
    EXPECT_THROW(
        {
            const auto busy = BusyCursor();
            throw std::runtime_error("command failed");
        },
        std::runtime_error);
    EXPECT_EQ(ScreenCursor(), Qt::PointingHandCursor);
}

TEST_F(CursorManTest, PendingEventsAreHandledOnlyWhenTheCursorChanges)
{
    int handled = 0;
    QTimer::singleShot(0, [&] { ++handled; });
    {
        const TCursorMan cross(Qt::CrossCursor);
        EXPECT_EQ(handled, 1); // the new cursor shows before the command goes on
        QTimer::singleShot(0, [&] { ++handled; });
        const TCursorMan same(Qt::CrossCursor);
        EXPECT_EQ(handled, 1);
    }
    EXPECT_EQ(ScreenCursor(), -1);
    QCoreApplication::processEvents();
    EXPECT_EQ(handled, 2);
}
