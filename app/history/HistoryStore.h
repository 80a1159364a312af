#pragma once

#include "app/history/HistoryEntry.h"
#include "app/history/HistoryList.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace Tunewell {

class HistoryDatabase;

// The title history on a thread of its own: every read and write of the database, and the
// owner's other disk work, runs there in the order given, never on the owner's thread. Answers
// reach the owner through Deliver (the main thread's queue in the program).
// A database that cannot be opened or written is reported once, until a write succeeds again;
// a damaged file is set aside beside itself and a new one started, and that is reported too.
class HistoryStore {
public:
    using Deliver = std::function<void(std::function<void()>)>;
    // StillKept: the history goes on (in a new file) despite what Text says.
    using Problem = std::function<void(const std::string &Text, bool StillKept)>;

    // Path: the database file, its folder made when missing; empty keeps the history in memory
    // for this run only.
    explicit HistoryStore(std::string Path, Deliver ToOwner, Problem Report = {}, int Bound = 0);
    // Writes what is still queued, then stops.
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    // The file in the user's data folder.
    static std::string DefaultFilePath();

    // Done: whether the title was added (false for a repeat, or when it could not be written).
    void Add(HistoryEntry Entry, std::function<void(bool Added)> Done = {});
    // The newest entries first, at most Limit; none when the database cannot be read.
    void Load(int Limit, std::function<void(HistoryList)> Done);
    // Other disk work of the owner's; Done gets the error's text, empty when there was none.
    void Aside(std::function<void()> Work, std::function<void(std::string Error)> Done);

private:
    using Job = std::function<void()>;
    void Post(Job Work);
    void Run();
    // The database, opened on first use; null when it cannot be.
    HistoryDatabase *Database();
    void SetAsideDamagedFile(const std::string &Why);
    void Report(const std::string &Text, bool StillKept = false);
    void Answer(Job Procedure);

    std::string Path_;
    Deliver ToOwner_;
    Problem Report_;
    int Bound_;
    bool Reported_ = false;
    // The worker thread's alone.
    std::unique_ptr<HistoryDatabase> Database_;

    std::mutex Lock_;
    std::condition_variable Wake_;
    std::deque<Job> Jobs_;
    bool Stopping_ = false;
    std::thread Worker_;
};

} // namespace Tunewell
