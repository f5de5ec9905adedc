#include "app/mainwindow/TfrmMain.h"

#include "app/AppResources.h"
#include "app/SettingsFiles.h"
#include "app/WindowHelpers.h"
#include "app/dialogs/DialogRunner.h"
#include "app/dialogs/FileDialogs.h"
#include "app/dialogs/TQtUserDialogs.h"
#include "app/dialogs/TfrmAbout.h"
#include "app/dialogs/TfrmFind.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "app/mainwindow/HelpFiles.h"
#include "app/mainwindow/TAutoSave.h"
#include "app/mainwindow/TGraphMenus.h"
#include "app/pages/TfrmPageAttributes.h"
#include "app/pages/TfrmPageConnections.h"
#include "app/pages/TfrmPageDisplay.h"
#include "app/pages/TfrmPagePersons.h"
#include "exchange/ExchangeError.h"
#include "exchange/ExchangeFormats.h"
#include "output/TGraphOutput.h"
#include "settings/TIniFile.h"
#include "view/TCursorMan.h"
#include "view/TEgoNetGraphEx.h"
#include "view/TGraphDocument.h"
#include "view/TUndoHistory.h"

#include "ui_TfrmMain.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolButton>

namespace {

QString FileNameOnly(const QString& path)
{
    return QFileInfo(path).fileName();
}

// The page form inside its tab, filling it.
void Dock(QWidget& tab, QWidget& page)
{
    page.setParent(&tab);
    page.setWindowFlags(Qt::Widget);
    tab.layout()->addWidget(&page);
    page.show();
}

} // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent)
    , FUi(std::make_unique<Ui::TfrmMain>())
    , FOutput(std::make_unique<TGraphOutput>())
{
    InitAppResources();
    FUi->setupUi(this);
    QGuiApplication::setApplicationDisplayName(Title);
    setWindowIcon(QIcon(QStringLiteral(":/icons/emblem.svg")));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect work = screen->availableGeometry();
        setGeometry(work.left() + 5, work.top() + 5, work.width() - 10, work.height() - 10);
    }
    FDocument = std::make_unique<TGraphDocument>(G().Graph(), &G());
    FHistory = std::make_unique<TUndoHistory>(G().Graph());
    // The program is configured by its INI files only.
    const int interval = TIniFile(ProgramIniPath()).ReadInteger(TAutoSave::Section, TAutoSave::IntervalKey,
                                                                TAutoSave::DefaultInterval);
    FAutoSave = std::make_unique<TAutoSave>(*FDocument, G().Graph(), RecoveryFolder(), interval);
    G().Graph().SetOutput(FOutput.get());
    FUi->Splitter1->setSizes({PaneWidthAtCreation, qMax(1, width() - PaneWidthAtCreation)});

    // The pages and dialogs are made now and stay hidden until used.
    FPersons = new TfrmPagePersons(this);
    FConnections = new TfrmPageConnections(this);
    FAttributes = new TfrmPageAttributes(this);
    FDisplay = new TfrmPageDisplay(this);
    for (QWidget* page : {static_cast<QWidget*>(FPersons), static_cast<QWidget*>(FConnections),
                          static_cast<QWidget*>(FAttributes), static_cast<QWidget*>(FDisplay)})
        page->hide();
    FFind = new TfrmFind(this);
    FAbout = new TfrmAbout(this);

    ConnectMenus();
    ConnectGraph();

    G().Graph().Caption = TGraphDocument::Untitled;
    G().ClearGraph();
    ShowTitle();
    LastFindText.clear();
    FUi->PageControl1->setCurrentIndex(tabPersons);
    FShownTab = tabPersons;
    FirstActivation = true;
}

// The pages are children of the window and go with it; a running layout is told to stop when
// the document goes.
TfrmMain::~TfrmMain() = default;

const QString& TfrmMain::CurrentFileName() const
{
    return FDocument->FileName();
}

