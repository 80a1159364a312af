#pragma once

#include "TunewellCloud/UniqueFd.h"

#include <atomic>
#include <stdexcept>
#include <string>

namespace TunewellBench {

using TunewellCloud::UniqueFd;

// A socket the peer could not set up.
class ESocketError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An IPv4 address and port, as "127.0.0.1:9000".
struct SocketAddress {
    std::string Host;
    int Port = 0;
};

// "HOST:PORT" with a numeric IPv4 host; throws ESocketError otherwise.
SocketAddress ParseSocketAddress(const std::string &Text);

// A TCP socket bound to Port on loopback (0: a free one), not yet listening. The address is
// reusable at once, so a port given up to refuse connections can be bound again.
UniqueFd BindLoopback(int Port);
void Listen(int Socket);
int LocalPort(int Socket);
// A connected socket, or an invalid one when the connection failed.
UniqueFd ConnectTo(const SocketAddress &Address);

// Polls Socket for Events in short slices until it is ready (true) or Cut turns true (false).
bool WaitFor(int Socket, short Events, const std::atomic<bool> &Cut);
// Sends all of Data unless Cut turns true or the connection fails first.
bool SendAll(int Socket, const char *Data, std::size_t Size, const std::atomic<bool> &Cut);
// Closes with a reset (RST) instead of an orderly end.
void ResetAndClose(UniqueFd &Socket);

} // namespace TunewellBench
