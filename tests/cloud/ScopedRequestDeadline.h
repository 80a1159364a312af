#pragma once

// Shortens the overall limit of every small request for the length of one test, so that a slow
// peer is cut off without waiting the real deadline.

#include "Cumulo/HttpTransport.h"

namespace CloudTest {

class TScopedRequestDeadline {
public:
    explicit TScopedRequestDeadline(std::chrono::milliseconds Deadline)
        : fPrevious(Cumulo::THttpTransport::Shared().RequestDeadline()) {
        Cumulo::THttpTransport::Shared().SetRequestDeadline(Deadline);
    }
    ~TScopedRequestDeadline() { Cumulo::THttpTransport::Shared().SetRequestDeadline(fPrevious); }
    TScopedRequestDeadline(const TScopedRequestDeadline &) = delete;
    TScopedRequestDeadline &operator=(const TScopedRequestDeadline &) = delete;

private:
    std::chrono::milliseconds fPrevious;
};

} // namespace CloudTest
