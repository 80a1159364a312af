#pragma once

#include "app/history/HistoryEntry.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <vector>

namespace Tunewell {

class HistoryStore;
class PlayerRemote;

// Every title the player shows goes into the history store with its station and the time it
// came; the last few are kept here too, for the tray, so nothing waits for the disk to list them.
class TitleHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int RecentCount = 5;
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    TitleHistory(PlayerRemote &Remote, HistoryStore &Store, Clock Now = &std::chrono::system_clock::now,
                 QObject *Parent = nullptr);

    HistoryStore &Store() const { return Store_; }
    // The newest first, at most RecentCount.
    const std::vector<HistoryEntry> &Recent() const { return Recent_; }

signals:
    // A title went into the history (a repeat does not).
    void Added(const Tunewell::HistoryEntry &Entry);

private:
    void Follow();
    void Remember(const HistoryEntry &Entry);

    PlayerRemote &Remote_;
    HistoryStore &Store_;
    Clock Now_;
    std::vector<HistoryEntry> Recent_;
};

} // namespace Tunewell
