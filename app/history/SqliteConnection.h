#pragma once

#include "app/history/SqliteStatement.h"

#include <memory>
#include <string>

struct sqlite3;

namespace Tunewell {

// One open SQLite database, closed with its owner. Errors are EHistoryError.
class SqliteConnection {
public:
    // Opens or creates the file; ":memory:" is a database of this connection alone.
    explicit SqliteConnection(const std::string &Path);

    void Execute(const char *Sql);
    SqliteStatement Prepare(const char *Sql);

private:
    struct Closer {
        void operator()(sqlite3 *Database) const;
    };
    std::unique_ptr<sqlite3, Closer> Database_;
};

// Throws the EHistoryError for an SQLite result code, with the database's own message.
[[noreturn]] void ThrowSqliteError(sqlite3 *Database, int Code, const std::string &Doing);

} // namespace Tunewell
