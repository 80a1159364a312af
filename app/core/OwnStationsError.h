#pragma once

#include <stdexcept>

namespace Tunewell {

// The profile's PROPRIAS node is not a record of stations at all (a text, a number, a list).
class EOwnStationsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace Tunewell
