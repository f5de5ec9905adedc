#pragma once

#include "view/TGraphPopupMenu.h"

#include <QList>
#include <QObject>
#include <QPair>

class QAction;
class QMenu;
class TEgoNetGraphDisplay;

// Main-window menus that reach the graph's own commands (its context menu is never offered in
// this program). An item is enabled as that context menu would enable it, checked when its menu
// opens and again when it is triggered, so a shortcut never acts where the menu would not. The
// editing items (cut, copy, paste, select all) act on a focused text field instead when there is
// one.
class TGraphMenus : public QObject
{
public:
    using TItem = QPair<QAction*, TGraphMenuItem>;

    TGraphMenus(TEgoNetGraphDisplay& view, const QList<QMenu*>& menus, const QList<TItem>& items, QObject* parent = nullptr);

private:
    void MenuShown();
    void Trigger(TGraphMenuItem item);
    // The focused widget when it edits text and has the slot for the item, else none.
    QObject* TextTarget(TGraphMenuItem item) const;

    TEgoNetGraphDisplay& FView;
    QList<TItem> FItems;
};