TEgoNetGraphEx& TfrmMain::G() const
{
    return *FUi->G;
}

int TfrmMain::ActiveTab() const
{
    return FUi->PageControl1->currentIndex();
}

void TfrmMain::SetActiveTab(TTab tab)
{
    FUi->PageControl1->setCurrentIndex(tab);
}

void TfrmMain::ConnectMenus()
{
    Ui::TfrmMain& ui = *FUi;
    // Menus and tool buttons that exist but are never shown.
    ui.Options1->menuAction()->setVisible(false);
    for (QAction* tool : {ui.tbLabel, ui.tbColor, ui.tbShape, ui.tbSize, ui.tbEdgeColor, ui.tbGrouping, ui.Button1})
        tool->setVisible(false);
    // Icon-only buttons are named by their hint for screen readers, the overflow button too.
    for (QAction* tool : ui.ToolBar1->actions())
        if (QWidget* button = ui.ToolBar1->widgetForAction(tool))
            button->setAccessibleName(tool->toolTip());
    if (auto* more = ui.ToolBar1->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More tools"));
    ui.Undo1->setShortcut(QKeySequence::Undo);
    ui.Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    ui.Cut1->setShortcut(QKeySequence::Cut);
    ui.Copy1->setShortcut(QKeySequence::Copy);
    ui.Paste1->setShortcut(QKeySequence::Paste);
    ui.SelectAll1->setShortcut(QKeySequence::SelectAll);

    const auto message = [](const char* text) {
        return [text] { UserDialogs().Show(QString::fromLatin1(text), TMessageKind::Information); };
    };
    connect(ui.Open1, &QAction::triggered, this, &TfrmMain::Open1Click);
    connect(ui.Save1, &QAction::triggered, this, &TfrmMain::Save1Click);
    connect(ui.SaveAs1, &QAction::triggered, this, &TfrmMain::SaveGraphAs);
    const auto import = [this](const char* filter) { return [this, filter] { ImportClick(QLatin1String(filter)); }; };
    connect(ui.ImportVCard1, &QAction::triggered, this, import("vCard files (*.vcf *.vcard)"));
    connect(ui.CVScommaSeparatedValues1, &QAction::triggered, this, import("Google or Outlook contacts (*.csv)"));
    connect(ui.ImportGraphML1, &QAction::triggered, this, import("GraphML files (*.graphml)"));
    const auto exporter = [this](const char* filter, const char* suffix) {
        return [this, filter, suffix] { ExportClick(QLatin1String(filter), QLatin1String(suffix)); };
    };
    connect(ui.ExportGraphML1, &QAction::triggered, this, exporter("GraphML files (*.graphml)", "graphml"));
    connect(ui.ExportGexf1, &QAction::triggered, this, exporter("GEXF files (*.gexf)", "gexf"));
    connect(ui.ExportVCard1, &QAction::triggered, this, exporter("vCard files (*.vcf)", "vcf"));
    connect(ui.ExportCsv1, &QAction::triggered, this, exporter("CSV tables (*.csv)", "csv"));
    connect(ui.Exit1, &QAction::triggered, this, &QWidget::close);
    connect(ui.New1, &QAction::triggered, this, [this] {
        SetActiveTab(tabPersons);
        FPersons->btnNewPersonClick();
    });
    connect(ui.Edit1, &QAction::triggered, this, [this] { SetActiveTab(tabPersons); });
    connect(ui.Delete1, &QAction::triggered, this, [this] {
        SetActiveTab(tabPersons);
        FPersons->btnDeleteClick();
    });
    connect(ui.Find1, &QAction::triggered, this, &TfrmMain::tbFindClick);
    connect(ui.AddAttributes1, &QAction::triggered, this, [this] { SetActiveTab(tabAttributes); });
    connect(ui.Summary1, &QAction::triggered, this, message("Summary report - not implemented yet."));
    connect(ui.Defaultsettings1, &QAction::triggered, this, message("Under construction."));
    connect(ui.Help2, &QAction::triggered, this, &TfrmMain::ShowHelp);
    connect(ui.About1, &QAction::triggered, FAbout, &TfrmAbout::ShowCentred);

    connect(ui.tbSaveImage, &QAction::triggered, this, &TfrmMain::tbSaveImageClick);
    connect(ui.tbPrint, &QAction::triggered, this, &TfrmMain::tbPrintClick);
    connect(ui.tbOrganize, &QAction::triggered, this, &TfrmMain::tbOrganizeClick);
    connect(ui.tbBestFit, &QAction::triggered, this, &TfrmMain::tbBestFitClick);
    connect(ui.tbEnableAll, &QAction::triggered, this, &TfrmMain::tbEnableAllClick);
    connect(ui.tbZoomIn, &QAction::triggered, this, [this] { G().ZoomIn(); });
    connect(ui.tbZoomOut, &QAction::triggered, this, [this] { G().ZoomOut(); });
    connect(ui.tbFind, &QAction::triggered, this, &TfrmMain::tbFindClick);
    connect(ui.tbReset, &QAction::triggered, this, [this] {
        ResetDisplay(true);
        G().Graph().Edited(QStringLiteral("Reset Display"));
    });
    for (QAction* undo : {ui.Undo1, ui.tbUndo})
        connect(undo, &QAction::triggered, this, &TfrmMain::UndoClick);
    for (QAction* redo : {ui.Redo1, ui.tbRedo})
        connect(redo, &QAction::triggered, this, &TfrmMain::RedoClick);

    using enum TGraphMenuItem;
    FGraphMenus = std::make_unique<TGraphMenus>(
        G().Graph(), QList<QMenu*>{ui.mnuEdit, ui.mnuGraph, ui.mnuGroup, ui.mnuPosition, ui.mnuDirection},
        QList<TGraphMenus::TItem>{
            {ui.Cut1, Cut}, {ui.Copy1, Copy}, {ui.Paste1, Paste}, {ui.SelectAll1, SelectAll},
            {ui.GroupCreate1, CreateGroup}, {ui.GroupExpand1, Expand}, {ui.GroupExpandAll1, ExpandAll},
            {ui.GroupCollapseAll1, CollapseAll}, {ui.GroupUngroup1, Ungroup}, {ui.GroupUngroupAll1, UngroupAll},
            {ui.Freeze1, FreezeNodes}, {ui.Unfreeze1, UnfreezeNodes}, {ui.UnfreezeAll1, UnfreezeAll},
            {ui.ChangeDirection1, ChangeDirection}, {ui.MakeUndirected1, MakeUndirected},
            {ui.MakeDirected1, MakeDirected}, {ui.StraightenLinks1, StraightenLinks},
            {ui.SelectNearest1, SelectNearest}, {ui.ConnectAll1, ConnectAll}, {ui.Combine1, Combine}});
}

void TfrmMain::ConnectGraph()
{
    TEgoNetGraphEx& host = G();
    host.OnSelect = [this](QObject*) { GSelect(); };
    host.OnAddingNode = [this](QObject*, bool& handled) {
        handled = true;
        FPersons->btnNewPersonClick();
    };
    // Links are made on the Connections page.
    host.OnAddingLink = [](QObject*, bool& handled) { handled = true; };
    host.OnOrganizeDone = [this](QObject*) {
        // A run that ends is a step of its own, never part of an edit made meanwhile.
        FHistory->Flush();
        FDocument->LayoutDone();
    };
    host.OnDblClick = nullptr;
    host.OnEdited = [this](QObject*, const QString& step) { FHistory->Record(step); };
    FHistory->OnChanged = [this] { UpdateUndoItems(); };
    FHistory->OnRestored = [this] { ShowRestoredGraph(); };
    FDocument->OnOpened = [this] { InitPages(); };
    FDocument->OnSaving = [this] {
        FPersons->CommitEdits();
        FAttributes->CommitEdits();
    };
    connect(FUi->PageControl1, &QTabWidget::currentChanged, this, &TfrmMain::TabChanged);
}

void TfrmMain::ConnectPages()
{
    const auto toTab = [this](TTab tab) { return [this, tab](QObject*) { SetActiveTab(tab); }; };
    FPersons->OnOtherAttributes = toTab(tabAttributes);
    FPersons->OnPersonFocused = [this](QObject*, TEgoNetObject* person) {
        StartEgoLayout(dynamic_cast<TOrganizedNode*>(person));
    };
    FConnections->OnOtherAttributes = toTab(tabAttributes);
    const auto organize = [this](QObject*) { tbOrganizeClick(); };
    FConnections->OnLinksCreated = organize;
    FConnections->OnLinksDeleted = organize;
    FConnections->OnAllConnected = organize;
    FAttributes->EditedPersons = [persons = FPersons] { return persons->EditedPersons(); };
    FAttributes->OnBackToPersons = toTab(tabPersons);
    FAttributes->OnBackToConnections = toTab(tabConnections);
}

// Window events

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!FirstActivation || FUi->tsPersons->layout()->count() > 0)
        return;
    FUi->Splitter1->setSizes({PaneWidth, qMax(1, width() - PaneWidth)});
    Dock(*FUi->tsPersons, *FPersons);
    Dock(*FUi->tsConnections, *FConnections);
    Dock(*FUi->tsAttributes, *FAttributes);
    Dock(*FUi->tsDisplay, *FDisplay);
    ConnectPages();
}

void TfrmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && FirstActivation)
        InitPages();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!ConfirmSaveChanges()) {
        event->ignore();
        return;
    }
    FDocument->Close();
    FAutoSave->Remove();
    event->accept();
}

void TfrmMain::RepaintNow()
{
    repaint();
}

// Title, display and pages

void TfrmMain::ShowTitle(const QString& name)
{
    setWindowTitle(name.isEmpty() ? QStringLiteral("  ") + Title : QStringLiteral("  %1 - %2").arg(Title, name));
}

void TfrmMain::ResetDisplay(bool withLinkTypeColours)
{
    TEgoNetGraphDisplay& view = G().Graph();
    view.Settings().LoadFromIni(SettingsFilePath(QStringLiteral("enDispSettings.ini")));
    view.ApplySettings();
    view.ApplySettingsToNodes();
    view.ApplySettingsToLinks();
    if (withLinkTypeColours)
        FConnections->ApplyLinkTypeColors();
    view.SetShowImage(false);
    view.SetShowDisabledNodes(true);
    view.Settings().ShowDisabledNodes = false;
    view.Model().SelectAll(false);
    view.Interactive = true;
    view.ShowPopup = false;
    view.update();
}

void TfrmMain::InitPages()
{
    FPersons->AttachGraph(&G());
    FConnections->AttachGraph(&G());
    FAttributes->AttachGraph(&G());
    FDisplay->AttachGraph(&G());
    ResetDisplay(true);
    FDocument->PrepareEgoLayout(nullptr, false);
    G().Graph().SetIsChanged(false);
    FHistory->Reset();
    // A graph opened before the window was first activated must not be set up again then.
    FirstActivation = false;
}

