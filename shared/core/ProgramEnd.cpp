#include "shared/core/ProgramEnd.h"

#include "Cumulo/Helpers.h"

#include <QCoreApplication>

namespace Tunewell {

void EndProgramWithoutCloseRecord() {
    // Before the loops end: the handler that asked returns first, and so do the windows' own
    // loops it ran in, and none of what follows them may reach the cloud.
    Cumulo::TFirebaseHelpers::SetAppTerminated(true);
    QCoreApplication::exit(0);
}

} // namespace Tunewell
