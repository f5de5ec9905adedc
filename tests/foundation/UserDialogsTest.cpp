#include "common/ScriptedDialogs.h"

#include <gtest/gtest.h>

TEST(UserDialogs, HeadlessDefaultRefusesWithoutWaiting)
{
    EXPECT_EQ(UserDialogs().Ask("Continue anyway?", TMessageKind::Information, {"Yes", "No"}),
              IUserDialogs::Closed);
}

TEST(UserDialogs, InstalledDialogsAnswerUntilRemoved)
{
    {
        TScriptedDialogs script;
        script.Answer(1);
        EXPECT_EQ(UserDialogs().Ask("Continue anyway?", TMessageKind::Information, {"Yes", "No"}), 1);
        UserDialogs().Show("done", TMessageKind::Information);
        ASSERT_EQ(script.Messages().size(), 2);
        EXPECT_EQ(script.Messages()[0].Captions, QStringList({"Yes", "No"}));
        EXPECT_EQ(script.Messages()[1].Text, "done");
    }
    EXPECT_EQ(UserDialogs().Ask("again?", TMessageKind::Information, {"Yes"}), IUserDialogs::Closed);
}
