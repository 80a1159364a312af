#include "app/history/HistoryDatabase.h"

#include "app/history/HistoryError.h"
#include "app/history/SameHearing.h"
#include "app/history/SqliteTransaction.h"

namespace Tunewell {

namespace {
constexpr const char *kSchema = "CREATE TABLE IF NOT EXISTS titles ("
                                " id INTEGER PRIMARY KEY,"
                                " started_utc INTEGER NOT NULL,"
                                " title TEXT NOT NULL,"
                                " station TEXT NOT NULL,"
                                " serie TEXT NOT NULL,"
                                " url TEXT NOT NULL);"
                                "CREATE INDEX IF NOT EXISTS titles_of_station ON titles (url, id);";

HistoryEntry EntryOfRow(const SqliteStatement &Row) {
    return {Row.Text(1), Row.Text(2), Row.Text(3), Row.Text(4), Row.Number(0)};
}
} // namespace

HistoryDatabase::HistoryDatabase(const std::string &Path, int Bound) : Connection_(Path), Bound_(Bound) {
    {
        // A file that is no database fails here, at its first read.
        auto check = Connection_.Prepare("PRAGMA quick_check");
        if (!check.Step() || check.Text(0) != "ok")
            throw EHistoryError("the file is damaged: " + check.Text(0), true);
    }
    Connection_.Execute("PRAGMA journal_mode = WAL");
    // Synced at every commit: a title once added survives a crash of the machine too.
    Connection_.Execute("PRAGMA synchronous = FULL");
    Connection_.Execute(kSchema);
}

bool HistoryDatabase::Add(const HistoryEntry &Entry) {
    SqliteTransaction transaction(Connection_);
    auto newest = Connection_.Prepare("SELECT started_utc, title, station, serie, url FROM titles"
                                      " WHERE url = ?1 ORDER BY id DESC LIMIT 1");
    newest.Bind(1, Entry.Url);
    if (newest.Step() && IsSameHearing(EntryOfRow(newest), Entry))
        return false;
    Connection_
        .Prepare("INSERT INTO titles (started_utc, title, station, serie, url) VALUES (?1, ?2, ?3, ?4, ?5)")
        .Bind(1, Entry.StartedAt)
        .Bind(2, Entry.Title)
        .Bind(3, Entry.Station)
        .Bind(4, Entry.Serie)
        .Bind(5, Entry.Url)
        .Step();
    Connection_
        .Prepare("DELETE FROM titles WHERE id <= (SELECT id FROM titles ORDER BY id DESC LIMIT 1 OFFSET ?1)")
        .Bind(1, static_cast<std::int64_t>(Bound_))
        .Step();
    transaction.Commit();
    return true;
}

std::vector<HistoryEntry> HistoryDatabase::Newest(int Limit) {
    auto rows = Connection_.Prepare("SELECT started_utc, title, station, serie, url FROM titles"
                                    " ORDER BY id DESC LIMIT ?1");
    rows.Bind(1, static_cast<std::int64_t>(Limit));
    std::vector<HistoryEntry> entries;
    while (rows.Step())
        entries.push_back(EntryOfRow(rows));
    return entries;
}

} // namespace Tunewell
