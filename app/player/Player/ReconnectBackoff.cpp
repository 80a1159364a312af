#include "Player/ReconnectBackoff.h"

#include <algorithm>

namespace Player {

ReconnectBackoff::ReconnectBackoff(std::chrono::milliseconds first, std::chrono::milliseconds ceiling)
    : first_(first), ceiling_(std::max(first, ceiling)), current_(first) {}

std::chrono::milliseconds ReconnectBackoff::next() {
    const auto delay = current_;
    current_ = std::min(current_ * 2, ceiling_);
    return delay;
}

void ReconnectBackoff::reset() {
    current_ = first_;
}

} // namespace Player
