#pragma once

#include <string>

namespace Tunewell {

// Where a window's cloud helpers write their lines: the window's log memo `memRTDB`.
class IWindowCloudLog {
public:
    virtual ~IWindowCloudLog() = default;
    // Appends one line at the end.
    virtual void AddLine(const std::string &Line) = 0;
    // Removes every line, as some handlers do before a write.
    virtual void Clear() = 0;
};

} // namespace Tunewell
