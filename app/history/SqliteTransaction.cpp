#include "app/history/SqliteTransaction.h"

#include "app/history/HistoryError.h"
#include "app/history/SqliteConnection.h"

namespace Tunewell {

SqliteTransaction::SqliteTransaction(SqliteConnection &Connection) : Connection_(Connection) {
    // Taken for writing at once, so no reader of another connection can make it fail half way.
    Connection_.Execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    if (!Open_)
        return;
    try {
        Connection_.Execute("ROLLBACK");
    } catch (const EHistoryError &) {
        // SQLite has rolled back already when the failure that got here ended the transaction.
    }
}

void SqliteTransaction::Commit() {
    Connection_.Execute("COMMIT");
    Open_ = false;
}

} // namespace Tunewell
