#include "app/mainwindow/TfrmMain.h"

#include "app/SettingsFiles.h"
#include "app/dialogs/TfrmAbout.h"
#include "app/dialogs/TfrmFind.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "app/mainwindow/HelpFiles.h"
#include "app/mainwindow/StartUp.h"
#include "app/mainwindow/TAutoSave.h"
#include "app/pages/TfrmPageConnections.h"
#include "app/pages/TfrmPagePersons.h"
#include "common/ScriptedDialogRunner.h"
#include "common/ScriptedDialogs.h"
#include "settings/GraphFile.h"
#include "settings/TIniFile.h"
#include "layout/TEgoOrganizer.h"
#include "view/TCursorMan.h"
#include "view/TEgoNetGraphEx.h"
#include "view/TGraphClipboard.h"
#include "view/TGraphCommands.h"
#include "view/TGraphDocument.h"
#include "view/ViewEvents.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

using TSave = TfrmMain::TSaveResult;

class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest()
    {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    TEgoNetGraphDisplay& view() { return window.G().Graph(); }
    TEgoNetModel& model() { return view().Model(); }
    QString Path(const QString& name) const { return QDir(dir.path()).absoluteFilePath(name); }
    // A graph file of the given persons, written as the program writes it.
    QString GraphFile(const QString& name, const QStringList& persons)
    {
        TEgoNetModel graph;
        for (int i = 0; i < persons.size(); ++i)
            graph.NewNode({40 + 60 * i, 50}, persons[i]);
        TEgoNetDisplaySettings settings;
        WriteGraphFile(Path(name), TGraphHeader{}, settings, graph);
        return Path(name);
    }
    QStringList Captions(const QString& fileName)
    {
        TGraphHeader header;
        TEgoNetDisplaySettings settings;
        TEgoNetModel graph;
        EXPECT_TRUE(ReadGraphFile(fileName, header, settings, graph));
        QStringList captions;
        for (int i = 0; i < graph.NodeCount(); ++i)
            captions << graph.GetNode(i)->Caption();
        return captions;
    }
    // The save dialog's step: the file is typed in and accepted, or the dialog is cancelled.
    void SaveDialogAnswers(const QString& fileName)
    {
        runner.Then([fileName](QDialog& dialog) {
            if (fileName.isEmpty())
                return dialog.reject();
            static_cast<QFileDialog&>(dialog).selectFile(fileName);
            dialog.accept();
        });
    }
    QStringList Questions() const
    {
        QStringList texts;
        for (const auto& message : dialogs.Messages())
            texts << message.Text;
        return texts;
    }
    QAction* Action(const char* name) { return window.findChild<QAction*>(name); }

    // Settings and recovery copies go to the test's folder from before the window is made.
    struct TSettingsIn
    {
        explicit TSettingsIn(const QString& folder) { SetSettingsDirectory(folder); }
        ~TSettingsIn() { SetSettingsDirectory(QString()); }
    };

    QTemporaryDir dir;
    TSettingsIn settingsIn{dir.path()};
    TScriptedDialogs dialogs;
    TScriptedDialogRunner runner;
    TfrmMain window;
};

