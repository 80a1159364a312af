#pragma once

namespace Tunewell {

// The application's terminate request without the main window's close handling (no close
// record): every event loop ends after the current event, and the program counts as ending at
// once, so its windows make no further cloud call and show nothing.
void EndProgramWithoutCloseRecord();

} // namespace Tunewell
