#include "TunewellCloud/ConnectionActivity.h"

namespace TunewellCloud {

ConnectionActivity::ConnectionActivity() : lastClosed_(Clock::now()) {}

void ConnectionActivity::opened() {
    std::lock_guard lock(mutex_);
    ++open_;
}

void ConnectionActivity::closed() {
    std::lock_guard lock(mutex_);
    --open_;
    lastClosed_ = Clock::now();
}

ConnectionActivity::Clock::duration ConnectionActivity::idleFor(Clock::time_point now) const {
    std::lock_guard lock(mutex_);
    if (open_ > 0 || now < lastClosed_)
        return Clock::duration::zero();
    return now - lastClosed_;
}

} // namespace TunewellCloud