void TfrmMain::TabChanged(int tab)
{
    // What the tab that was shown leaves behind.
    if (FShownTab == tabPersons)
        FPersons->CommitEdits();
    else if (FShownTab == tabAttributes)
        FAttributes->CommitEdits();
    FShownTab = tab;
    switch (tab) {
    case tabConnections: {
        if (FPersons->NamesChanged) {
            FConnections->RefillPersonLists();
            FPersons->NamesChanged = false;
        }
        QList<TEgoNetObject*> checked;
        GetCheckedObjects(FPersons->Grid(), 0, checked);
        CheckObjects(FConnections->LPersons(), 0, checked);
        break;
    }
    case tabAttributes:
        // Its edited persons are the Persons page's, through the link made when the pages were docked.
        FAttributes->AttachGraph(nullptr);
        break;
    case tabDisplay:
        FDisplay->RefreshLists();
        break;
    default:
        break;
    }
}

void TfrmMain::GSelect()
{
    const TEgoNetModel& model = G().Graph().Model();
    if (model.SelectedNodeCount() >= 1) {
        SetActiveTab(tabPersons);
        FPersons->ShowGraphSelection();
    } else if (model.SelectedLinkCount() >= 1) {
        SetActiveTab(tabAttributes);
        FAttributes->ShowSelectedLinks();
    }
}

