#include "FaultPeerControl.h"

#include "TunewellCloud/UniqueFd.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>

namespace TunewellBench {

namespace {

// The peer answers from its accepting loop, within a slice of it.
constexpr timeval kAnswerLimit{5, 0};

} // namespace

std::string AskFaultPeer(int ControlPort, const std::string &Line) {
    TunewellCloud::UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(ControlPort));
    if (!socket.valid() ||
        ::setsockopt(socket.get(), SOL_SOCKET, SO_RCVTIMEO, &kAnswerLimit, sizeof kAnswerLimit) != 0 ||
        ::connect(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        throw EFaultPeerControl("no fault-making peer on control port " + std::to_string(ControlPort));
    const std::string request = Line + "\n";
    if (::send(socket.get(), request.data(), request.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(request.size()))
        throw EFaultPeerControl("the fault-making peer took no request");
    std::string answer;
    char buffer[256];
    while (answer.find('\n') == std::string::npos) {
        const ssize_t count = ::recv(socket.get(), buffer, sizeof buffer, 0);
        if (count <= 0)
            throw EFaultPeerControl("the fault-making peer gave no answer to: " + Line);
        answer.append(buffer, static_cast<std::size_t>(count));
    }
    return answer.substr(0, answer.find('\n'));
}

} // namespace TunewellBench
