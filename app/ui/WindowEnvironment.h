#pragma once

#include "Dialogs.h"
#include "WindowCloudClients.h"
#include "WindowCloudSettings.h"

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
