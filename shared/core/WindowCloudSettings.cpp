#include "shared/core/WindowCloudSettings.h"

#include "Tunewell/BuildValues.h"

namespace Tunewell {

WindowCloudSettings WindowCloudSettings::FromBuild() {
    return {BuildValues::kProjectId, BuildValues::kApiKey, BuildValues::kServiceEmail,
            BuildValues::kServicePassword};
}

} // namespace Tunewell