// Opening

void TfrmMain::Open1Click()
{
    RepaintNow();
    FDocument->PauseLayout();
    if (!ConfirmSaveChanges())
        return;
    const QString chosen = AskGraphToOpen(this);
    if (chosen.isEmpty())
        return;
    RepaintNow();
    OpenGraphFile(chosen);
}

bool TfrmMain::OpenGraphFile(const QString& fileName)
{
    if (!FDocument->Open(fileName)) {
        // The graph was cleared: there is nothing to go back to.
        FHistory->Reset();
        return false;
    }
    FAutoSave->Remove();
    ShowTitle(FileNameOnly(fileName));
    G().Graph().setFocus();
    return true;
}

// Saving

bool TfrmMain::ConfirmSaveEmpty()
{
    if (G().Graph().Model().NodeCount() > 0)
        return true;
    return AskWithCaptions(QStringLiteral("Are you sure you want to save empty file?"), TMessageKind::Information,
                           {QStringLiteral("Yes"), QStringLiteral("Not really")}) == 1;
}

TfrmMain::TSaveResult TfrmMain::Save1Click()
{
    RepaintNow();
    if (!ConfirmSaveEmpty())
        return TSaveResult::EmptyDeclined;
    FDocument->PauseLayout();
    if (TGraphDocument::IsGraphFileName(CurrentFileName()))
        return SaveGraphTo(CurrentFileName()) ? TSaveResult::Saved : TSaveResult::NotSaved;
    return SaveGraphAs();
}

TfrmMain::TSaveResult TfrmMain::SaveGraphAs()
{
    RepaintNow();
    if (!ConfirmSaveEmpty())
        return TSaveResult::EmptyDeclined;
    FDocument->PauseLayout();
    const QString chosen = AskGraphToSave(this, CurrentFileName());
    RepaintNow();
    // Qt's dialog never accepts an empty name: an empty one means it was cancelled.
    if (chosen.isEmpty())
        return TSaveResult::NotSaved;
    return SaveGraphTo(chosen) ? TSaveResult::Saved : TSaveResult::NotSaved;
}

bool TfrmMain::SaveGraphTo(const QString& fileName)
{
    RepaintNow();
    if (!FDocument->SaveTo(fileName))
        return false;
    FHistory->MarkSaved();
    FAutoSave->Remove();
    FConnections->SaveLinkTypes();
    // The full-size picture handed to the viewer is stale once the graph is saved.
    QFile::remove(TemporaryFilePath(QStringLiteral("default.bmp")));
    ShowTitle(FileNameOnly(fileName));
    return true;
}

