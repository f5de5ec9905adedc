#pragma once

#include "view/TGraphEvents.h"

#include <QList>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QLineEdit;
class TEgoNetEdge;
class TEgoNetGraphEx;
class TEgoNetModel;
class TEgoNetObject;
class TListGrid;
class TOrganizedNode;
namespace Ui {
class TfrmPageAttributes;
}

// The Attributes page: the free attributes of the persons edited on the Persons page and of the
// links selected on the graph, as two name/value tables. All persons carry the same attribute
// names, and so do all links: adding, renaming or deleting a row changes the names of everybody,
// while values change only for the edited persons (or selected links). The personal details,
// which the Persons page edits, are not listed. Edits are written by CommitEdits, which runs
// after every finished cell edit and when the owner asks.
class TfrmPageAttributes : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmPageAttributes(QWidget* parent = nullptr);
    ~TfrmPageAttributes() override;

    // The persons to edit. The owner hands over the Persons page's list as a function, which
    // the page asks afresh whenever it needs the persons, so that it never keeps them.
    std::function<QList<TOrganizedNode*>()> EditedPersons;

    // Binds the page to a graph (none keeps the one bound) and rebuilds both tables.
    void AttachGraph(TEgoNetGraphEx* host);
    // Rebuilds the link table from the links selected on the graph; edits not yet written go
    // to the links they were made for first.
    void ShowSelectedLinks();
    // Writes both tables if a cell changed since the last commit.
    void CommitEdits();
    void CommitPersons();
    void CommitLinks();

    // The links the link table shows: those selected when it was built and still in the graph,
    // in the order of the model's links.
    QList<TEgoNetEdge*> EditedLinks() const;
    bool TablesModified() const { return FTablesModified; }
    // Where the value picker opens, in the person table's coordinates.
    QPoint PickerAnchor() const { return FPickerAnchor; }
    TListGrid& PersonGrid() const;
    TListGrid& LinkGrid() const;

    TNotifyEvent OnBackToPersons;
    TNotifyEvent OnBackToConnections;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TTable
    {
        TListGrid* Grid = nullptr;
        bool ForPersons = true;
        // The rows' names when the table was filled or last written.
        QStringList FormerNames;
    };
    struct TRow
    {
        QPersistentModelIndex Cell;
        QString Name;
        QString Value;
        bool HasFormer;
        QString Former;
    };

    TEgoNetModel* Model() const;
    void InitTable(TTable& table);
    void ShowPersons();
    void Fill(TTable& table, const QList<TEgoNetObject*>& objects);
    bool FormerName(const TTable& table, int row, QString& former) const;
    QList<TRow> Rows(const TTable& table) const;
    void Commit(TTable& table, const QList<TEgoNetObject*>& objects);
    void Write(TTable& table, const QList<TEgoNetObject*>& objects);
    void RememberNames(TTable& table, const QList<TRow>& rows);
    void EditDone();

    void NewClick(TTable& table);
    void EditClick(TTable& table);
    void DeleteClick(TTable& table);
    void PickValue(TTable& table, const QPersistentModelIndex& cell, const QPointer<QLineEdit>& editor);
    // The point in another widget's coordinates becomes the picker's anchor.
    void SetPickerAnchor(const QWidget& from, QPoint at);
    // Enter in the link table: true when links are selected to take the values, otherwise
    // the user is told to select some.
    bool LinksToAssign();

    std::unique_ptr<Ui::TfrmPageAttributes> ui;
    TTable FPersonTable;
    TTable FLinkTable{nullptr, false, {}};
    TEgoNetGraphEx* FHost = nullptr;
    QStringList FEditedLinkIDs;
    bool FTablesModified = false;
    bool FCommitting = false;
    bool FCommitAgain = false;
    QPoint FPickerAnchor;
};
