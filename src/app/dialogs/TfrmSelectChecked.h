#pragma once

#include <QDialog>

#include <memory>

class TListGrid;
namespace Ui {
class TfrmSelectChecked;
}

// A check list kept in a section of an INI file (the favourites lists): the user checks entries,
// adds new ones and deletes old ones. Changes to the list are written back when the window goes,
// whichever way it was closed.
class TfrmSelectChecked : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSelectChecked(QWidget* parent = nullptr);
    ~TfrmSelectChecked() override;

    void SetPrompt(const QString& prompt);
    // Fills the list from the section, sorted by name, nothing checked.
    void LoadList(const QString& iniFile, const QString& section);
    TListGrid& Grid() const;
    bool ListChanged() const { return FListChanged; }

private:
    void tbNewClick();
    void tbDeleteClick();
    void asgListClickCell(int row, int column);

    std::unique_ptr<Ui::TfrmSelectChecked> ui;
    QString FIniFile;
    QString FSection;
    bool FListChanged = false;
    // Our own changes of cells are no changes of the list.
    bool FFilling = false;
};

// Shows the list of the section; on OK (1) text holds the checked entries joined by ","; Cancel
// gives 2.
int PickFromList(const QString& caption, const QString& prompt, QString& text, const QString& section,
                 const QString& iniFile);
