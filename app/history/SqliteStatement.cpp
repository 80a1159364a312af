#include "app/history/SqliteStatement.h"

#include "app/history/SqliteConnection.h"

#include <sqlite3.h>

namespace Tunewell {

void SqliteStatement::Finalizer::operator()(sqlite3_stmt *Statement) const {
    sqlite3_finalize(Statement);
}

SqliteStatement::SqliteStatement(sqlite3 *Database, const char *Sql) : Database_(Database) {
    sqlite3_stmt *statement = nullptr;
    const int code = sqlite3_prepare_v2(Database, Sql, -1, &statement, nullptr);
    Statement_.reset(statement);
    if (code != SQLITE_OK)
        ThrowSqliteError(Database, code, "preparing a statement");
}

SqliteStatement &SqliteStatement::Bind(int Index, std::string_view Text) {
    const int code = sqlite3_bind_text(Statement_.get(), Index, Text.data(), static_cast<int>(Text.size()),
                                       SQLITE_TRANSIENT);
    if (code != SQLITE_OK)
        ThrowSqliteError(Database_, code, "binding a value");
    return *this;
}

SqliteStatement &SqliteStatement::Bind(int Index, std::int64_t Number) {
    const int code = sqlite3_bind_int64(Statement_.get(), Index, Number);
    if (code != SQLITE_OK)
        ThrowSqliteError(Database_, code, "binding a value");
    return *this;
}

bool SqliteStatement::Step() {
    const int code = sqlite3_step(Statement_.get());
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    ThrowSqliteError(Database_, code, "running a statement");
}

void SqliteStatement::Reset() {
    // The error of a failed step was thrown by Step already.
    sqlite3_reset(Statement_.get());
    sqlite3_clear_bindings(Statement_.get());
}

std::string SqliteStatement::Text(int Column) const {
    const auto *text = sqlite3_column_text(Statement_.get(), Column);
    if (!text)
        return {};
    return std::string(reinterpret_cast<const char *>(text),
                       static_cast<std::size_t>(sqlite3_column_bytes(Statement_.get(), Column)));
}

std::int64_t SqliteStatement::Number(int Column) const {
    return sqlite3_column_int64(Statement_.get(), Column);
}

} // namespace Tunewell
