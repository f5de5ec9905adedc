#include "app/pages/TfrmPageAttributes.h"

#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "common/ScriptedDialogRunner.h"
#include "common/ScriptedDialogs.h"
#include "view/TEgoNetGraphEx.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class AttributesPageTest : public ::testing::Test
{
protected:
    AttributesPageTest()
    {
        ann = AddPerson("Ann Lee", "Ann", {{"city", "Paris"}, {"age", "30"}, {"movies", "Heat"}});
        bob = AddPerson("Bob", "Bob", {{"city", "Oslo"}, {"age", "40"}});
        cy = AddPerson("Cy", "Cy", {{"city", "Lima"}, {"age", "50"}});
        // The page's list resolves the persons through the model each time, as the Persons page does.
        page.EditedPersons = [this] {
            QList<TOrganizedNode*> persons;
            for (const QString& id : std::as_const(edited))
                if (TOrganizedNode* person = model().FindNodeByID(id))
                    persons << person;
            return persons;
        };
        page.AttachGraph(&host);
        page.resize(400, 600);
        page.show();
    }

    TEgoNetModel& model() { return host.Graph().Model(); }
    TOrganizedNode* AddPerson(const QString& caption, const QString& first, const QList<QStringList>& attributes)
    {
        TOrganizedNode* person = model().NewNode({10, 10}, caption);
        person->Attributes.AddAttribute("name_first", first);
        person->Attributes.AddAttribute("sex", "female");
        for (const QStringList& attribute : attributes)
            person->Attributes.AddAttribute(attribute[0], attribute[1]);
        return person;
    }
    // The persons the Persons page edits, as the tab shows them.
    void Edit(const QList<TOrganizedNode*>& persons)
    {
        edited.clear();
        for (const TOrganizedNode* person : persons)
            edited << person->ID;
        page.AttachGraph(nullptr);
    }
    QString Value(const TEgoNetObject* object, const QString& name)
    {
        QString value;
        object->Attributes.GetValue(name, value);
        return value;
    }
    QStringList Names(TListGrid& grid)
    {
        QStringList names;
        for (int row = 1; row < grid.RowCount(); ++row)
            names << grid.Cell(0, row);
        return names;
    }
    static int Row(TListGrid& grid, const QString& name) { return FindRowByText(grid, name, 0); }
    template <typename Widget = QToolButton>
    Widget* Control(const char* name)
    {
        Widget* widget = page.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // The queued hand-overs of the editors and the page.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    // The cell editor now open in the grid, if any (released ones are hidden until deleted).
    static QLineEdit* Editor(TListGrid& grid)
    {
        for (QLineEdit* edit : grid.viewport()->findChildren<QLineEdit*>())
            if (edit->isVisible())
                return edit;
        return nullptr;
    }
    static QLineEdit* ClickCell(TListGrid& grid, int col, int row)
    {
        const QRect cell = grid.visualItemRect(grid.item(grid.ItemRow(row), col));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        return Editor(grid);
    }
    static void TypeInto(QLineEdit* editor, const QString& text)
    {
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        Settle();
    }
    // Types over a cell and presses Enter, which commits.
    static void Type(TListGrid& grid, int col, int row, const QString& text) { TypeInto(ClickCell(grid, col, row), text); }
    void SelectRow(TListGrid& grid, const QString& name) { grid.setCurrentCell(grid.ItemRow(Row(grid, name)), 0); }

    TScriptedDialogs dialogs;
    TEgoNetGraphEx host;
    TfrmPageAttributes page;
    TOrganizedNode* ann;
    TOrganizedNode* bob;
    TOrganizedNode* cy;
    QStringList edited;
};

// Showing

TEST_F(AttributesPageTest, OnePersonShowsItsFreeAttributesSortedWithoutThePersonalKeys)
{
    Edit({ann});
    TListGrid& grid = page.PersonGrid();
    EXPECT_EQ(grid.Cell(0, 0), "Name");
    EXPECT_EQ(grid.Cell(1, 0), "Value");
    EXPECT_EQ(Names(grid), QStringList({"age", "city", "movies"})) << "movies is a free attribute";
    EXPECT_EQ(grid.Cell(1, Row(grid, "city")), "Paris");
    auto* label = Control<QLabel>("lbFullName");
    EXPECT_EQ(label->text(), "Ann Lee");
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->font().pointSize(), 13);
    EXPECT_FALSE(page.TablesModified());

    Edit({});
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(label->text(), "");
}

