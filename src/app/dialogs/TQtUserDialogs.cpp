#include "app/dialogs/TQtUserDialogs.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace {

// A message box that Esc and the close box end without a choice, even when none of its
// buttons is a cancel button (the standard box ignores both then).
class TCaptionBox final : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            reject();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent* event) override
    {
        event->accept();
        reject();
    }
};

QMessageBox::Icon IconOf(TMessageKind kind)
{
    switch (kind) {
    case TMessageKind::Information: return QMessageBox::Information;
    case TMessageKind::Confirmation: return QMessageBox::Question;
    case TMessageKind::Warning: return QMessageBox::Warning;
    case TMessageKind::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QString TitleOf(TMessageKind kind)
{
    switch (kind) {
    case TMessageKind::Information: return QStringLiteral("Information");
    case TMessageKind::Confirmation: return QStringLiteral("Confirm");
    case TMessageKind::Warning: return QStringLiteral("Warning");
    case TMessageKind::Error: return QStringLiteral("Error");
    }
    return {};
}

} // namespace

TQtUserDialogs::TQtUserDialogs(QWidget* parent)
    : FParent(parent)
{
}

int TQtUserDialogs::Ask(const QString& message, TMessageKind kind, const QStringList& captions)
{
    if (captions.size() > MaxCaptions)
        return 0;

    TCaptionBox box(IconOf(kind), TitleOf(kind), message, QMessageBox::NoButton, FParent);
    QList<QAbstractButton*> buttons;
    const QFontMetrics metrics(box.font());
    int total = 0;
    for (const QString& caption : captions) {
        QPushButton* button = box.addButton(caption, QMessageBox::AcceptRole);
        // Short captions get a common width so a row of buttons looks even.
        const int textWidth = metrics.horizontalAdvance(caption);
        const int width = textWidth >= 45 ? textWidth + 20 : 65;
        button->setMinimumWidth(width);
        total += width + 7;
        buttons.append(button);
    }
    // The box sizes itself when shown, ignoring a minimum width; a spacer across its layout is
    // what widens it.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(total + 60, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
    box.exec();

    const int chosen = int(buttons.indexOf(box.clickedButton()));
    return chosen < 0 ? Closed : chosen + 1;
}

void TQtUserDialogs::Show(const QString& message, TMessageKind kind)
{
    QMessageBox box(IconOf(kind), TitleOf(kind), message, QMessageBox::Ok, FParent);
    box.exec();
}
