#pragma once

#include "TunewellCloud/Certificates.h"
#include "TunewellCloud/NetworkDistance.h"

#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace Tunewell::Test {

// An HTTPS peer on a free loopback port that serves the given certificate, answers every GET
// with {"ok":true} and closes the connection, and counts the connections it accepted.
class TTlsPeer {
public:
    explicit TTlsPeer(const TunewellCloud::CertifiedKey &Credentials);
    ~TTlsPeer();
    TTlsPeer(const TTlsPeer &) = delete;
    TTlsPeer &operator=(const TTlsPeer &) = delete;

    // https://127.0.0.1:PORT followed by Path.
    std::string URL(const std::string &Path = "/") const;
    int Port() const { return fPort; }
    std::uint64_t ConnectionsAccepted() const { return fDistance.connectionsAccepted(); }

private:
    TunewellCloud::NetworkDistance fDistance{std::chrono::milliseconds(0)};
    std::unique_ptr<httplib::Server> fServer;
    int fPort = 0;
    std::thread fThread;
};

} // namespace Tunewell::Test
