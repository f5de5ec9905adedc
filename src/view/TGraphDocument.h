#pragma once

#include <QString>

#include <functional>
#include <memory>

class TCursorMan;
class TEgoNetGraphDisplay;
class TEgoNetGraphEx;
class TEgoOrganizer;
class TOrganizeThread;
class TOrganizedNode;
class TSpringEmbeddingOrganizer;

// The graph file a view shows, and the one way of opening, saving and closing it and of running
// its layouts: the desktop program and circlewright-tool both go through here, so a file opens
// and saves the same way in both. Messages reach the user through UserDialogs().
class TGraphDocument
{
public:
    static inline const QString Untitled = QStringLiteral("Untitled");
    static inline const QString Extension = QStringLiteral(".eng");

    // With a host, clearing goes through it, so that zoom and scrolling start afresh as well.
    explicit TGraphDocument(TEgoNetGraphDisplay& view, TEgoNetGraphEx* host = nullptr);
    ~TGraphDocument();
    TGraphDocument(const TGraphDocument&) = delete;
    TGraphDocument& operator=(const TGraphDocument&) = delete;

    // The file's path, or Untitled while the graph was never opened or saved.
    const QString& FileName() const { return FFileName; }
    // Whether the name ends in ".eng" (any case); other names are never asked about.
    static bool IsGraphFileName(const QString& fileName);

    // Raised after a successful open, before the graph counts as unchanged (the program sets
    // up its pages here), and before a file is written (the pages commit what they hold).
    std::function<void()> OnOpened;
    std::function<void()> OnSaving;

    // Clears the graph, then reads the file into it. A name that does not end in ".eng" reads
    // nothing and says nothing; a file that is not a graph file, or fails to read, says so. On
    // failure the graph stays cleared and the file name stays the old one.
    bool Open(const QString& fileName);
    // Writes the graph to the file, which becomes the document's file. When it cannot be
    // written the reason is shown, and name, caption and the changed state stay as they were.
    bool SaveTo(const QString& fileName);
    // The window goes: a graph block of ours on the clipboard goes with it.
    void Close();
    // Writes what a save would write to another file, leaving the document's name and changed
    // state alone (a recovery copy). Raises EStreamError when the file cannot be written.
    void WriteCopy(const QString& fileName) const;
    // The graph now belongs to that file (a recovered copy of it) without anything being read
    // or written.
    void Adopt(const QString& fileName);

    // Layouts. Pausing keeps the current layout's state; starting prepares a new run from the
    // current positions.
    void PauseLayout();
    void StartLayout();
    // Makes the spring layout the current one, not animated.
    TSpringEmbeddingOrganizer& UseSpringLayout();
    // Makes the layout around the centre (which may be none) the current one.
    TEgoOrganizer& PrepareEgoLayout(TOrganizedNode* centre, bool animate);
    // The Organize command: the whole graph once by the spring layout, hourglass until done.
    void Organize();
    // The layout around a person, animated.
    void StartEgoLayout(TOrganizedNode* person);
    // A layout run ended: the links are straightened and the hourglass goes.
    void LayoutDone();
    TEgoOrganizer* EgoLayout() const { return FEgoLayout.get(); }
    bool LayoutRunning() const;

private:
    void ShowLayoutCursor();

    TEgoNetGraphDisplay& FView;
    TEgoNetGraphEx* FHost;
    QString FFileName = Untitled;
    std::unique_ptr<TEgoOrganizer> FEgoLayout;
    // The hourglass of a running layout, held until it reports done.
    std::shared_ptr<TCursorMan> FLayoutCursor;
};
