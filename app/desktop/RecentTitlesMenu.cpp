#include "app/desktop/RecentTitlesMenu.h"

#include "app/desktop/TitleHistory.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QApplication>
#include <QClipboard>

namespace Tunewell {

RecentTitlesMenu::RecentTitlesMenu(TitleHistory &History, QWidget *Parent)
    : QMenu(QStringLiteral("Recent titles / T\u00EDtulos recentes"), Parent), History_(History) {
    setObjectName(QStringLiteral("RecentTitles"));
    connect(this, &QMenu::aboutToShow, this, Guarded([this] { List(); }));
}

void RecentTitlesMenu::List() {
    clear();
    if (History_.Recent().empty()) {
        addAction(QStringLiteral("No titles yet / Nenhum t\u00EDtulo ainda"))->setEnabled(false);
        return;
    }
    for (const auto &entry : History_.Recent()) {
        const QString title = QString::fromStdString(entry.Title);
        // A title's "&" is not a mnemonic.
        QAction *item = addAction(QString(title).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setToolTip(QString::fromStdString(entry.Station));
        connect(item, &QAction::triggered, this, [title] { QApplication::clipboard()->setText(title); });
    }
}

} // namespace Tunewell
