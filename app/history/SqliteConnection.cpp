#include "app/history/SqliteConnection.h"

#include "app/history/HistoryError.h"

#include <sqlite3.h>

namespace Tunewell {

namespace {
// Another connection to the same file (a second start without a session bus, the start after a
// profile's deletion overlapping the old one) holds the write lock for one commit at a time:
// waiting for it beats losing the title.
constexpr int kBusyWaitMilliseconds = 5000;
} // namespace

void ThrowSqliteError(sqlite3 *Database, int Code, const std::string &Doing) {
    const int primary = Code & 0xff;
    const bool damaged = primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
    const std::string detail = Database ? sqlite3_errmsg(Database) : sqlite3_errstr(Code);
    throw EHistoryError(detail + " (" + Doing + ")", damaged);
}

void SqliteConnection::Closer::operator()(sqlite3 *Database) const {
    sqlite3_close(Database);
}

SqliteConnection::SqliteConnection(const std::string &Path) {
    sqlite3 *database = nullptr;
    const int code = sqlite3_open_v2(
        Path.c_str(), &database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    // A handle comes back even when opening fails, to carry the message; it is closed all the same.
    Database_.reset(database);
    if (code != SQLITE_OK)
        ThrowSqliteError(database, code, "opening " + Path);
    sqlite3_extended_result_codes(database, 1);
    sqlite3_busy_timeout(database, kBusyWaitMilliseconds);
}

void SqliteConnection::Execute(const char *Sql) {
    const int code = sqlite3_exec(Database_.get(), Sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        ThrowSqliteError(Database_.get(), code, Sql);
}

SqliteStatement SqliteConnection::Prepare(const char *Sql) {
    return SqliteStatement(Database_.get(), Sql);
}

} // namespace Tunewell
