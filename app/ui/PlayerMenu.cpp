#include "app/ui/PlayerMenu.h"

#include <QKeySequence>

namespace Tunewell {

PlayerMenu::PlayerMenu(QWidget *Parent) : QMenu(QStringLiteral("Player"), Parent) {
    // No empty menu in the menu bar: it appears with its first item.
    menuAction()->setVisible(false);
}

QAction *PlayerMenu::AddItem(const QString &Caption, const QKeySequence &Shortcut) {
    QAction *item = addAction(Caption);
    item->setShortcut(Shortcut);
    item->setShortcutVisibleInContextMenu(true);
    menuAction()->setVisible(true);
    return item;
}

PlayerMenu *PlayerMenu::AddSubmenu(const QString &Caption) {
    auto *submenu = new PlayerMenu(this);
    submenu->setTitle(Caption);
    addMenu(submenu);
    menuAction()->setVisible(true);
    return submenu;
}

} // namespace Tunewell
