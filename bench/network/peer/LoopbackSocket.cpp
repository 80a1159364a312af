#include "LoopbackSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

namespace TunewellBench {

namespace {

// How often a waiting connection looks whether it has been cut.
constexpr int kPollSliceMs = 20;

sockaddr_in LoopbackAddress(int Port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(Port));
    return address;
}

} // namespace

SocketAddress ParseSocketAddress(const std::string &Text) {
    const auto colon = Text.rfind(':');
    in_addr host{};
    if (colon == std::string::npos || ::inet_pton(AF_INET, Text.substr(0, colon).c_str(), &host) != 1)
        throw ESocketError("not HOST:PORT with a numeric IPv4 host: " + Text);
    try {
        const int port = std::stoi(Text.substr(colon + 1));
        if (port > 0 && port < 65536)
            return {Text.substr(0, colon), port};
    } catch (const std::exception &) {
    }
    throw ESocketError("not a port: " + Text);
}

UniqueFd BindLoopback(int Port) {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const int on = 1;
    const sockaddr_in address = LoopbackAddress(Port);
    if (!socket.valid() || ::setsockopt(socket.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        throw ESocketError("cannot bind 127.0.0.1:" + std::to_string(Port));
    return socket;
}

void Listen(int Socket) {
    if (::listen(Socket, 64) != 0)
        throw ESocketError("cannot listen on 127.0.0.1:" + std::to_string(LocalPort(Socket)));
}

int LocalPort(int Socket) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(Socket, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw ESocketError("a socket without an address");
    return ntohs(address.sin_port);
}

UniqueFd ConnectTo(const SocketAddress &Address) {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(Address.Port));
    ::inet_pton(AF_INET, Address.Host.c_str(), &address.sin_addr);
    if (!socket.valid() ||
        ::connect(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        return UniqueFd();
    return socket;
}

bool WaitFor(int Socket, short Events, const std::atomic<bool> &Cut) {
    while (!Cut) {
        pollfd entry{Socket, Events, 0};
        const int ready = ::poll(&entry, 1, kPollSliceMs);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
    return false;
}

bool SendAll(int Socket, const char *Data, std::size_t Size, const std::atomic<bool> &Cut) {
    while (Size > 0) {
        if (!WaitFor(Socket, POLLOUT, Cut))
            return false;
        const ssize_t sent = ::send(Socket, Data, Size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (sent <= 0)
            return false;
        Data += sent;
        Size -= static_cast<std::size_t>(sent);
    }
    return true;
}

void ResetAndClose(UniqueFd &Socket) {
    if (!Socket.valid())
        return;
    const linger reset{1, 0};
    ::setsockopt(Socket.get(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    Socket.reset();
}

} // namespace TunewellBench
