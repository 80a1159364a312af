#pragma once

#include <stdexcept>

namespace Tunewell {

// A misuse of the station table or a value a field rejects; the message says which.
class EStationTableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace Tunewell
