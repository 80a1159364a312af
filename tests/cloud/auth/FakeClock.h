#pragma once

#include "Cumulo/Clock.h"

#include <atomic>

namespace CumuloTest {

// A clock that stands still until the test moves it.
class TFakeClock : public Cumulo::IClock {
public:
    explicit TFakeClock(Cumulo::TDateTime Now) : fNow(Now) {}
    Cumulo::TDateTime Now() const override { return fNow.load(); }
    void Set(Cumulo::TDateTime Now) { fNow.store(Now); }

private:
    std::atomic<Cumulo::TDateTime> fNow;
};

// Whole seconds as a date-time difference.
constexpr Cumulo::TDateTime Seconds(double Count) {
    return Count / 86400;
}

} // namespace CumuloTest
