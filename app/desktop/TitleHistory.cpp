#include "app/desktop/TitleHistory.h"

#include "app/desktop/PlayerRemote.h"
#include "app/history/HistoryStore.h"
#include "app/history/HistoryTitle.h"

#include <QPointer>

namespace Tunewell {

TitleHistory::TitleHistory(PlayerRemote &Remote, HistoryStore &Store, Clock Now, QObject *Parent)
    : QObject(Parent), Remote_(Remote), Store_(Store), Now_(std::move(Now)) {
    connect(&Remote_, &PlayerRemote::TitleChanged, this, &TitleHistory::Follow);
    QPointer<TitleHistory> self(this);
    Store_.Load(RecentCount, [self](HistoryList List) {
        // Titles heard meanwhile are newer than those read.
        if (self)
            for (auto &entry : List.Entries)
                if (static_cast<int>(self->Recent_.size()) < RecentCount)
                    self->Recent_.push_back(std::move(entry));
    });
}

void TitleHistory::Follow() {
    const QString title = Remote_.Title();
    // A new station clears the title first: that is no title heard.
    if (title.isEmpty())
        return;
    const RemoteStation station = Remote_.Station();
    HistoryEntry entry{OneLineTitle(title.toStdString()), station.Name.toStdString(),
                       station.Serie.toStdString(), station.Url.toStdString(),
                       std::chrono::duration_cast<std::chrono::seconds>(Now_().time_since_epoch()).count()};
    QPointer<TitleHistory> self(this);
    Store_.Add(entry, [self, entry](bool Added) {
        if (self && Added)
            self->Remember(entry);
    });
}

void TitleHistory::Remember(const HistoryEntry &Entry) {
    Recent_.insert(Recent_.begin(), Entry);
    if (static_cast<int>(Recent_.size()) > RecentCount)
        Recent_.pop_back();
    emit Added(Entry);
}

} // namespace Tunewell
