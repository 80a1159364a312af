#pragma once

#include <stdexcept>
#include <string>

namespace Tunewell {

// A playlist file refused whole: what() says why in English and Portuguese, naming the line
// where that helps.
class PlaylistError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace Tunewell
