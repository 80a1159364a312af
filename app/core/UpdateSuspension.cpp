#include "app/core/UpdateSuspension.h"

#include "app/core/StationTable.h"

namespace Tunewell {

TUpdateSuspension::TUpdateSuspension(TStationTable &Table) : fTable(Table) {
    fTable.SuspendUpdates();
}

TUpdateSuspension::~TUpdateSuspension() {
    fTable.ResumeUpdates();
}

} // namespace Tunewell
