#pragma once

namespace Tunewell {

// Follows the station table without the table knowing who follows. Appends and resets come
// as a pair (about to / done) so an item model can bracket them; between the two calls of a reset,
// rows, order and values may all change. While updates are suspended nothing is reported;
// the table calls TableAboutToBeReset when the first suspension starts and TableReset when
// the last one ends. After a reset, read the row count and CurrentRow() again.
class IStationTableObserver {
public:
    virtual ~IStationTableObserver() = default;
    // Rows First..Last (inclusive) are added at the end.
    virtual void RowsAboutToBeAppended(int /*First*/, int /*Last*/) {}
    virtual void RowsAppended(int /*First*/, int /*Last*/) {}
    // Values of one row changed in place.
    virtual void RowChanged(int /*Row*/) {}
    virtual void TableAboutToBeReset() {}
    virtual void TableReset() {}
    // The current row moved (-1: no row).
    virtual void CurrentRowChanged(int /*Row*/) {}
};

} // namespace Tunewell