TEST_F(AttributesPageTest, GroupModeShowsSharedValuesAndKeepsTheOthers)
{
    ann->Attributes.SetValue("city", "Oslo");
    Edit({ann, bob});
    TListGrid& grid = page.PersonGrid();
    EXPECT_EQ(Control<QLabel>("lbFullName")->text(), "group mode (2)...");
    EXPECT_EQ(Control<QLabel>("lbFullName")->alignment() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(grid.Cell(1, Row(grid, "age")), "") << "30 and 40";
    EXPECT_EQ(grid.Cell(1, Row(grid, "city")), "Oslo");
    EXPECT_EQ(grid.Cell(1, Row(grid, "movies")), "") << "Bob has none";

    Type(grid, 1, Row(grid, "city"), "Rome");
    EXPECT_EQ(Value(ann, "city"), "Rome");
    EXPECT_EQ(Value(bob, "city"), "Rome");
    EXPECT_EQ(Value(cy, "city"), "Lima");
    EXPECT_EQ(Value(ann, "age"), "30");
    EXPECT_EQ(Value(bob, "age"), "40");
    EXPECT_EQ(Value(ann, "movies"), "Heat");
    EXPECT_EQ(Value(ann, "name_first"), "Ann");
    EXPECT_EQ(Value(bob, "name_first"), "Bob");
    EXPECT_EQ(Value(bob, "sex"), "female");
    EXPECT_TRUE(host.Graph().IsChanged());
    EXPECT_FALSE(page.TablesModified());
}

// Names

TEST_F(AttributesPageTest, RenamingRenamesForEveryPersonAlsoTwiceInOneVisit)
{
    Edit({ann});
    TListGrid& grid = page.PersonGrid();
    Type(grid, 0, Row(grid, "city"), "town");
    for (const TOrganizedNode* person : {ann, bob, cy})
        EXPECT_FALSE(person->Attributes.HasAttribute("city")) << person->Caption().toStdString();
    EXPECT_EQ(Value(ann, "town"), "Paris");
    EXPECT_EQ(Value(bob, "town"), "Oslo");
    EXPECT_EQ(Value(cy, "town"), "Lima");
    EXPECT_EQ(Value(bob, "name_first"), "Bob");

    // Without the table being rebuilt in between.
    Type(grid, 0, Row(grid, "town"), "place");
    EXPECT_EQ(Value(bob, "place"), "Oslo");
    EXPECT_EQ(Value(cy, "place"), "Lima");
    EXPECT_FALSE(bob->Attributes.HasAttribute("town"));
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(AttributesPageTest, ANewRowGivesEveryPersonTheAttribute)
{
    Edit({ann});
    TListGrid& grid = page.PersonGrid();
    QTest::mouseClick(Control("tbPNew"), Qt::LeftButton);
    ASSERT_EQ(grid.RowCount(), 5);
    const QRect cell = grid.visualItemRect(grid.item(grid.ItemRow(4), 0));
    EXPECT_EQ(page.PickerAnchor(), grid.viewport()->mapTo(&grid, QPoint(111 - 20, cell.top() + 1)));
    TypeInto(Editor(grid), "hobby");
    Type(grid, 1, Row(grid, "hobby"), "chess");
    EXPECT_EQ(Value(ann, "hobby"), "chess");
    EXPECT_EQ(Value(bob, "hobby"), "na");
    EXPECT_EQ(Value(cy, "hobby"), "na");
}

TEST_F(AttributesPageTest, DeletingARowAsksAndTheCommitOffersThreeAnswers)
{
    Edit({ann});
    TListGrid& grid = page.PersonGrid();
    const QString question = "Delete the attribute \"city\" from all other persons attributes as well?";

    SelectRow(grid, "city");
    dialogs.Answer(2);
    QTest::mouseClick(Control("tbPDelete"), Qt::LeftButton);
    EXPECT_EQ(dialogs.Messages().at(0).Text, "Delete attribute \"city\" from the list?");
    EXPECT_EQ(dialogs.Messages().at(0).Captions, QStringList({"Yes, go ahead", "Cancel"}));
    EXPECT_NE(Row(grid, "city"), -1) << "kept";

    // "Cancel": nothing is written.
    dialogs.Answer(1);
    dialogs.Answer(3);
    QTest::mouseClick(Control("tbPDelete"), Qt::LeftButton);
    EXPECT_EQ(Row(grid, "city"), -1);
    EXPECT_TRUE(page.TablesModified());
    page.CommitEdits();
    EXPECT_EQ(dialogs.Messages().last().Text, question);
    EXPECT_EQ(dialogs.Messages().last().Kind, TMessageKind::Information);
    EXPECT_EQ(dialogs.Messages().last().Captions, QStringList({"No", "Delete from all nodes", "Cancel"}));
    EXPECT_EQ(Value(ann, "city"), "Paris");

    // "No": the attribute stays, without the edited person's value. The Delete key does the same.
    Edit({ann});
    SelectRow(grid, "city");
    dialogs.Answer(1);
    dialogs.Answer(1);
    QTest::keyClick(&grid, Qt::Key_Delete);
    page.CommitEdits();
    EXPECT_EQ(Value(ann, "city"), "na");
    EXPECT_TRUE(ann->Attributes.HasAttribute("city"));
    EXPECT_EQ(Value(bob, "city"), "Oslo");

    // "Delete from all nodes".
    Edit({ann});
    SelectRow(grid, "city");
    dialogs.Answer(1);
    dialogs.Answer(2);
    QTest::mouseClick(Control("tbPDelete"), Qt::LeftButton);
    page.CommitEdits();
    for (const TOrganizedNode* person : {ann, bob, cy})
        EXPECT_FALSE(person->Attributes.HasAttribute("city"));
    EXPECT_EQ(Value(bob, "age"), "40");
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(AttributesPageTest, EmptyRowsAndEmptiedNamesGoWithoutAQuestion)
{
    Edit({ann});
    TListGrid& grid = page.PersonGrid();
    QTest::mouseClick(Control("tbPNew"), Qt::LeftButton);
    QTest::keyClick(Editor(grid), Qt::Key_Escape);
    Settle();
    ASSERT_EQ(grid.RowCount(), 5);
    grid.setCurrentCell(grid.ItemRow(4), 0);
    QTest::mouseClick(Control("tbPDelete"), Qt::LeftButton);
    EXPECT_EQ(grid.RowCount(), 4);

    Type(grid, 0, Row(grid, "city"), "  ");
    for (const TOrganizedNode* person : {ann, bob, cy})
        EXPECT_FALSE(person->Attributes.HasAttribute("city"));
    EXPECT_EQ(Value(cy, "age"), "50");
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(AttributesPageTest, EditOpensTheSelectedCellAndPersonsGoneElsewhereAreNotTouched)
{
    Edit({ann, bob});
    TListGrid& grid = page.PersonGrid();
    QTest::mouseClick(Control("tbPEdit"), Qt::LeftButton);
    EXPECT_EQ(Editor(grid), nullptr) << "no cell selected";
    grid.setCurrentCell(grid.ItemRow(Row(grid, "age")), 1);
    QTest::mouseClick(Control("tbPEdit"), Qt::LeftButton);
    model().DeleteNode(bob);
    TypeInto(Editor(grid), "33");
    EXPECT_EQ(Value(ann, "age"), "33");
    EXPECT_EQ(Value(cy, "age"), "50");
}

// The value picker

TEST_F(AttributesPageTest, ThePickerOpensBesideThePressedCellAndItsValueIsWrittenWithTheNextCommit)
{
    Edit({ann});
    TListGrid& grid = page.PersonGrid();
    const QRect cell = grid.visualItemRect(grid.item(grid.ItemRow(Row(grid, "city")), 1));
    QLineEdit* editor = ClickCell(grid, 1, Row(grid, "city"));
    ASSERT_NE(editor, nullptr);
    const int rightEdge = grid.columnViewportPosition(1) + grid.columnWidth(1);
    const QPoint anchor = grid.viewport()->mapTo(&grid, QPoint(rightEdge - 20, cell.center().y()));
    EXPECT_EQ(page.PickerAnchor(), anchor);

    TScriptedDialogRunner runner;
    QStringList offered;
    QPoint shownAt;
    runner.Then([&](QDialog& dialog) {
        // What the modal loop would run meanwhile: the picker took the focus and the edit ended.
        Settle();
        auto& list = *dialog.findChild<QListWidget*>("lbValues");
        for (int i = 0; i < list.count(); ++i)
            offered << list.item(i)->text();
        shownAt = dialog.pos();
        list.setCurrentRow(int(offered.indexOf("Oslo")));
        dialog.accept();
    });
    auto* button = editor->findChild<QToolButton*>("btnPickValue");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "...");
    QTest::mouseClick(button, Qt::LeftButton);
    Settle();
    ASSERT_EQ(runner.Shown(), 1);
    EXPECT_EQ(offered, QStringList({"Lima", "Oslo", "Paris"}));
    const QPoint global = grid.mapToGlobal(anchor);
    EXPECT_EQ(shownAt.y(), global.y());
    EXPECT_EQ(grid.Cell(1, Row(grid, "city")), "Oslo");
    EXPECT_TRUE(page.TablesModified());
    EXPECT_EQ(Value(ann, "city"), "Paris") << "written with the next commit";
    page.CommitEdits();
    EXPECT_EQ(Value(ann, "city"), "Oslo");
    EXPECT_EQ(Value(bob, "city"), "Oslo");
    EXPECT_EQ(Value(cy, "city"), "Lima");
}

// Links

class AttributesPageLinksTest : public AttributesPageTest
{
protected:
    AttributesPageLinksTest()
    {
        first = model().NewLink(ann, bob, "friend", "");
        second = model().NewLink(bob, cy, "friend", "");
        other = model().NewLink(ann, cy, "friend", "");
        other->Attributes.AddAttribute("strength", "0.5");
        first->Attributes.AddAttribute("since", "2001");
    }
    void Select(const QList<TEgoNetEdge*>& links)
    {
        for (TEgoNetEdge* link : model().Links())
            link->SetSelected(links.contains(link));
        page.ShowSelectedLinks();
    }

    TEgoNetEdge* first;
    TEgoNetEdge* second;
    TEgoNetEdge* other;
};

TEST_F(AttributesPageLinksTest, LinksWithoutAStrengthShowTheLastOnesOwn)
{
    second->Strength = 0.7f;
    Select({first, second});
    TListGrid& grid = page.LinkGrid();
    EXPECT_EQ(page.EditedLinks(), QList<TEgoNetEdge*>({first, second}));
    EXPECT_EQ(Names(grid), QStringList({"since", "strength"}));
    const QString shown = "0" + QLocale().decimalPoint() + "7";
    EXPECT_EQ(grid.Cell(1, Row(grid, "strength")), shown);
    EXPECT_EQ(Value(second, "strength"), shown);
    EXPECT_EQ(Value(first, "strength"), "na");
    EXPECT_EQ(grid.Cell(1, Row(grid, "since")), "") << "the second link has none";

    // Two different values: no stand-in.
    first->Attributes.SetValue("strength", "0.2");
    second->Attributes.SetValue("strength", "0.9");
    Select({first, second});
    EXPECT_EQ(grid.Cell(1, Row(grid, "strength")), "");
    EXPECT_EQ(Value(second, "strength"), "0.9");
}

TEST_F(AttributesPageLinksTest, LinkEditsGoToTheSelectedLinksAndDeletingCommitsAtOnce)
{
    Select({first});
    TListGrid& grid = page.LinkGrid();
    Type(grid, 1, Row(grid, "since"), "1999");
    EXPECT_EQ(Value(first, "since"), "1999");
    EXPECT_EQ(Value(second, "since"), "na");

    Type(grid, 0, Row(grid, "since"), "met");
    EXPECT_EQ(Value(first, "met"), "1999");
    EXPECT_TRUE(other->Attributes.HasAttribute("met"));
    EXPECT_FALSE(other->Attributes.HasAttribute("since"));

    SelectRow(grid, "met");
    dialogs.Answer(1);
    dialogs.Answer(2);
    QTest::mouseClick(Control("tbLDelete"), Qt::LeftButton);
    EXPECT_EQ(dialogs.Messages().last().Text, "Delete the attribute \"met\" from all other link attributes as well?");
    EXPECT_EQ(dialogs.Messages().last().Captions, QStringList({"No", "Delete from all links", "Cancel"}));
    for (const TEgoNetEdge* link : {first, second, other})
        EXPECT_FALSE(link->Attributes.HasAttribute("met"));
    EXPECT_EQ(Value(other, "strength"), "0.5");
}

TEST_F(AttributesPageLinksTest, EnterInTheLinkTableNeedsASelectedLink)
{
    TListGrid& grid = page.LinkGrid();
    QTest::mouseClick(Control("tbLNew"), Qt::LeftButton);
    QLineEdit* editor = Editor(grid);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "since");
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].Text, "Select links on the graph to assign the attributes.");
    EXPECT_EQ(Editor(grid), editor) << "the key is swallowed";
    QTest::keyClick(editor, Qt::Key_Escape);
    Settle();
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(dialogs.Messages().size(), 2);

    // A link selected on the graph meanwhile takes the value shown in the table.
    Select({first});
    grid.item(grid.ItemRow(Row(grid, "since")), 1)->setText("1990");
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(dialogs.Messages().size(), 2);
    EXPECT_EQ(Value(first, "since"), "1990");
    EXPECT_FALSE(page.TablesModified());
}

