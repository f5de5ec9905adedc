#include "app/pages/TfrmPagePersons.h"

#include "app/SettingsFiles.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "common/ScriptedDialogRunner.h"
#include "common/ScriptedDialogs.h"
#include "settings/TIniFile.h"
#include "view/TEgoNetGraphEx.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Receives the addresses the page hands to the desktop.
class TUrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> Urls;

public Q_SLOTS:
    void Open(const QUrl& url) { Urls << url; }
};

class PersonsPageTest : public ::testing::Test
{
protected:
    PersonsPageTest()
    {
        SetSettingsDirectory(dir.path());
        TIniFile ini(ProgramIniPath());
        ini.WriteString("Schools", "Harvard", "");
        ini.WriteString("Schools", "Oxford", "");
        ini.UpdateFile();
        ann = model().NewNode({50, 50}, "Ann Lee Smith");
        bob = model().NewNode({150, 50}, "Bob");
        page.AttachGraph(&host);
        page.show();
    }
    ~PersonsPageTest() override { SetSettingsDirectory(QString()); }

    TEgoNetModel& model() { return host.Graph().Model(); }
    template <typename Widget = QLineEdit>
    Widget* Control(const char* name)
    {
        Widget* widget = page.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // A click on the person's name, as the user checks or unchecks it.
    void ClickName(const TOrganizedNode* person)
    {
        TListGrid& grid = page.Grid();
        const int row = FindRowByID(grid, person->ID, 1);
        const QRect cell = grid.visualItemRect(grid.item(grid.ItemRow(row), 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    }
    void Type(const char* field, const QString& text)
    {
        // Typed over, as the user does: only typing counts as a change.
        QLineEdit* edit = Control(field);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    QString Value(const TOrganizedNode* person, const QString& key)
    {
        QString value;
        person->Attributes.GetValue(key, value);
        return value;
    }

    QTemporaryDir dir;
    TEgoNetGraphEx host;
    TfrmPagePersons page;
    TOrganizedNode* ann;
    TOrganizedNode* bob;
};

TEST_F(PersonsPageTest, OnePersonLoadsSplitsItsCaptionAndStoresItBack)
{
    QList<TEgoNetObject*> focused;
    page.OnPersonFocused = [&](QObject*, TEgoNetObject* person) { focused << person; };
    ClickName(ann);
    EXPECT_EQ(focused, QList<TEgoNetObject*>{ann});
    EXPECT_EQ(Control("edFirstName")->text(), "Ann");
    EXPECT_EQ(Control("edLastName")->text(), "Lee Smith");
    EXPECT_TRUE(ann->Selected());
    host.Graph().SetIsChanged(false);

    Type("edEMail", "ann@example.org");
    ClickName(bob);
    EXPECT_EQ(ann->Caption(), "Ann Lee Smith");
    EXPECT_EQ(Value(ann, "email"), "ann@example.org");
    EXPECT_TRUE(host.Graph().IsChanged());

    // Emptying both names empties the caption; the grid shows it.
    ClickName(bob);
    Type("edFirstName", "");
    Type("edLastName", "");
    page.CommitEdits();
    EXPECT_EQ(ann->Caption(), "");
    EXPECT_EQ(page.Grid().Cell(1, FindRowByID(page.Grid(), ann->ID, 1)), "");
}

TEST_F(PersonsPageTest, GroupModeShowsSharedValuesAndWritesOnlyWhatWasTyped)
{
    ann->Attributes.SetValue("sex", "male");
    bob->Attributes.SetValue("sex", "female");
    ann->Attributes.SetValue("education", "MIT");
    bob->Attributes.SetValue("education", "MIT");
    ClickName(ann);
    ClickName(bob);
    EXPECT_EQ(Control<QLabel>("lbFullName")->text(), "group mode...");
    EXPECT_EQ(Control<QComboBox>("cbSex")->currentText(), "");
    EXPECT_EQ(Control<QComboBox>("cbSchools")->currentText(), "MIT") << "a value missing from the list still shows";
    Type("edEMail", "team@example.org");
    page.CommitEdits();
    EXPECT_EQ(Value(ann, "email"), "team@example.org");
    EXPECT_EQ(Value(bob, "email"), "team@example.org");
    EXPECT_EQ(Value(ann, "sex"), "male");
    EXPECT_EQ(Value(bob, "sex"), "female");
    EXPECT_EQ(Value(bob, "education"), "MIT");
    EXPECT_EQ(bob->Caption(), "Bob");

    Type("edFirstName", "Max");
    page.CommitEdits();
    EXPECT_EQ(ann->Caption(), "Max");
    EXPECT_EQ(bob->Caption(), "Max");

    // Unchecking one of two switches to single mode for the other.
    ClickName(ann);
    EXPECT_EQ(page.EditedPersons(), QList<TOrganizedNode*>{bob});
    EXPECT_EQ(Control<QLabel>("lbFullName")->text(), "Max");
}

TEST_F(PersonsPageTest, StoringAPersonKeepsAnEducationMissingFromTheList)
{
    ann->Attributes.SetValue("education", "MIT");
    ClickName(ann);
    Type("edEMail", "ann@example.org");
    page.CommitEdits();
    EXPECT_EQ(Value(ann, "education"), "MIT");
}

TEST_F(PersonsPageTest, EnterMovesToTheNextFieldAndKeepsNewSchools)
{
    ClickName(ann);
    QTest::keyClick(Control<QComboBox>("cbYear"), Qt::Key_Return);
    EXPECT_EQ(page.focusWidget(), Control<QComboBox>("cbSchools"));
    QTest::keyClick(Control("edEMail"), Qt::Key_Return);
    EXPECT_EQ(page.focusWidget(), Control("edHomePhone_Area"));

    QComboBox* schools = Control<QComboBox>("cbSchools");
    schools->setEditText("Yale");
    QTest::keyClick(schools, Qt::Key_Return);
    EXPECT_EQ(TIniFile(ProgramIniPath()).ReadSection("Schools"), QStringList({"Harvard", "Oxford", "Yale"}));
    EXPECT_EQ(page.focusWidget(), Control<QComboBox>("cbWork"));
}

TEST_F(PersonsPageTest, NewPersonTwiceAndDeletePersons)
{
    page.btnNewPersonClick();
    page.btnNewPersonClick();
    ASSERT_EQ(model().NodeCount(), 4);
    TOrganizedNode* first = model().GetNode(2);
    TOrganizedNode* second = model().GetNode(3);
    EXPECT_EQ(first->Position, second->Position);
    EXPECT_NE(first->Caption(), second->Caption());
    EXPECT_EQ(page.EditedPersons(), QList<TOrganizedNode*>{second});
    EXPECT_TRUE(page.NamesChanged);

    TScriptedDialogs questions;
    questions.Answer(2);
    questions.Answer(1);
    page.btnDeleteClick();
    EXPECT_EQ(questions.Messages().at(0).Text, "Delete \"" + second->Caption() + "\"?");
    EXPECT_EQ(model().NodeCount(), 4);
    page.btnDeleteClick();
    EXPECT_EQ(model().NodeCount(), 3);
    EXPECT_EQ(page.Grid().RowCount(), 4);
    EXPECT_TRUE(page.EditedPersons().isEmpty());
}

TEST_F(PersonsPageTest, APersonDeletedElsewhereIsNeverTouched)
{
    ClickName(ann);
    Type("edEMail", "ann@example.org");
    model().DeleteNode(ann);
    page.CommitEdits();
    ClickName(bob);
    EXPECT_EQ(page.EditedPersons(), QList<TOrganizedNode*>{bob});
}

TEST_F(PersonsPageTest, FilterThenShowAllKeepsTheChecks)
{
    ann->Attributes.SetValue("sex", "female");
    bob->Attributes.SetValue("sex", "male");
    ClickName(ann);
    TScriptedDialogRunner runner;
    runner.Then([](QDialog& dialog) {
        dialog.findChild<QComboBox*>("cbAttribute")->setCurrentText("sex");
        TListGrid& values = *dialog.findChild<TListGrid*>("asgAttrVal");
        SetCheck(values, false, FindRowByText(values, "male", 1), 0);
        dialog.findChild<QPushButton*>("btnOK")->click();
    });
    QTest::mousePress(Control<QLabel>("lbFilter"), Qt::LeftButton);
    ASSERT_EQ(page.Grid().RowCount(), 2) << "only Ann is listed";
    EXPECT_TRUE(IsChecked(page.Grid(), 1, 0));
    QTest::mouseClick(Control<QLabel>("lbShowAll"), Qt::LeftButton);
    ASSERT_EQ(page.Grid().RowCount(), 3);
    EXPECT_TRUE(IsChecked(page.Grid(), FindRowByID(page.Grid(), ann->ID, 1), 0));
    EXPECT_FALSE(IsChecked(page.Grid(), FindRowByID(page.Grid(), bob->ID, 1), 0));
}

TEST_F(PersonsPageTest, PicturesThatCannotBeReadAreReportedAndChangeNothing)
{
    ClickName(ann);
    const QString broken = dir.filePath("broken.jpg");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    TScriptedDialogRunner runner;
    TScriptedDialogs messages;
    runner.Then([&](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(broken);
        dialog.accept();
    });
    QTest::mouseClick(Control<QLabel>("lbAddPhoto"), Qt::LeftButton);
    ASSERT_EQ(messages.Messages().size(), 1);
    EXPECT_EQ(messages.Messages()[0].Kind, TMessageKind::Warning);
    EXPECT_FALSE(page.FormModified());
}

TEST_F(PersonsPageTest, SendEMailChecksTheAddress)
{
    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler("mailto", &catcher, "Open");
    TScriptedDialogs messages;
    Type("edEMail", " ann.example.org ");
    QTest::mouseClick(Control<QLabel>("lbSendEMail"), Qt::LeftButton);
    EXPECT_EQ(messages.Messages().at(0).Text, "Please enter valid e-mail address.");
    EXPECT_EQ(Control("edEMail")->text(), "ann.example.org");
    Type("edEMail", "ann@example.org");
    QTest::mouseClick(Control<QLabel>("lbSendEMail"), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("mailto");
    ASSERT_EQ(catcher.Urls.size(), 1);
    EXPECT_EQ(catcher.Urls[0].toString(), "mailto:ann@example.org?subject=Message from Circlewright&body=");
}

TEST_F(PersonsPageTest, AttachingAGraphGivesEveryPersonTheStandardKeysAndAnEmptyForm)
{
    EXPECT_EQ(Value(bob, "name_first"), "Bob");
    EXPECT_EQ(Value(bob, "cellphone"), "na");
    EXPECT_EQ(Value(ann, "name_last"), "Lee Smith");
    ClickName(ann);
    page.AttachGraph(&host);
    EXPECT_EQ(CountChecked(page.Grid(), 0), 0);
    EXPECT_EQ(Control("edFirstName")->text(), "");
}

} // namespace

#include "TfrmPagePersonsTest.moc"
