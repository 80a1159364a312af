#include "Tunewell/Test/SilentPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace Tunewell::Test {

TSilentPeer::TSilentPeer() {
    fListener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fListener < 0 || ::bind(fListener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(fListener, 64) != 0 ||
        ::getsockname(fListener, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        if (fListener >= 0)
            ::close(fListener);
        throw std::runtime_error("The silent peer cannot listen");
    }
    fPort = ntohs(address.sin_port);
}

TSilentPeer::~TSilentPeer() {
    ::close(fListener);
}

std::string TSilentPeer::BaseURL() const {
    return "http://127.0.0.1:" + std::to_string(fPort);
}

} // namespace Tunewell::Test
