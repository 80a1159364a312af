#pragma once

namespace Tunewell {

class SqliteConnection;

// A write transaction: taken at once, rolled back unless committed.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteConnection &Connection);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction &) = delete;
    SqliteTransaction &operator=(const SqliteTransaction &) = delete;

    void Commit();

private:
    SqliteConnection &Connection_;
    bool Open_ = true;
};

} // namespace Tunewell
