#include "app/mainwindow/TGraphMenus.h"

#include "view/TEgoNetGraphDisplay.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

const char* TextSlot(TGraphMenuItem item)
{
    switch (item) {
    case TGraphMenuItem::Cut: return "cut";
    case TGraphMenuItem::Copy: return "copy";
    case TGraphMenuItem::Paste: return "paste";
    case TGraphMenuItem::SelectAll: return "selectAll";
    default: return nullptr;
    }
}

} // namespace

TGraphMenus::TGraphMenus(TEgoNetGraphDisplay& view, const QList<QMenu*>& menus, const QList<TItem>& items, QObject* parent)
    : QObject(parent)
    , FView(view)
    , FItems(items)
{
    for (QMenu* menu : menus) {
        connect(menu, &QMenu::aboutToShow, this, &TGraphMenus::MenuShown);
        // Closed menus leave every item enabled, so that the shortcuts reach Trigger, which checks.
        connect(menu, &QMenu::aboutToHide, this, [this] {
            for (const TItem& item : std::as_const(FItems))
                item.first->setEnabled(true);
        });
    }
    for (const TItem& item : items)
        connect(item.first, &QAction::triggered, this, [this, which = item.second] { Trigger(which); });
}

QObject* TGraphMenus::TextTarget(TGraphMenuItem item) const
{
    const char* slot = TextSlot(item);
    QWidget* focus = QApplication::focusWidget();
    if (!slot || !focus)
        return nullptr;
    const bool editsText = qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus) ||
                           qobject_cast<QPlainTextEdit*>(focus);
    return editsText ? focus : nullptr;
}

void TGraphMenus::MenuShown()
{
    TGraphPopupMenu& popup = FView.PopupMenu();
    popup.UpdateEnabling();
    for (const TItem& item : std::as_const(FItems))
        item.first->setEnabled(TextTarget(item.second) || popup.Item(item.second)->isEnabled());
}

void TGraphMenus::Trigger(TGraphMenuItem item)
{
    if (QObject* field = TextTarget(item)) {
        QMetaObject::invokeMethod(field, TextSlot(item));
        return;
    }
    TGraphPopupMenu& popup = FView.PopupMenu();
    popup.UpdateEnabling();
    QAction* command = popup.Item(item);
    if (command->isEnabled())
        command->trigger();
}
