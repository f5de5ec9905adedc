#pragma once

#include <QDialog>

#include <memory>

class QListWidget;
class TEgoNetModel;
namespace Ui {
class TfrmSelectAttrValue;
}

// The values an attribute already has, to insert one with a click or a key. Moving the pointer
// over the list only selects; a click, an arrow key, a double click, or Enter or Space on a
// selected entry closes it with OK; Esc cancels.
class TfrmSelectAttrValue : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSelectAttrValue(QWidget* parent = nullptr);
    ~TfrmSelectAttrValue() override;

    QListWidget& List() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmSelectAttrValue> ui;
};

// Modal result 1 (OK) or 2. value receives the chosen entry on OK; the entry equal to value
// (ignoring case) is selected at the start. x, y: the screen point the list opens to the left
// of; negative for none.
int PickAttributeValue(const TEgoNetModel* model, bool forPersons, int y, int x, QString& value,
                       const QString& attributeName);
