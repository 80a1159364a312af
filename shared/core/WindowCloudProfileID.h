#pragma once

#include <string>

namespace Tunewell {

// The user's profile ID from the settings store ("Registrado" of "Firebase"); empty without a profile.
std::string ReadProfileID();

} // namespace Tunewell
