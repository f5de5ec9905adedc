#pragma once

#include <QDialog>
#include <QList>

#include <memory>

class TEgoNetGraphEx;
class TEgoNetModel;
class TListGrid;
class TOrganizedNode;
namespace Ui {
class TfrmAttributeBasedPerson;
}

// Picks persons by the values of one attribute: the user chooses the attribute, then checks the
// values wanted.
class TfrmAttributeBasedPerson : public QDialog
{
    Q_OBJECT

public:
    TfrmAttributeBasedPerson(const TEgoNetModel& model, QWidget* parent = nullptr);
    ~TfrmAttributeBasedPerson() override;

    TListGrid& Grid() const;
    // The persons that have the chosen attribute with one of the checked values, in model order.
    QList<TOrganizedNode*> MatchingPersons() const;

    void accept() override;

private:
    void cbAttributeChange(const QString& name);

    std::unique_ptr<Ui::TfrmAttributeBasedPerson> ui;
    const TEgoNetModel& FModel;
};

// Modal result 1 (OK) or 2; persons receives the matching persons on OK. x, y: the screen point
// the window's bottom-left corner goes to; negative for none.
int PickPersonsByAttribute(TEgoNetGraphEx* host, QList<TOrganizedNode*>* persons, int y, int x);
