#pragma once

// Sets the limits every request is held to for the length of one test, so that a slow or silent
// peer is cut off without waiting the real limits.

#include "Cumulo/HttpTransport.h"

namespace CloudTest {

class TScopedTransferLimits {
public:
    explicit TScopedTransferLimits(const Cumulo::TTransferLimits &Limits)
        : fPrevious(Cumulo::THttpTransport::Shared().Limits()) {
        Cumulo::THttpTransport::Shared().SetLimits(Limits);
    }
    ~TScopedTransferLimits() { Cumulo::THttpTransport::Shared().SetLimits(fPrevious); }
    TScopedTransferLimits(const TScopedTransferLimits &) = delete;
    TScopedTransferLimits &operator=(const TScopedTransferLimits &) = delete;

private:
    Cumulo::TTransferLimits fPrevious;
};

} // namespace CloudTest
