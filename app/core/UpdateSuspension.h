#pragma once

namespace Tunewell {

class TStationTable;

// Suspends the table's display updates for its own lifetime, so they resume also when an
// error leaves the scope early.
class TUpdateSuspension {
public:
    explicit TUpdateSuspension(TStationTable &Table);
    ~TUpdateSuspension();
    TUpdateSuspension(const TUpdateSuspension &) = delete;
    TUpdateSuspension &operator=(const TUpdateSuspension &) = delete;

private:
    TStationTable &fTable;
};

} // namespace Tunewell
