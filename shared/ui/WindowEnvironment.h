#pragma once

#include "shared/core/WindowCloudClients.h"
#include "shared/core/WindowCloudSettings.h"
#include "shared/ui/Dialogs.h"

#include <memory>

namespace Tunewell {

// What every window of the program is given when it is created: bound once in main(),
// replaced by tests.
struct WindowEnvironment {
    IDialogs &Dialogs;
    std::shared_ptr<IWindowCloudClients> CloudClients;
    WindowCloudSettings CloudSettings = WindowCloudSettings::FromBuild();
};

} // namespace Tunewell
