// far-link: makes servers on loopback seem far away, as a network of a given round trip would,
// whatever they speak (HTTP, TLS, HTTP/2): every byte reaches the other side half a round trip
// after it was sent, and a client's first bytes reach the server no earlier than one and a half
// round trips after its connect, as a TCP handshake lets them.
// Usage: far-link --latency MS LISTEN:TARGET [LISTEN:TARGET...] (ports on 127.0.0.1; LISTEN 0
// picks a free port). Prints "link LISTEN TARGET" for each, then "ready"; at SIGTERM or SIGINT
// prints "connections LISTEN N" for each, N being the connections it accepted there, and ends.
#include "DelayedPipe.h"

#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = DelayedPipe::Clock;

struct Link {
    int listener = -1;
    int port = 0;
    int target = 0;
    std::atomic<long> accepted{0};
};

sockaddr_in Loopback(int Port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(Port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

[[noreturn]] void Fail(const std::string &What) {
    std::fprintf(stderr, "far-link: %s: %s\n", What.c_str(), std::strerror(errno));
    std::exit(1);
}

void NoDelay(int Socket) {
    const int on = 1;
    ::setsockopt(Socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// Both directions of one connection; the sockets close when both have ended.
void Relay(int Client, int TargetPort, std::chrono::microseconds RoundTrip) {
    const Clock::time_point accepted = Clock::now();
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(TargetPort);
    if (server < 0 || ::connect(server, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(Client);
        if (server >= 0)
            ::close(server);
        return;
    }
    NoDelay(Client);
    NoDelay(server);
    const auto half = RoundTrip / 2;
    auto up = std::make_shared<DelayedPipe>(Client, server, half, accepted + RoundTrip);
    auto down = std::make_shared<DelayedPipe>(server, Client, half, accepted);
    auto sockets = std::shared_ptr<void>(nullptr, [Client, server](void *) {
        ::close(Client);
        ::close(server);
    });
    for (const auto &pipe : {up, down}) {
        std::thread([pipe, sockets] { pipe->Read(); }).detach();
        std::thread([pipe, sockets] { pipe->Write(); }).detach();
    }
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 4 || std::strcmp(argv[1], "--latency") != 0) {
        std::fprintf(stderr, "usage: far-link --latency MS LISTEN:TARGET [LISTEN:TARGET...]\n");
        return 2;
    }
    const std::chrono::microseconds roundTrip(std::atol(argv[2]) * 1000);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    std::vector<std::unique_ptr<Link>> links;
    for (int i = 3; i < argc; ++i) {
        auto link = std::make_unique<Link>();
        const std::string pair = argv[i];
        const auto colon = pair.find(':');
        if (colon == std::string::npos) {
            std::fprintf(stderr, "far-link: %s is not LISTEN:TARGET\n", argv[i]);
            return 2;
        }
        link->target = std::atoi(pair.c_str() + colon + 1);
        link->listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        ::setsockopt(link->listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address = Loopback(std::atoi(pair.substr(0, colon).c_str()));
        socklen_t length = sizeof address;
        if (::bind(link->listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
            ::listen(link->listener, 128) != 0 ||
            ::getsockname(link->listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            Fail("cannot listen on " + pair.substr(0, colon));
        link->port = ntohs(address.sin_port);
        std::printf("link %d %d\n", link->port, link->target);
        links.push_back(std::move(link));
    }
    for (const auto &link : links)
        std::thread([link = link.get(), roundTrip] {
            for (;;) {
                const int client = ::accept4(link->listener, nullptr, nullptr, SOCK_CLOEXEC);
                if (client < 0)
                    continue;
                ++link->accepted;
                Relay(client, link->target, roundTrip);
            }
        }).detach();
    std::printf("ready\n");
    std::fflush(stdout);

    int received = 0;
    sigwait(&stop, &received);
    for (const auto &link : links)
        std::printf("connections %d %ld\n", link->port, link->accepted.load());
    std::fflush(stdout);
    // Relays may still be running; nothing of them needs to end tidily.
    std::_Exit(0);
}
