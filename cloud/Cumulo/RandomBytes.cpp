#include "Cumulo/RandomBytes.h"

#include <cerrno>
#include <sys/random.h>
#include <system_error>

namespace Cumulo {

void FillRandomBytes(std::span<std::uint8_t> Bytes) {
    std::size_t Filled = 0;
    while (Filled < Bytes.size()) {
        const auto Got = getrandom(Bytes.data() + Filled, Bytes.size() - Filled, 0);
        if (Got < 0) {
            if (errno == EINTR)
                continue;
            throw std::system_error(errno, std::generic_category(), "no random bytes available");
        }
        Filled += static_cast<std::size_t>(Got);
    }
}

} // namespace Cumulo
