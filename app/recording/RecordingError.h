#pragma once

#include <stdexcept>
#include <string>

namespace Tunewell {

// A recording's file could not be made or written (an unwritable folder, a full disk).
class ERecordingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace Tunewell
