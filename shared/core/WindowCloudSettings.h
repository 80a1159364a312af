#pragma once

#include <string>

namespace Tunewell {

// The four fixed values with which every window reaches the cloud.
struct WindowCloudSettings {
    std::string ProjectID;
    std::string ApiKey;
    std::string Email;
    std::string Password;

    // The values built into the program.
    static WindowCloudSettings FromBuild();
};

} // namespace Tunewell
