#include "app/history/HistoryStore.h"

#include "app/history/HistoryDatabase.h"
#include "app/history/HistoryError.h"

#include <QDateTime>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

namespace Tunewell {

namespace {
constexpr const char *kInMemory = ":memory:";
}

HistoryStore::HistoryStore(std::string Path, Deliver ToOwner, Problem Report, int Bound)
    : Path_(std::move(Path)), ToOwner_(std::move(ToOwner)), Report_(std::move(Report)),
      Bound_(Bound > 0 ? Bound : HistoryDatabase::MostTitles), Worker_([this] { Run(); }) {}

HistoryStore::~HistoryStore() {
    {
        std::lock_guard lock(Lock_);
        Stopping_ = true;
    }
    Wake_.notify_one();
    Worker_.join();
}

std::string HistoryStore::DefaultFilePath() {
    return (QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
            QStringLiteral("/history.sqlite"))
        .toStdString();
}

void HistoryStore::Post(Job Work) {
    {
        std::lock_guard lock(Lock_);
        Jobs_.push_back(std::move(Work));
    }
    Wake_.notify_one();
}

void HistoryStore::Run() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(Lock_);
            Wake_.wait(lock, [this] { return Stopping_ || !Jobs_.empty(); });
            // What was queued before the end is still done: those are titles heard.
            if (Jobs_.empty())
                return;
            job = std::move(Jobs_.front());
            Jobs_.pop_front();
        }
        job();
    }
}

void HistoryStore::Answer(Job Procedure) {
    if (Procedure)
        ToOwner_(std::move(Procedure));
}

void HistoryStore::Report(const std::string &Text, bool StillKept) {
    if (Reported_)
        return;
    Reported_ = true;
    if (Report_)
        Answer([Report = Report_, Text, StillKept] { Report(Text, StillKept); });
}

HistoryDatabase *HistoryStore::Database() {
    if (Database_)
        return Database_.get();
    const std::string path = Path_.empty() ? kInMemory : Path_;
    try {
        if (!Path_.empty()) {
            std::error_code ignored;
            // A folder that cannot be made fails at the open below, which says why.
            std::filesystem::create_directories(std::filesystem::path(Path_).parent_path(), ignored);
        }
        try {
            Database_ = std::make_unique<HistoryDatabase>(path, Bound_);
        } catch (const EHistoryError &error) {
            if (!error.Damaged() || Path_.empty())
                throw;
            SetAsideDamagedFile(error.what());
            Database_ = std::make_unique<HistoryDatabase>(path, Bound_);
        }
    } catch (const EHistoryError &error) {
        Report("cannot open " + path + ": " + error.what());
    }
    return Database_.get();
}

void HistoryStore::SetAsideDamagedFile(const std::string &Why) {
    const std::string aside =
        Path_ + ".damaged-" +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    std::error_code failed;
    // The journal beside it holds part of what the file holds: both go together.
    for (const char *suffix : {"-wal", "-shm", ""}) {
        const std::filesystem::path from = Path_ + suffix;
        if (std::filesystem::exists(from))
            std::filesystem::rename(from, aside + suffix, failed);
        if (failed)
            throw EHistoryError("cannot set the damaged file aside: " + failed.message(), false);
    }
    // Said even when a later problem is reported too: a set-aside file is news to the listener.
    Reported_ = false;
    Report(Path_ + " was damaged (" + Why + "); it was set aside as " + aside + " and a new one started",
           true);
    Reported_ = false;
}

void HistoryStore::Add(HistoryEntry Entry, std::function<void(bool Added)> Done) {
    Post([this, Entry = std::move(Entry), Done = std::move(Done)] {
        bool added = false;
        for (int attempt = 0; attempt < 2; ++attempt) {
            HistoryDatabase *database = Database();
            if (!database)
                break;
            try {
                added = database->Add(Entry);
                Reported_ = false;
                break;
            } catch (const EHistoryError &error) {
                Database_.reset();
                if (!error.Damaged() || Path_.empty() || attempt > 0) {
                    Report(std::string("cannot add a title: ") + error.what());
                    break;
                }
                try {
                    SetAsideDamagedFile(error.what());
                } catch (const EHistoryError &aside) {
                    Report(aside.what());
                    break;
                }
            }
        }
        if (Done)
            Answer([Done, added] { Done(added); });
    });
}

void HistoryStore::Load(int Limit, std::function<void(HistoryList)> Done) {
    Post([this, Limit, Done = std::move(Done)] {
        std::vector<HistoryEntry> entries;
        if (HistoryDatabase *database = Database()) {
            try {
                entries = database->Newest(Limit);
            } catch (const EHistoryError &error) {
                Report(std::string("cannot read the titles: ") + error.what());
            }
        }
        auto list = std::make_shared<HistoryList>(MakeHistoryList(std::move(entries)));
        Answer([Done, list] { Done(std::move(*list)); });
    });
}

void HistoryStore::Aside(std::function<void()> Work, std::function<void(std::string Error)> Done) {
    Post([this, Work = std::move(Work), Done = std::move(Done)] {
        std::string error;
        try {
            Work();
        } catch (const std::exception &failure) {
            error = failure.what();
            if (error.empty())
                error = "failed";
        }
        Answer([Done, error] { Done(error); });
    });
}

} // namespace Tunewell
