#pragma once

#include "Cumulo/Types.h"

#include <memory>

namespace Cumulo {

// "Now" on the local wall clock. Token expiries are kept on this clock, so tests replace it
// instead of sleeping.
class IClock {
public:
    virtual ~IClock() = default;
    virtual TDateTime Now() const = 0;
};

// The machine's local wall clock, with the local zone's rules (daylight saving included).
class TSystemClock : public IClock {
public:
    TDateTime Now() const override;
};

// The shared system clock; stateless, so one instance serves every client.
std::shared_ptr<const IClock> SystemClock();

} // namespace Cumulo
