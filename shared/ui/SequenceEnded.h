#pragma once

#include <stdexcept>

namespace Tunewell {

// A window's cloud sequence was ended before its next step: the window is closing and a later
// write would come after its close record. The sequence stops where it is and says nothing.
class ESequenceEnded : public std::runtime_error {
public:
    ESequenceEnded() : std::runtime_error("The window is closing: the sequence ends here") {}
};

} // namespace Tunewell
