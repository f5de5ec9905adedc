// The view and the layouts it runs going away in either order, also in the middle of a step.
#include "view/TEgoNetGraphDisplay.h"

#include "common/ScriptedDialogs.h"
#include "layout/TEgoOrganizer.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A view of 400 x 300 with persons enough for the dense-graph question (102 persons, 2001 links).
std::unique_ptr<TEgoNetGraphDisplay> DenseView()
{
    auto view = std::make_unique<TEgoNetGraphDisplay>();
    view->resize(400, 300);
    TEgoNetModel& model = view->Model();
    for (int i = 0; i < 102; ++i)
        model.NewNode(QPoint(20 + (i % 10) * 30, 20 + (i / 10) * 25), QString());
    for (int k = 0; k < 2001; ++k)
        model.NewLink(model.GetNode(k % 102), model.GetNode((k * 13 + 5) % 102), QString(), QString());
    return view;
}

TEST(GraphDisplayLayoutTest, AViewClosedDuringItsOwnLayoutStepIsLeftAlone)
{
    // Closed by a handler of the iteration event: the spring layout it owns goes with it.
    std::unique_ptr<TEgoNetGraphDisplay> view = DenseView();
    int iterations = 0;
    view->OnOrganizeIteration = [&](QObject*) {
        if (++iterations == 2)
            view.reset();
    };
    view->Organize(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view; }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(iterations, 2);

    // Closed behind the dense-graph question, with the ego layout of its owner installed; the
    // No that ends the run must not reach the view that is gone.
    view = DenseView();
    TEgoOrganizer ego(view.get());
    view->SetOrganizer(&ego);
    int done = 0;
    view->OnOrganizeDone = [&](QObject*) { ++done; };
    TScriptedDialogs dialogs;
    dialogs.Answer(2);
    dialogs.WhileAsking = [&] { view.reset(); };
    view->Organize(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view; }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(done, 0);
    EXPECT_FALSE(ego.Running());
    EXPECT_EQ(ego.View(), nullptr);
}

TEST(GraphDisplayLayoutTest, ALayoutFreedWhileInstalledIsForgotten)
{
    TEgoNetGraphDisplay view;
    view.resize(400, 300);
    TOrganizedNode* a = view.Model().NewNode({100, 100}, QString());
    view.Model().NewLink(a, view.Model().NewNode({300, 100}, QString()), QString(), QString());
    auto ego = std::make_unique<TEgoOrganizer>(&view);
    view.SetOrganizer(ego.get());
    view.Organize(true);
    ego.reset();
    EXPECT_EQ(view.Organizer(), nullptr);
    view.Organize(true); // nothing to run
    view.Organize(false);
    EXPECT_FALSE(view.SpringOrganizer()->Running());
    // The view's own layout can be installed again.
    view.SetOrganizer(view.SpringOrganizer());
    view.Organize(true);
    EXPECT_TRUE(view.SpringOrganizer()->Running());
    view.Organize(false);
}

} // namespace
