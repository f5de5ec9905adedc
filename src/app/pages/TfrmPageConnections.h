#pragma once

#include "view/TGraphEvents.h"

#include <QList>
#include <QPoint>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>

class TEgoNetGraphEx;
class TEgoNetModel;
class TListGrid;
class TOrganizedNode;
namespace Ui {
class TfrmPageConnections;
}

// The Connections page: links made and removed in bulk between the persons checked in two
// lists, one link per checked link type. The link types and their colours belong to the program
// (the "LinkTypes" section of the settings file), not to a graph.
class TfrmPageConnections : public QWidget
{
    Q_OBJECT

public:
    // Link types without a stored colour take these in turn.
    static const std::array<uint32_t, 16> DefaultColours;
    // A stored colour of this value counts as none.
    static constexpr uint32_t NoColour = 11180925;

    explicit TfrmPageConnections(QWidget* parent = nullptr);
    ~TfrmPageConnections() override;

    // Reads the link types from the settings file and, with a graph bound, lists its persons.
    void AttachGraph(TEgoNetGraphEx* host);
    void RefillPersonLists();
    // Writes the link types and their colours to the settings file.
    void SaveLinkTypes();
    // Gives every link of a listed type its type's colour.
    void ApplyLinkTypeColors();

    TListGrid& LPersons() const;
    TListGrid& RPersons() const;
    TListGrid& LinkTypes() const;
    uint32_t RowColour(int row) const;
    void SetRowColour(int row, uint32_t colour);

    void btnCreateLinksClick();
    void btnDeleteClick();
    void btnConnectAllClick();

    TNotifyEvent OnOtherAttributes;
    TNotifyEvent OnLinksCreated;
    TNotifyEvent OnLinksDeleted;
    TNotifyEvent OnAllConnected;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TChecked
    {
        QList<TOrganizedNode*> From;
        QList<TOrganizedNode*> To;
        QList<int> TypeRows;
    };

    TEgoNetModel* Model() const;
    // The checks every bulk command makes, with their messages; false ends the command.
    bool CheckSelection(TChecked& checked, bool needsDestination);
    // The strength as typed, when it is a number from 0 to 1.
    bool CheckStrength();
    void MakeLinks(const QList<QPair<TOrganizedNode*, TOrganizedNode*>>& pairs, const QList<int>& typeRows);
    void LinksMade(const TNotifyEvent& event, const QString& step);
    void EnsureStrengthKey();
    void StrengthEntered();
    void asgLinkTypesClickCell(int row, int column);
    void tbTypesNewClick();
    void tbTypesDeleteClick();

    std::unique_ptr<Ui::TfrmPageConnections> ui;
    TEgoNetGraphEx* FHost = nullptr;
    // Where the last press in the link-type list was; the colour picker opens there.
    QPoint FTypesPress;
};
