#pragma once

#include "ServerProcess.h"

#include <filesystem>
#include <set>
#include <string>

namespace TunewellTesting {

class LocalCloud;

// What the front's access log says of the connections that carried requests: their client ports,
// per port of the front, and the protocols negotiated on them.
struct FrontConnections {
    std::set<std::string> database;
    std::set<std::string> identity;
    std::set<std::string> protocols;
};

// Debian's nghttpx in front of a local cloud that serves HTTPS, as the real services stand behind
// their front ends: HTTPS with the cloud's own certificate on two free ports, h2 and http/1.1
// offered by ALPN, each request passed on to the cloud's identity port when its path is one of
// the identity and token services' (or the cloud's own questions), else to the database port.
class Http2Front {
public:
    explicit Http2Front(const LocalCloud &cloud);
    Http2Front(const Http2Front &) = delete;
    Http2Front &operator=(const Http2Front &) = delete;
    ~Http2Front();

    void start();
    void stop();

    std::string databaseUrl() const; // https://127.0.0.1:PORT
    std::string authUrl() const;
    std::string identityUrl() const;
    std::string tokenUrl() const;
    FrontConnections connections() const;

private:
    const LocalCloud &cloud_;
    std::filesystem::path workFolder_;
    ServerProcess process_;
    int databasePort_ = 0;
    int authPort_ = 0;
};

} // namespace TunewellTesting
