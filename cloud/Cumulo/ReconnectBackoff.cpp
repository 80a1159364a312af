#include "Cumulo/ReconnectBackoff.h"

#include <algorithm>

namespace Cumulo {

TReconnectBackoff::TReconnectBackoff(milliseconds First, milliseconds Cap)
    : fFirst(std::min(First, Cap)), fCap(Cap), fNext(fFirst) {}

TReconnectBackoff::milliseconds TReconnectBackoff::NextDelay() {
    const milliseconds delay = fNext;
    fNext = std::min(fNext * 2, fCap);
    return delay;
}

void TReconnectBackoff::Reset() {
    fNext = fFirst;
}

} // namespace Cumulo