TEST_F(AttributesPageLinksTest, PendingLinkEditsGoToTheirLinksAndDeletedLinksAreNotTouched)
{
    second->Attributes.AddAttribute("since", "1975");
    Select({first});
    TListGrid& grid = page.LinkGrid();
    QLineEdit* editor = ClickCell(grid, 1, Row(grid, "since"));
    ASSERT_NE(editor, nullptr);
    EXPECT_GT(page.PickerAnchor().y(), page.PersonGrid().height()) << "the link table lies below the person table";
    TScriptedDialogRunner runner;
    runner.Then([&](QDialog& dialog) {
        // The picker takes the focus: the editor closes, and what it held is written then.
        QTest::keyClick(editor, Qt::Key_Escape);
        Settle();
        dialog.findChild<QListWidget*>("lbValues")->setCurrentRow(0);
        dialog.accept();
    });
    QTest::mouseClick(editor->findChild<QToolButton*>("btnPickValue"), Qt::LeftButton);
    Settle();
    EXPECT_EQ(grid.Cell(1, Row(grid, "since")), "1975");
    EXPECT_EQ(Value(first, "since"), "2001") << "written with the next commit";
    // Choosing other links on the graph writes it to the link it was picked for.
    Select({second});
    EXPECT_EQ(Value(first, "since"), "1975");
    EXPECT_EQ(page.EditedLinks(), QList<TEgoNetEdge*>{second});

    model().DeleteShownLink(second);
    EXPECT_TRUE(page.EditedLinks().isEmpty());
    page.CommitEdits();
}

