#include "view/TCursorMan.h"

#include <QGuiApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// The shape of the screen cursor; ArrowCursor stands for "no override", the default cursor.
struct TScreen
{
    bool Override = false;
    Qt::CursorShape Shape = Qt::ArrowCursor;
    int Depth = 0; // overrides stacked in the application

    bool operator==(const TScreen&) const = default;
};

TScreen Screen()
{
    TScreen screen;
    if (const QCursor* cursor = QGuiApplication::overrideCursor()) {
        screen.Override = true;
        screen.Shape = cursor->shape();
    }
    // Count the stack by popping it, then rebuild it.
    QList<QCursor> stack;
    while (const QCursor* cursor = QGuiApplication::overrideCursor()) {
        stack.prepend(*cursor);
        QGuiApplication::restoreOverrideCursor();
    }
    screen.Depth = int(stack.size());
    for (const QCursor& cursor : stack)
        QGuiApplication::setOverrideCursor(cursor);
    return screen;
}

const TScreen kDefault{};
const TScreen kHourglass{true, Qt::WaitCursor, 1};
const TScreen kCross{true, Qt::CrossCursor, 1};

void PrintTo(const TScreen& s, std::ostream* os)
{
    *os << (s.Override ? "override " : "default ") << int(s.Shape) << " depth " << s.Depth;
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

TEST_F(CursorManTest, BusyCursorShowsTheHourglassAndRestoresTheDefault)
{
    ASSERT_FALSE(IsBusy());
    {
        const auto busy = BusyCursor();
        EXPECT_TRUE(IsBusy());
        EXPECT_EQ(Screen(), kHourglass);
    }
    EXPECT_FALSE(IsBusy());
    EXPECT_EQ(Screen(), kDefault);
}

TEST_F(CursorManTest, RestoresTheCursorThatShowedBefore)
{
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    {
        const auto busy = BusyCursor();
        EXPECT_EQ(Screen(), kHourglass); // replaced, not stacked
    }
    EXPECT_EQ(Screen(), kCross);
}

TEST_F(CursorManTest, ANestedGuardRestoresTheDefaultWhileTheOuterOneIsStillHeld)
{
    auto outer = BusyCursor();
    {
        const auto inner = BusyCursor();
        EXPECT_TRUE(IsBusy());
    }
    EXPECT_FALSE(IsBusy());
    EXPECT_EQ(Screen(), kDefault);
    outer.reset();
    EXPECT_EQ(Screen(), kDefault);
}

TEST_F(CursorManTest, ACommandStartedUnderAStrayHourglassEndsWithTheDefaultCursor)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    {
        const auto busy = BusyCursor();
        EXPECT_TRUE(IsBusy());
    }
    EXPECT_EQ(Screen(), kDefault);
}

TEST_F(CursorManTest, AnExceptionStillRestoresTheCursor)
{
    QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
    EXPECT_THROW(
        {
            const auto busy = BusyCursor();
            throw std::runtime_error("command failed");
        },
        std::runtime_error);
    EXPECT_EQ(Screen(), (TScreen{true, Qt::PointingHandCursor, 1}));
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
        EXPECT_EQ(Screen(), kCross);
    }
    EXPECT_EQ(Screen(), kDefault);
    QCoreApplication::processEvents();
    EXPECT_EQ(handled, 2);
}
