#pragma once

#include "view/TGraphEvents.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class TEgoNetGraphEx;
class TEgoNetModel;
class TListGrid;
class TOrganizedNode;
namespace Ui {
class TfrmPagePersons;
}

// The Persons page: the list of every person with check marks, and the form that edits the
// checked persons' personal details. With one person checked the form shows that person; with
// several (group mode) it shows the values they share and writes what the user types to all of
// them. The details are free attributes of the persons under fixed keys. Edits stay in the form
// until CommitEdits, which runs before the checked set changes and when the owner asks.
class TfrmPagePersons : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmPagePersons(QWidget* parent = nullptr);
    ~TfrmPagePersons() override;

    // Binds the page to a graph (none keeps the one bound) and lists its persons, none checked.
    void AttachGraph(TEgoNetGraphEx* host);
    void CommitEdits();
    // Checks the persons selected on the graph and loads them.
    void ShowGraphSelection();
    void btnNewPersonClick();
    void btnDeleteClick();

    // The persons the form edits: those checked when it was last loaded, still in the graph.
    QList<TOrganizedNode*> EditedPersons() const;
    TListGrid& Grid() const;
    bool FormModified() const { return FFormModified; }
    // A label or the set of persons changed since the owner last cleared it.
    bool NamesChanged = false;

    TNotifyEvent OnOtherAttributes;
    TObjectEvent OnPersonFocused;

    // The caption split at its first blank: first name before it, last name after.
    static void SplitCaption(const QString& caption, QString& first, QString& last);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TField
    {
        QWidget* Control;
        QString Key;
    };

    TEgoNetModel* Model() const;
    QString FieldText(const TField& field) const;
    void SetFieldText(const TField& field, const QString& text);
    void ClearForm();
    void FillListFromIni(QComboBox* combo, const QString& section);
    void SaveListToIni(QComboBox* combo, const QString& section);
    void EnsureStandardKeys();
    void SplitCaptions();
    void UpdateFullName();
    void LoadCheckedPersons();
    void LoadPerson(TOrganizedNode* person);
    void LoadGroup(const QList<TOrganizedNode*>& persons);
    void StorePerson(TOrganizedNode* person, bool groupMode, const QString& imageID);
    void RefreshNameColumn();
    void SetPicture(const QImage& picture);
    void Repaint();
    // Enter moves to the next field; in the education and work combos it first keeps the typed
    // entry in their list.
    void EnterPressed(QWidget* field);

    void lbFilterMouseDown(QPoint globalPos);
    void lbShowAllClick();
    void lbAddPhotoClick();
    void SaveImageClick();
    void ViewFullSizeClick();
    void lbClearPhotoClick();
    void lbSendEMailClick();
    void BrowseFavourites(QLineEdit* field, const QString& caption, const QString& prompt, const QString& section);

    std::unique_ptr<Ui::TfrmPagePersons> ui;
    QList<TField> FFields;
    TEgoNetGraphEx* FHost = nullptr;
    QStringList FEditedIDs;
    bool FFormModified = false;
    QString FFormImageID;
    QImage FPicture;
    // Check marks change by the page's own hand, not the user's.
    bool FChecking = false;
};