// The page's controls

TEST_F(AttributesPageTest, ControlsCarryTheirCaptionsAsAccessibleNamesAndTheBackButtonsRaiseTheirEvents)
{
    const QList<std::pair<const char*, QString>> controls{
        {"lblPersonAttributes", "Person attributes:"}, {"asgPAttributes", "Person attributes:"},
        {"tbPNew", "New"}, {"tbPEdit", "Edit"}, {"tbPDelete", "Delete"},
        {"btnBackToPersons", "Back to Persons"}, {"lblLinkAttributes", "Link attributes:"},
        {"asgLAttributes", "Link attributes:"}, {"tbLNew", "New"}, {"tbLEdit", "Edit"}, {"tbLDelete", "Delete"},
        {"btnBackToConnections", "Back to Connections"},
        {"lblSelectLinks", "Select links on the graph to view the attributes."}};
    for (const auto& [name, caption] : controls) {
        QWidget* widget = Control<QWidget>(name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->isVisible()) << name;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), caption) << name;
    }
    for (const char* hidden : {"tbPAll", "tbPNone", "tbLAll", "tbLNone"})
        EXPECT_FALSE(Control<QWidget>(hidden)->isVisible()) << hidden;

    QList<QObject*> persons;
    QList<QObject*> connections;
    page.OnBackToPersons = [&](QObject* sender) { persons << sender; };
    page.OnBackToConnections = [&](QObject* sender) { connections << sender; };
    QTest::mouseClick(Control<QPushButton>("btnBackToPersons"), Qt::LeftButton);
    EXPECT_EQ(persons, QList<QObject*>{&page});
    EXPECT_TRUE(connections.isEmpty());
    QTest::mouseClick(Control<QPushButton>("btnBackToConnections"), Qt::LeftButton);
    EXPECT_EQ(connections, QList<QObject*>{&page});
}

} // namespace