bool TfrmMain::ConfirmSaveChanges()
{
    if (!G().Graph().IsChanged())
        return true;
    QString name;
    if (CurrentFileName() == TGraphDocument::Untitled)
        name = TGraphDocument::Untitled + TGraphDocument::Extension;
    else if (!TGraphDocument::IsGraphFileName(CurrentFileName()))
        return true;
    else
        name = FileNameOnly(CurrentFileName());
    switch (AskWithCaptions(QStringLiteral("Save changes to %1?").arg(name), TMessageKind::Confirmation,
                            {QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Cancel")})) {
    case 1:
        // Changes that were to be saved and were not must not be thrown away.
        return Save1Click() != TSaveResult::NotSaved;
    case 2:
        return true;
    default:
        return false;
    }
}

// Layouts

void TfrmMain::tbOrganizeClick()
{
    FDocument->Organize();
}

void TfrmMain::StartEgoLayout(TOrganizedNode* person)
{
    FDocument->StartEgoLayout(person);
}

// Find, print, picture and the other tool buttons

void TfrmMain::tbFindClick()
{
    RepaintNow();
    TEgoNetModel& model = G().Graph().Model();
    if (model.NodeCount() == 0)
        return;
    QString text = LastFindText;
    bool caseSensitive = false;
    bool wholeWord = false;
    if (!FFind->Execute(text, caseSensitive, wholeWord) || text.trimmed().isEmpty())
        return;
    LastFindText = text;
    QList<TOrganizedNode*> found;
    if (!model.FindNodes(text, caseSensitive, found, wholeWord)) {
        UserDialogs().Show(wholeWord ? QStringLiteral("\"%1\" not found.").arg(text)
                                     : QStringLiteral("Not found.\r\n\r\nThere are no persons named \"%1\" or containing "
                                                      "the pattern \"%1\" in his/her name.")
                                           .arg(text),
                           TMessageKind::Information);
        return;
    }
    model.SelectAll(false);
    for (TOrganizedNode* person : std::as_const(found))
        person->SetSelected(true);
    G().Graph().update();
}

void TfrmMain::tbPrintClick()
{
    if (!FPrinter)
        FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(FPrinter.get(), this);
    if (DialogRunner().Exec(dialog) != QDialog::Accepted)
        return;
    RepaintNow();
    FOutput->UsePrinter(FPrinter.get());
    const auto busy = BusyCursor();
    const bool printed = G().Graph().PrintGraph();
    FOutput->UsePrinter(nullptr);
    if (!printed)
        UserDialogs().Show(QStringLiteral("Can't print. Check if there is printer available in the system"),
                           TMessageKind::Information);
}

void TfrmMain::tbSaveImageClick()
{
    FDocument->PauseLayout();
    int depth = 8;
    const QString fileName = AskGraphPictureToSave(this, depth);
    if (fileName.isEmpty())
        return;
    RepaintNow();
    const auto busy = BusyCursor();
    if (!G().Graph().SaveImage(fileName, depth))
        UserDialogs().Show(QStringLiteral("File save error:  ") + fileName, TMessageKind::Warning);
}

void TfrmMain::tbEnableAllClick()
{
    TEgoNetModel& model = G().Graph().Model();
    model.ShowAll(true);
    model.EnableAll(true);
    G().Graph().Edited(QStringLiteral("Enable All"));
    G().Graph().update();
}

void TfrmMain::tbBestFitClick()
{
    FDocument->PauseLayout();
    G().Graph().PrepareEdit(true);
    G().BestFit();
}

void TfrmMain::ShowHelp()
{
    const QString programDir = ProgramDirectory();
    const QString hit = FindHelp(programDir);
    if (hit.isEmpty()) {
        UserDialogs().Show(QStringLiteral("Help file not found: ") + programDir + HelpFileName, TMessageKind::Information);
        return;
    }
    if (!OpenWithDefaultViewer(hit) && hit.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        UserDialogs().Show(QStringLiteral("In order to view PDF help file you must have Adobe Acrobat Reader installed on "
                                          "your system. Please visit the maker's web site, https://get.adobe.com/reader/, "
                                          "to download and install free Adobe Reader\u00AE software."),
                           TMessageKind::Information);
}

// Undo and redo

void TfrmMain::UndoClick()
{
    // What a page still holds and a layout half done are steps of their own, undone first.
    FPersons->CommitEdits();
    FAttributes->CommitEdits();
    if (FDocument->LayoutRunning()) {
        FDocument->PauseLayout();
        FDocument->LayoutDone();
    }
    FHistory->Undo();
}

void TfrmMain::RedoClick()
{
    FDocument->PauseLayout();
    FHistory->Redo();
}

void TfrmMain::ImportClick(const QString& filter)
{
    FPersons->CommitEdits();
    FAttributes->CommitEdits();
    FDocument->PauseLayout();
    const QStringList files = AskFilesToImport(this, filter);
    RepaintNow();
    if (files.isEmpty())
        return;
    TEgoNetGraphDisplay& view = G().Graph();
    TImportReport report;
    try {
        const auto busy = BusyCursor();
        view.PrepareEdit(true);
        report = ImportFiles(view.Model(), files, view.Settings());
    } catch (const EImportError& error) {
        UserDialogs().Show(error.Message(), TMessageKind::Warning);
        return;
    }
    view.Edited(QStringLiteral("Import"));
    ShowRestoredGraph();
    view.update();
    UserDialogs().Show(report.Text(), TMessageKind::Information);
}

void TfrmMain::ExportClick(const QString& filter, const QString& suffix)
{
    FPersons->CommitEdits();
    FAttributes->CommitEdits();
    QList<const TEgoNetNode*> persons;
    if (suffix == QLatin1String("vcf")) {
        for (const TOrganizedNode* person : FPersons->EditedPersons())
            persons.append(person);
        if (persons.isEmpty()) {
            UserDialogs().Show(QStringLiteral("Check the persons to export on the Persons page first."),
                               TMessageKind::Information);
            return;
        }
    }
    const QString chosen = AskFileToExport(this, filter, suffix);
    RepaintNow();
    if (chosen.isEmpty())
        return;
    try {
        const auto busy = BusyCursor();
        ExportNetwork(G().Graph().Model(), chosen, G().Graph().Caption, persons);
    } catch (const EExportError& error) {
        UserDialogs().Show(error.Message(), TMessageKind::Warning);
    }
}

void TfrmMain::ShowRestoredGraph()
{
    FPersons->AttachGraph(&G());
    FConnections->AttachGraph(&G());
    FAttributes->AttachGraph(&G());
    FDisplay->AttachGraph(&G());
    FPersons->NamesChanged = true;
}

void TfrmMain::UpdateUndoItems()
{
    Ui::TfrmMain& ui = *FUi;
    for (QAction* undo : {ui.Undo1, ui.tbUndo}) {
        undo->setEnabled(FHistory->CanUndo());
        undo->setText(FHistory->UndoText());
    }
    for (QAction* redo : {ui.Redo1, ui.tbRedo}) {
        redo->setEnabled(FHistory->CanRedo());
        redo->setText(FHistory->RedoText());
    }
    ui.tbUndo->setToolTip(FHistory->UndoText());
    ui.tbRedo->setToolTip(FHistory->RedoText());
}

// Recovery

bool TfrmMain::OfferRecovery()
{
    for (const TAutoSave::TCopy& copy : FAutoSave->Orphans()) {
        const QString name = copy.Original == TGraphDocument::Untitled ? copy.Original : FileNameOnly(copy.Original);
        const int answer = AskWithCaptions(
            QStringLiteral("Circlewright was not closed properly. A recovery copy of \"%1\" from %2 holds changes that "
                           "were not saved.\r\n\r\nRestore it now, discard it, or decide later?")
                .arg(name, QLocale().toString(copy.Time, QLocale::ShortFormat)),
            TMessageKind::Confirmation, {QStringLiteral("Restore"), QStringLiteral("Discard"), QStringLiteral("Later")});
        if (answer == 2) {
            FAutoSave->Discard(copy);
            continue;
        }
        if (answer != 1 || !FDocument->Open(copy.GraphFile())) {
            FAutoSave->Release(copy);
            continue;
        }
        // The next Save writes the original file.
        FDocument->Adopt(copy.Original);
        ShowTitle(copy.Original == TGraphDocument::Untitled ? QString() : name);
        FHistory->Reset();
        G().Graph().SetIsChanged(true);
        FAutoSave->Discard(copy);
        FAutoSave->WriteNow();
        return true;
    }
    return false;
}
