#pragma once

#include <stdexcept>
#include <string>

namespace Tunewell {

// The title history's database could not be opened, read or written. Damaged: the file is not
// a database or its contents are corrupt, so only a new file helps.
class EHistoryError : public std::runtime_error {
public:
    EHistoryError(const std::string &Message, bool Damaged)
        : std::runtime_error(Message), Damaged_(Damaged) {}
    bool Damaged() const { return Damaged_; }

private:
    bool Damaged_;
};

} // namespace Tunewell
