#pragma once

#include <stdexcept>

namespace Tunewell {

// The kept catalogue could not be written, or a kept file is not one this program can trust;
// the message says why.
class EKeptCatalogueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace Tunewell
