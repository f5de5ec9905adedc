#pragma once

#include <QMainWindow>
#include <QString>

#include <memory>

namespace Ui {
class TfrmMain;
}

class QPrinter;
class TAutoSave;
class TEgoNetGraphEx;
class TGraphDocument;
class TGraphMenus;
class TGraphOutput;
class TUndoHistory;
class TOrganizedNode;
class TfrmAbout;
class TfrmFind;
class TfrmPageAttributes;
class TfrmPageConnections;
class TfrmPageDisplay;
class TfrmPagePersons;

// The program's only top-level window: the four pages on the left, the tool bar and the graph on
// the right. It owns the document (opening, saving, the questions before changes are lost),
// starts the layouts, and turns the pages' events into tab switches and layouts; the pages never
// call each other.
class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    static inline const QString Title = QStringLiteral("Circlewright 1.0");
    // The left pane's width before and from the first show.
    static constexpr int PaneWidthAtCreation = 409;
    static constexpr int PaneWidth = 420;

    enum TTab { tabPersons, tabConnections, tabAttributes, tabDisplay };
    // How a save command ended: the empty-file question answered "Not really" loses nothing,
    // so whoever asked may go on.
    enum class TSaveResult { Saved, EmptyDeclined, NotSaved };

    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    const QString& CurrentFileName() const;
    QString LastFindText;
    bool FirstActivation = true;

    TEgoNetGraphEx& G() const;
    TGraphDocument& Document() const { return *FDocument; }
    TUndoHistory& History() const { return *FHistory; }
    TAutoSave& AutoSave() const { return *FAutoSave; }
    TfrmPagePersons& PagePersons() const { return *FPersons; }
    TfrmPageConnections& PageConnections() const { return *FConnections; }
    TfrmPageAttributes& PageAttributes() const { return *FAttributes; }
    TfrmPageDisplay& PageDisplay() const { return *FDisplay; }
    TfrmFind& FindDialog() const { return *FFind; }
    TfrmAbout& AboutBox() const { return *FAbout; }
    int ActiveTab() const;
    void SetActiveTab(TTab tab);

    void ShowTitle(const QString& name = QString());
    void ResetDisplay(bool withLinkTypeColours);
    void InitPages();

    void Open1Click();
    bool OpenGraphFile(const QString& fileName);
    bool ConfirmSaveEmpty();
    TSaveResult Save1Click();
    TSaveResult SaveGraphAs();
    bool SaveGraphTo(const QString& fileName);
    bool ConfirmSaveChanges();

    void tbOrganizeClick();
    void StartEgoLayout(TOrganizedNode* person);
    void tbFindClick();
    void tbPrintClick();
    void tbSaveImageClick();
    void tbEnableAllClick();
    void tbBestFitClick();
    void ShowHelp();
    void UndoClick();
    void RedoClick();
    // File > Import: the chosen files (of the filter's kind) are added to the graph as one undo
    // step; the user is told what was added, merged and skipped. A bad file adds nothing.
    void ImportClick(const QString& filter);
    // File > Export: the graph, or for a vCard the persons checked on the Persons page.
    void ExportClick(const QString& filter, const QString& suffix);
    // Offers the recovery copies that programs which are gone left behind, one by one, until
    // one is restored; whether one was.
    bool OfferRecovery();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectMenus();
    void ConnectGraph();
    void ConnectPages();
    void TabChanged(int tab);
    void GSelect();
    // The pages show the graph anew after an undo or redo.
    void ShowRestoredGraph();
    void UpdateUndoItems();
    // The window and its children repaint before a dialog or a long step.
    void RepaintNow();

    std::unique_ptr<Ui::TfrmMain> FUi;
    std::unique_ptr<TGraphDocument> FDocument;
    std::unique_ptr<TUndoHistory> FHistory;
    std::unique_ptr<TAutoSave> FAutoSave;
    std::unique_ptr<TGraphOutput> FOutput;
    std::unique_ptr<QPrinter> FPrinter;
    TfrmPagePersons* FPersons;
    TfrmPageConnections* FConnections;
    TfrmPageAttributes* FAttributes;
    TfrmPageDisplay* FDisplay;
    TfrmFind* FFind;
    TfrmAbout* FAbout;
    std::unique_ptr<TGraphMenus> FGraphMenus;
    int FShownTab = -1;
};
