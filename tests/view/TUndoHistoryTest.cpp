#include "view/TUndoHistory.h"

#include "ViewTestSupport.h"

#include "settings/GraphFile.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

class UndoHistoryTest : public ViewTest
{
protected:
    UndoHistoryTest()
    {
        ann = AddNode({100, 100}, "Ann");
        bob = AddNode({200, 100}, "Bob");
        Connect(ann, bob);
        history.Reset();
        view.OnEdited = [this](QObject*, const QString& step) { history.Record(step); };
    }
    QStringList Captions()
    {
        QStringList captions;
        for (const TOrganizedNode* node : model().Nodes())
            captions << node->Caption();
        return captions;
    }
    QByteArray Saved(const QString& name)
    {
        const QString path = dir.filePath(name);
        view.WriteGraphFile(path);
        history.MarkSaved();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir dir;
    TUndoHistory history{view};
    TOrganizedNode* ann;
    TOrganizedNode* bob;
};

TEST_F(UndoHistoryTest, ACommandIsOneStepThatUndoesAndRedoesByName)
{
    ann->SetSelected(true);
    commands().DeleteNodes();
    EXPECT_FALSE(history.CanUndo()) << "the step is taken at the next turn of the event loop";
    QCoreApplication::processEvents();
    ASSERT_TRUE(history.CanUndo());
    EXPECT_EQ(history.UndoText(), "Undo Delete Persons");

    history.Undo();
    EXPECT_EQ(Captions(), QStringList({"Ann", "Bob"}));
    EXPECT_EQ(model().LinkCount(), 1);
    EXPECT_EQ(model().GetLink(0)->Source, model().GetNode(0)) << "links join the restored persons";
    EXPECT_EQ(history.RedoText(), "Redo Delete Persons");
    history.Redo();
    EXPECT_EQ(Captions(), QStringList{"Bob"});

    // A new step after an undo drops what could be redone.
    history.Undo();
    model().GetNode(1)->SetSelected(true);
    commands().FreezeNodes();
    history.Flush();
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.UndoText(), "Undo Freeze Persons");
}

TEST_F(UndoHistoryTest, AWholeDragIsOneStepAndUndoingToTheSavedStateClearsTheChange)
{
    const QByteArray before = Saved("a.eng");
    EXPECT_FALSE(view.IsChanged());
    Press({100, 100});
    Drag({120, 110});
    Drag({150, 130});
    Drag({160, 140});
    Release({160, 140});
    history.Flush();
    ASSERT_NE(ann->Position, QPoint(100, 100));
    EXPECT_EQ(history.UndoText(), "Undo Move Persons");
    EXPECT_TRUE(view.IsChanged());

    history.Undo();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(view.IsChanged());
    EXPECT_EQ(model().GetNode(0)->Position, QPoint(100, 100));
    EXPECT_EQ(Saved("b.eng"), before) << "the file after undo and save is the file before the step";
    history.Redo();
    EXPECT_TRUE(view.IsChanged());
}

TEST_F(UndoHistoryTest, EditsOfOneActionJoinAndTheCapDropsTheOldestSteps)
{
    view.Edited("Delete Persons");
    view.Edited("Cut");
    history.Flush();
    history.Undo();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.RedoText(), "Redo Cut");

    history.Cap = history.Bytes() * 3;
    for (int i = 0; i < 6; ++i) {
        AddNode({10 * i, 10}, QString::number(i));
        view.Edited("Add Person");
        history.Flush();
    }
    EXPECT_TRUE(history.Dropped());
    EXPECT_LE(history.Bytes(), history.Cap);
    EXPECT_TRUE(history.UndoText().endsWith("(oldest steps dropped)"));
    while (history.CanUndo())
        history.Undo();
    EXPECT_GT(model().NodeCount(), 2) << "the oldest states are gone";
}

} // namespace
