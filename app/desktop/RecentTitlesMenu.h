#pragma once

#include <QMenu>

namespace Tunewell {

class TitleHistory;

// The tray's last few titles, newest first; a click copies the title.
class RecentTitlesMenu : public QMenu {
    Q_OBJECT
public:
    RecentTitlesMenu(TitleHistory &History, QWidget *Parent);

private:
    void List();

    TitleHistory &History_;
};

} // namespace Tunewell