TEST_F(MainWindowTest, TitlesAndNamesFollowOpeningAndAFailedOpenKeepsThem)
{
    EXPECT_FALSE(window.FirstActivation);
    EXPECT_EQ(window.windowTitle(), "  Circlewright 1.0");
    EXPECT_EQ(window.CurrentFileName(), "Untitled");
    EXPECT_EQ(window.G().Graph().Caption, "Untitled");

    ASSERT_TRUE(window.OpenGraphFile(GraphFile("friends.eng", {"Ann", "Bob"})));
    EXPECT_EQ(window.windowTitle(), "  Circlewright 1.0 - friends.eng");
    EXPECT_EQ(view().Caption, "friends");
    EXPECT_FALSE(view().IsChanged());
    EXPECT_EQ(window.PagePersons().Grid().RowCount(), 3);

    // Not a graph file: the graph is gone, name and title stay, the user is told.
    QFile text(Path("notes.eng"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("shopping list");
    text.close();
    EXPECT_FALSE(window.OpenGraphFile(Path("notes.eng")));
    EXPECT_EQ(model().NodeCount(), 0);
    EXPECT_EQ(window.CurrentFileName(), Path("friends.eng"));
    EXPECT_EQ(window.windowTitle(), "  Circlewright 1.0 - friends.eng");
    EXPECT_EQ(Questions().last(), "Cannot load file:  " + Path("notes.eng"));
    // Another extension is refused without a word.
    EXPECT_FALSE(window.OpenGraphFile(Path("friends.txt")));
    EXPECT_EQ(dialogs.Messages().size(), 1);

    // Saving the emptied graph asks first and writes the old name only after "Yes".
    dialogs.Answer(2);
    EXPECT_EQ(window.Save1Click(), TSave::EmptyDeclined);
    EXPECT_EQ(Captions(Path("friends.eng")), QStringList({"Ann", "Bob"}));
    dialogs.Answer(1);
    EXPECT_EQ(window.Save1Click(), TSave::Saved);
    EXPECT_TRUE(Captions(Path("friends.eng")).isEmpty());
}

TEST_F(MainWindowTest, OpenAsksAboutChangesFirstAndOpensTheChosenFile)
{
    const QString friends = GraphFile("friends.eng", {"Ann", "Bob", "Cy"});
    model().NewNode({50, 50}, "Zoe");
    view().SetIsChanged(true);
    dialogs.Answer(3);
    Action("Open1")->trigger();
    EXPECT_EQ(runner.Shown(), 0);
    dialogs.Answer(2);
    runner.Then([&](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(friends);
        dialog.accept();
    });
    Action("Open1")->trigger();
    EXPECT_EQ(model().NodeCount(), 3);
    EXPECT_EQ(window.CurrentFileName(), friends);
    EXPECT_FALSE(view().IsChanged());

    // The Person menu works through the Persons page.
    window.SetActiveTab(TfrmMain::tabDisplay);
    Action("New1")->trigger();
    EXPECT_EQ(window.ActiveTab(), TfrmMain::tabPersons);
    EXPECT_EQ(model().NodeCount(), 4);
}

TEST_F(MainWindowTest, CloseAsksToSaveAndOnlyGoesWhenNothingIsLost)
{
    model().NewNode({50, 50}, "Ann");
    view().SetIsChanged(true);

    // Cancel keeps the window.
    dialogs.Answer(3);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(Questions().last(), "Save changes to Untitled.eng?");

    // Yes, then the save dialog cancelled: nothing was saved, so the window stays.
    dialogs.Answer(1);
    SaveDialogAnswers(QString());
    EXPECT_FALSE(window.close());

    // Yes and a good name: saved, the graph clipboard block goes with the window.
    ASSERT_TRUE(QDir(dir.path()).mkpath("sub"));
    TGraphClipboard::Put("block");
    dialogs.Answer(1);
    SaveDialogAnswers(Path("sub/net.eng"));
    EXPECT_TRUE(window.close());
    EXPECT_EQ(Captions(Path("sub/net.eng")), QStringList{"Ann"});
    EXPECT_EQ(view().Caption, "net");
    EXPECT_FALSE(TGraphClipboard::HasGraph());

    // Yes, but the file's folder is gone: warned, and name, title, caption and changes kept.
    ASSERT_TRUE(QDir(Path("sub")).removeRecursively());
    model().NewNode({90, 90}, "Bob");
    view().SetIsChanged(true);
    window.show();
    dialogs.Answer(1);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(dialogs.Messages().last().Kind, TMessageKind::Warning);
    EXPECT_TRUE(dialogs.Messages().last().Text.startsWith("Cannot save file:  " + Path("sub/net.eng")));
    EXPECT_EQ(window.CurrentFileName(), Path("sub/net.eng"));
    EXPECT_EQ(view().Caption, "net");
    EXPECT_EQ(window.windowTitle(), "  Circlewright 1.0 - net.eng");
    EXPECT_TRUE(view().IsChanged());
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

TEST_F(MainWindowTest, EmptyGraphQuestionsComeTwiceAndNotReallyLetsTheWindowClose)
{
    view().SetIsChanged(true);
    // Save asks, Save As asks again, then the dialog is cancelled.
    dialogs.Answer(1);
    dialogs.Answer(1);
    SaveDialogAnswers(QString());
    EXPECT_EQ(window.Save1Click(), TSave::NotSaved);
    EXPECT_EQ(Questions().count("Are you sure you want to save empty file?"), 2);

    // An empty graph loses nothing: "Not really" lets the window go.
    dialogs.Answer(1);
    dialogs.Answer(2);
    EXPECT_TRUE(window.close());
}

TEST_F(MainWindowTest, ANameWithoutTheExtensionIsNeverAskedAboutAndSaveGoesThroughSaveAs)
{
    model().NewNode({50, 50}, "Ann");
    ASSERT_TRUE(window.SaveGraphTo(Path("plain.net")));
    view().SetIsChanged(true);
    EXPECT_TRUE(window.ConfirmSaveChanges());
    EXPECT_TRUE(dialogs.Messages().isEmpty());
    SaveDialogAnswers(Path("proper.eng"));
    EXPECT_EQ(window.Save1Click(), TSave::Saved);
    EXPECT_EQ(window.CurrentFileName(), Path("proper.eng"));
}

TEST_F(MainWindowTest, WhatWasTypedIntoAPageIsInTheSavedFile)
{
    ASSERT_TRUE(window.OpenGraphFile(GraphFile("typed.eng", {"Ann", "Bob"})));
    TListGrid& grid = window.PagePersons().Grid();
    const int row = FindRowByText(grid, "Bob", 1);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualItemRect(grid.item(grid.ItemRow(row), 1)).center());
    auto* first = window.PagePersons().findChild<QLineEdit*>("edFirstName");
    first->selectAll();
    QTest::keyClicks(first, "Robert");
    EXPECT_EQ(window.Save1Click(), TSave::Saved);
    EXPECT_EQ(Captions(Path("typed.eng")), QStringList({"Ann", "Robert"}));
    EXPECT_FALSE(view().IsChanged());
}

TEST_F(MainWindowTest, FindSelectsByWholeCaptionOrPartAndKeepsTheLastText)
{
    auto* ann = model().NewNode({50, 50}, "Ann");
    auto* joanne = model().NewNode({150, 50}, "Joanne");
    const auto find = [&](const QString& text, bool wholeWord, bool ok = true) {
        runner.Then([=](QDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>("edFind");
            EXPECT_EQ(edit->selectedText(), edit->text());
            edit->setText(text);
            dialog.findChild<QCheckBox*>("cbWholeWord")->setChecked(wholeWord);
            ok ? dialog.accept() : dialog.reject();
        });
        window.tbFindClick();
    };
    find("ann", true);
    EXPECT_TRUE(ann->Selected());
    EXPECT_FALSE(joanne->Selected());
    find("ann", false);
    EXPECT_TRUE(ann->Selected() && joanne->Selected());
    EXPECT_EQ(window.LastFindText, "ann");

    find("   ", false);
    EXPECT_EQ(window.LastFindText, "ann");
    find("zed", false, false);
    EXPECT_EQ(window.LastFindText, "ann");
    EXPECT_TRUE(dialogs.Messages().isEmpty());

    find("zed", true);
    find("zed", false);
    EXPECT_EQ(Questions(), QStringList({"\"zed\" not found.",
                                        "Not found.\r\n\r\nThere are no persons named \"zed\" or containing the "
                                        "pattern \"zed\" in his/her name."}));
}

TEST_F(MainWindowTest, ResetDisplayHidesPicturesAndDeselects)
{
    QFile ini(SettingsFilePath("enDispSettings.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Display]\nShowImage=1\n");
    ini.close();
    model().NewNode({50, 50}, "Ann")->SetSelected(true);
    view().SetShowImage(true);
    QTest::mouseClick(window.findChild<QToolBar*>("ToolBar1")->widgetForAction(Action("tbReset")), Qt::LeftButton);
    EXPECT_FALSE(view().ShowImage());
    EXPECT_EQ(model().SelectedNodeCount(), 0);
    EXPECT_FALSE(view().ShowPopup);
}

TEST_F(MainWindowTest, TheViewsAddCommandsGoThroughThePersonsPage)
{
    view().Commands().AddNode();
    EXPECT_EQ(model().NodeCount(), 1);
    EXPECT_EQ(window.PagePersons().Grid().RowCount(), 2);
    view().Commands().AddNode();
    model().GetNode(0)->SetSelected(true);
    model().GetNode(1)->SetSelected(true);
    view().Commands().AddLink();
    EXPECT_EQ(model().LinkCount(), 0);
}

TEST_F(MainWindowTest, GraphMenuReachesGroupsAndEditMenuTheClipboard)
{
    model().NewNode({50, 50}, "Ann")->SetSelected(true);
    model().NewNode({150, 50}, "Bob")->SetSelected(true);
    auto* graphMenu = window.findChild<QMenu*>("mnuGroup");
    Q_EMIT graphMenu->aboutToShow();
    EXPECT_TRUE(Action("GroupCreate1")->isEnabled());
    EXPECT_FALSE(Action("GroupExpand1")->isEnabled());
    Q_EMIT graphMenu->aboutToHide();
    Action("GroupCreate1")->trigger();
    ASSERT_EQ(model().GroupCount(), 1);
    Q_EMIT graphMenu->aboutToShow();
    EXPECT_TRUE(Action("GroupUngroupAll1")->isEnabled());
    Q_EMIT graphMenu->aboutToHide();
    Action("GroupUngroupAll1")->trigger();
    EXPECT_EQ(model().GroupCount(), 0);

    // Copy with the graph focused puts a block there; Paste brings the persons back in.
    view().setFocus();
    model().SelectAll(true);
    Action("Copy1")->trigger();
    ASSERT_TRUE(TGraphClipboard::HasGraph());
    Action("Paste1")->trigger();
    EXPECT_EQ(model().NodeCount(), 4) << Questions().join("|").toStdString();
    // In a text field the same items edit the text.
    auto* first = window.PagePersons().findChild<QLineEdit*>("edFirstName");
    first->setFocus();
    first->setText("Ann");
    Action("SelectAll1")->trigger();
    EXPECT_EQ(first->selectedText(), "Ann");
    EXPECT_EQ(model().SelectedNodeCount(), 2);
    TGraphClipboard::ClearGraph();
}

TEST_F(MainWindowTest, TabsPassThePersonsOnAndGraphSelectionsShowTheirPage)
{
    auto* ann = model().NewNode({50, 50}, "Ann");
    model().NewNode({150, 50}, "Bob");
    window.InitPages();
    CheckObjects(window.PagePersons().Grid(), 0, {ann});
    window.SetActiveTab(TfrmMain::tabConnections);
    QList<TEgoNetObject*> checked;
    GetCheckedObjects(window.PageConnections().LPersons(), 0, checked);
    EXPECT_EQ(checked, QList<TEgoNetObject*>{ann});

    // A person selected on the graph brings the Persons page, a link the Attributes page.
    ann->SetSelected(true);
    Raise(view().OnSelect, &view());
    EXPECT_EQ(window.ActiveTab(), TfrmMain::tabPersons);
    model().SelectAll(false);
    model().NewLink(ann, model().GetNode(1), "default", "")->SetSelected(true);
    Raise(view().OnSelect, &view());
    EXPECT_EQ(window.ActiveTab(), TfrmMain::tabAttributes);
}

TEST_F(MainWindowTest, PicturesTakeTheDepthOfTheChosenFormatAndFailuresAreReported)
{
    model().NewNode({50, 50}, "Ann");
    const auto saveImage = [&](const QString& fileName, int filter) {
        runner.Then([=](QDialog& dialog) {
            auto& files = static_cast<QFileDialog&>(dialog);
            files.selectNameFilter(files.nameFilters()[filter]);
            files.selectFile(fileName);
            dialog.accept();
        });
        window.tbSaveImageClick();
    };
    saveImage(Path("four.bmp"), 1);
    QFile bitmap(Path("four.bmp"));
    ASSERT_TRUE(bitmap.open(QIODevice::ReadOnly));
    EXPECT_EQ(bitmap.readAll().at(28), 4);
    EXPECT_TRUE(dialogs.Messages().isEmpty());
    saveImage(Path("graph.eng"), 2);
    EXPECT_EQ(Questions(), QStringList{"File save error:  " + Path("graph.eng")});

    // Without a printer (the test machine has none) printing says so.
    runner.Then([](QDialog& dialog) { dialog.accept(); });
    window.tbPrintClick();
    EXPECT_EQ(Questions().last(), "Can't print. Check if there is printer available in the system");
}

TEST_F(MainWindowTest, HiddenItemsAndAMissingManualSayWhatTheyAre)
{
    Action("Summary1")->trigger();
    Action("Defaultsettings1")->trigger();
    EXPECT_EQ(Questions(), QStringList({"Summary report - not implemented yet.", "Under construction."}));
    EXPECT_FALSE(Action("Summary1")->isVisible());
    if (FindHelp(ProgramDirectory()).isEmpty()) {
        window.ShowHelp();
        EXPECT_EQ(Questions().last(), "Help file not found: " + ProgramDirectory() + "Circlewright User Manual.pdf");
    }
    // Every control a screen reader reaches has a name.
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        // An editable combo box's own text field goes by the box's name.
        if (!widget->isVisible() || widget->focusPolicy() == Qt::NoFocus || widget->inherits("QHeaderView") ||
            qobject_cast<QComboBox*>(widget->parentWidget()))
            continue;
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(control, nullptr);
        EXPECT_FALSE(control->text(QAccessible::Name).isEmpty())
            << widget->metaObject()->className() << " " << widget->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, ImportIsOneUndoStepAndExportWritesTheCheckedPersons)
{
    auto* ann = model().NewNode({50, 50}, "Ann Lee");
    ann->Attributes.AddAttribute("email", "ann@example.org");
    window.InitPages();
    QFile cards(Path("cards.vcf"));
    ASSERT_TRUE(cards.open(QIODevice::WriteOnly));
    cards.write("BEGIN:VCARD\nFN:Annie\nEMAIL:ann@example.org\nORG:Acme\nEND:VCARD\n"
                "BEGIN:VCARD\nN:Ek;Bo\nEND:VCARD\nBEGIN:VCARD\nNOTE:x\nEND:VCARD\n");
    cards.close();
    const auto chooseFiles = [this](const QStringList& files) {
        runner.Then([files](QDialog& dialog) {
            auto& chooser = static_cast<QFileDialog&>(dialog);
            chooser.selectFile(files.size() == 1 ? files.first() : "\"" + files.join("\" \"") + "\"");
            dialog.accept();
        });
    };
    chooseFiles({Path("cards.vcf")});
    Action("ImportVCard1")->trigger();
    ASSERT_EQ(model().NodeCount(), 2);
    EXPECT_EQ(model().GetNode(1)->Caption(), "Bo Ek");
    QString work;
    ann->Attributes.GetValue("work_type", work);
    EXPECT_EQ(work, "Acme");
    ASSERT_FALSE(Questions().isEmpty());
    EXPECT_TRUE(Questions().last().startsWith("1 persons added, 1 merged with persons already there, 1 skipped"))
        << Questions().last().toStdString();
    EXPECT_EQ(window.PagePersons().Grid().rowCount(), 2);

    // One undo takes the whole import back.
    QCoreApplication::processEvents();
    EXPECT_EQ(Action("Undo1")->text(), "Undo Import");
    Action("Undo1")->trigger();
    EXPECT_EQ(model().NodeCount(), 1);

    // A bad file says where and adds nothing.
    QFile bad(Path("bad.csv"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("First Name\n\"open\n");
    bad.close();
    chooseFiles({Path("bad.csv")});
    Action("CVScommaSeparatedValues1")->trigger();
    EXPECT_EQ(Questions().last(), Path("bad.csv") + ", line 2: a quoted field that never ends");
    EXPECT_EQ(model().NodeCount(), 1);

    // A vCard holds the checked persons only, and asks for some.
    Action("ExportVCard1")->trigger();
    EXPECT_EQ(Questions().last(), "Check the persons to export on the Persons page first.");
    model().GetNode(0)->SetSelected(true);
    window.PagePersons().ShowGraphSelection();
    SaveDialogAnswers(Path("out"));
    Action("ExportVCard1")->trigger();
    QFile written(Path("out.vcf"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().count("BEGIN:VCARD"), 1);
    SaveDialogAnswers(Path("tables.csv"));
    Action("ExportCsv1")->trigger();
    EXPECT_TRUE(QFile::exists(Path("tables-persons.csv")) && QFile::exists(Path("tables-links.csv")) &&
                QFile::exists(Path("tables-ego.csv")));
}

TEST_F(MainWindowTest, PagesStartTheLayoutsAndTheHourglassLastsUntilTheyAreDone)
{
    auto* ann = model().NewNode({50, 50}, "Ann");
    model().NewLink(ann, model().NewNode({60, 60}, "Bob"), "default", "");
    window.InitPages();
    ASSERT_NE(window.Document().EgoLayout(), nullptr);
    EXPECT_EQ(view().Organizer(), window.Document().EgoLayout());

    // Choosing a person lays the graph out around it, animated.
    Raise(window.PagePersons().OnPersonFocused, &window.PagePersons(), ann);
    EXPECT_EQ(view().Organizer(), window.Document().EgoLayout());
    EXPECT_TRUE(window.Document().EgoLayout()->Animated);
    EXPECT_FLOAT_EQ(view().LinkLengthFactor, 1.25f);

    // New links on the Connections page organize the whole graph once, without animation.
    bool done = false;
    view().OnOrganizeIteration = nullptr;
    Raise(window.PageConnections().OnLinksCreated, &window.PageConnections());
    EXPECT_EQ(view().Organizer(), view().SpringOrganizer());
    EXPECT_FALSE(view().SpringOrganizer()->Animated);
    EXPECT_TRUE(IsBusy());
    const auto finished = window.G().OnOrganizeDone;
    window.G().OnOrganizeDone = [&](QObject* sender) {
        finished(sender);
        done = true;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
    EXPECT_FALSE(IsBusy());
}

TEST_F(MainWindowTest, UndoTakesBackPageCommitsAndLayoutRunsAndOpeningForgetsIt)
{
    ASSERT_TRUE(window.OpenGraphFile(GraphFile("undo.eng", {"Ann", "Bob"})));
    EXPECT_FALSE(Action("Undo1")->isEnabled());
    TListGrid& grid = window.PagePersons().Grid();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualItemRect(grid.item(grid.ItemRow(FindRowByText(grid, "Bob", 1)), 1)).center());
    // Choosing Bob started the layout around him; it is held so that it ends no step here.
    window.Document().PauseLayout();
    auto* first = window.PagePersons().findChild<QLineEdit*>("edFirstName");
    first->selectAll();
    QTest::keyClicks(first, "Robert");
    window.SetActiveTab(TfrmMain::tabConnections);
    QCoreApplication::processEvents();
    EXPECT_EQ(Action("Undo1")->text(), "Undo Edit Persons");
    Action("Undo1")->trigger();
    EXPECT_EQ(model().GetNode(1)->Caption(), "Bob");
    EXPECT_GE(FindRowByText(grid, "Bob", 1), 1) << "the pages show the restored graph";
    EXPECT_FALSE(view().IsChanged()) << "back where the file was";
    EXPECT_EQ(Action("tbRedo")->text(), "Redo Edit Persons");

    // A layout run is one step.
    model().NewLink(model().GetNode(0), model().GetNode(1), "default", "");
    const QPoint before = model().GetNode(0)->Position;
    bool done = false;
    const auto finished = window.G().OnOrganizeDone;
    window.G().OnOrganizeDone = [&](QObject* sender) {
        finished(sender);
        done = true;
    };
    window.tbOrganizeClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
    QCoreApplication::processEvents();
    ASSERT_NE(model().GetNode(0)->Position, before);
    EXPECT_EQ(Action("Undo1")->text(), "Undo Layout");
    Action("tbUndo")->trigger();
    EXPECT_EQ(model().GetNode(0)->Position, before);

    ASSERT_TRUE(window.OpenGraphFile(Path("undo.eng")));
    EXPECT_FALSE(Action("Undo1")->isEnabled());
    EXPECT_FALSE(Action("Redo1")->isEnabled());
}

TEST_F(MainWindowTest, RecoveryCopiesAreWrittenWarnedAboutOnceAndRestoredUnderTheOriginalName)
{
    TAutoSave& autoSave = window.AutoSave();
    const QString own = autoSave.OwnBase();
    model().NewNode({50, 50}, "Ann");
    view().SetIsChanged(true);
    ASSERT_TRUE(autoSave.WriteNow());
    EXPECT_EQ(Captions(own + ".eng"), QStringList{"Ann"});
    EXPECT_TRUE(autoSave.Orphans().empty()) << "a running program's copy is nobody's orphan";

    // A copy that cannot be written warns once, and again only after a write worked.
    ASSERT_TRUE(QFile::remove(own + ".eng") && QDir().mkpath(own + ".eng/blocked"));
    EXPECT_FALSE(autoSave.WriteNow());
    EXPECT_FALSE(autoSave.WriteNow());
    EXPECT_EQ(dialogs.Messages().size(), 1);
    ASSERT_TRUE(QDir(own + ".eng").removeRecursively());
    EXPECT_TRUE(autoSave.WriteNow());
    ASSERT_TRUE(QFile::remove(own + ".eng") && QDir().mkpath(own + ".eng/blocked"));
    EXPECT_FALSE(autoSave.WriteNow());
    EXPECT_EQ(dialogs.Messages().size(), 2);
    ASSERT_TRUE(QDir(own + ".eng").removeRecursively());

    // A save removes the copy.
    ASSERT_TRUE(window.SaveGraphTo(Path("saved.eng")));
    EXPECT_FALSE(QFile::exists(own + ".eng"));

    // The copy of a program that is gone (no lock) is offered; Later keeps it, Restore opens it
    // as a changed graph of the original file.
    const QString orphan = RecoveryFolder() + "/recovery-1-1";
    ASSERT_TRUE(QFile::copy(GraphFile("copy.eng", {"Zoe", "Yan"}), orphan + ".eng"));
    TIniFile info(orphan + ".ini");
    info.WriteString("Recovery", "Original", Path("friends.eng"));
    info.WriteString("Recovery", "Time", "2026-12-01T10:00:00");
    ASSERT_TRUE(info.UpdateFile());
    dialogs.Answer(3);
    EXPECT_FALSE(window.OfferRecovery());
    EXPECT_TRUE(QFile::exists(orphan + ".eng"));
    dialogs.Answer(1);
    ASSERT_TRUE(window.OfferRecovery());
    EXPECT_EQ(Captions(Path("copy.eng")), QStringList({"Zoe", "Yan"}));
    EXPECT_EQ(model().NodeCount(), 2);
    EXPECT_EQ(window.CurrentFileName(), Path("friends.eng"));
    EXPECT_EQ(window.windowTitle(), "  Circlewright 1.0 - friends.eng");
    EXPECT_TRUE(view().IsChanged());
    EXPECT_FALSE(QFile::exists(orphan + ".eng"));
    EXPECT_TRUE(QFile::exists(own + ".eng")) << "the restored work is guarded at once";
    EXPECT_EQ(window.Save1Click(), TSave::Saved);
    EXPECT_EQ(Captions(Path("friends.eng")), QStringList({"Zoe", "Yan"}));
}

TEST(StartUpTest, TemplatesAreRenamedOnlyWhenTheSettingsFileIsMissing)
{
    QTemporaryDir dir;
    SetSettingsDirectory(dir.path());
    const auto write = [&](const QString& name, const QByteArray& content) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    };
    write("Circlewright.in_", "template");
    EXPECT_TRUE(RestoreFromTemplate("Circlewright.in_", "Circlewright.ini"));
    EXPECT_FALSE(QFile::exists(dir.filePath("Circlewright.in_")));
    write("Circlewright.in_", "new template");
    EXPECT_TRUE(RestoreFromTemplate("Circlewright.in_", "Circlewright.ini"));
    QFile kept(dir.filePath("Circlewright.ini"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "template");
    EXPECT_FALSE(QFile::exists(dir.filePath("Circlewright.in_")));
    EXPECT_FALSE(RestoreFromTemplate("enDispSettings.in_", "enDispSettings.ini"));
    SetSettingsDirectory(QString());
}

TEST(HelpFilesTest, TheManualIsLookedForByNameInThreeFolders)
{
    QTemporaryDir dir;
    const QString root = dir.path() + "/";
    EXPECT_TRUE(FindHelp(root).isEmpty());
    QDir(root).mkpath("Help");
    const auto touch = [&](const QString& name) { QFile(root + name).open(QIODevice::WriteOnly); };
    touch("Readme.rtf");
    EXPECT_EQ(FindHelp(root), root + "Readme.rtf");
    touch("Help/Old User Manual.DOC");
    EXPECT_EQ(FindHelp(root), root + "Help/Old User Manual.DOC");
    touch("User Manual.pdf");
    EXPECT_EQ(FindHelp(root), root + "User Manual.pdf");
    touch("Help/CIRCLEWRIGHT USER MANUAL.PDF");
    EXPECT_EQ(FindHelp(root), root + "Help/CIRCLEWRIGHT USER MANUAL.PDF");
}

TEST(AboutBoxTest, ShowsTheBuiltVersionOfTheProgram)
{
    TfrmAbout about;
    EXPECT_EQ(about.VersionLine(), "Version 1.0 (build: " CW_VERSION ")");
    EXPECT_EQ(about.size(), QSize(TfrmAbout::Width, TfrmAbout::Height));
}

} // namespace
