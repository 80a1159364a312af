#include "LoopbackListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace Tunewell::Test {

TLoopbackListener ListenOnLoopback(const char *Who) {
    const int descriptor = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (descriptor < 0 || ::bind(descriptor, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(descriptor, 64) != 0 ||
        ::getsockname(descriptor, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        if (descriptor >= 0)
            ::close(descriptor);
        throw std::runtime_error(std::string(Who) + " cannot listen");
    }
    return {descriptor, ntohs(address.sin_port)};
}

} // namespace Tunewell::Test
