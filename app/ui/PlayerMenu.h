#pragma once

#include <QMenu>

class QKeySequence;

namespace Tunewell {

// The "Player" menu after "Favorite": the commands the program offers beyond the specified
// menu. Every item carries a shortcut, shown beside its caption and working wherever the focus
// is in the main window.
class PlayerMenu : public QMenu {
    Q_OBJECT
public:
    explicit PlayerMenu(QWidget *Parent);

    QAction *AddItem(const QString &Caption, const QKeySequence &Shortcut);
    PlayerMenu *AddSubmenu(const QString &Caption);
};

} // namespace Tunewell
