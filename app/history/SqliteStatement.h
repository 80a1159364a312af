#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace Tunewell {

// One prepared SQLite statement, finalised with its owner. Errors are EHistoryError.
class SqliteStatement {
public:
    SqliteStatement(sqlite3 *Database, const char *Sql);

    // Parameters count from 1, as SQLite counts them.
    SqliteStatement &Bind(int Index, std::string_view Text);
    SqliteStatement &Bind(int Index, std::int64_t Number);
    // True while a row is ready to be read.
    bool Step();
    // Ready to run again, with its parameters cleared.
    void Reset();
    std::string Text(int Column) const;
    std::int64_t Number(int Column) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt *Statement) const;
    };
    sqlite3 *Database_;
    std::unique_ptr<sqlite3_stmt, Finalizer> Statement_;
};

} // namespace Tunewell
