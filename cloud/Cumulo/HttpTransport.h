#pragma once

#include <atomic>
#include <chrono>

namespace Cumulo {

// What every request of the process shares, whichever thread sends it: the overall deadline
// of a request.
class THttpTransport {
public:
    THttpTransport();

    // The one transport of the process.
    static THttpTransport &Shared();

    std::chrono::milliseconds RequestDeadline() const;
    // Tests shorten it to show a slow peer cut off without waiting the whole deadline.
    void SetRequestDeadline(std::chrono::milliseconds Deadline);

private:
    std::atomic<std::chrono::milliseconds::rep> fRequestDeadlineMs;
};

} // namespace Cumulo
