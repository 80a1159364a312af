#include "BlackHole.h"

#include "LoopbackSocket.h"

#include <poll.h>
#include <sys/socket.h>

namespace TunewellBench {

void SwallowAll(int Client, ConnectionState &State) {
    char buffer[4096];
    while (WaitFor(Client, POLLIN, State.Cut))
        if (::recv(Client, buffer, sizeof buffer, 0) <= 0)
            return;
}

} // namespace TunewellBench
