#pragma once

#include "ServerProcess.h"

#include <filesystem>
#include <string>

namespace TunewellTesting {

// The demo radio station of tunewell-cloud on a free loopback port, streaming every file of
// a folder (by default the demo clip the build made) as an endless stream.
class DemoRadio {
public:
    struct Options {
        std::filesystem::path folder; // empty: the folder of the demo clip
        int metaInterval = 16000;
        int bytesPerSecond = 16000;
        // Not empty: HTTPS with a certificate of this data folder's own authority (its ca.pem).
        std::filesystem::path tlsDataFolder{};
    };

    explicit DemoRadio(Options options);
    DemoRadio();
    ~DemoRadio();

    // http://127.0.0.1:PORT/NAME (https:// with TLS); the demo clip is "demo.mp3".
    std::string url(const std::string &name = "demo.mp3") const;
    int port() const { return port_; }

private:
    ServerProcess process_;
    std::filesystem::path logFile_;
    int port_ = 0;
    bool tls_ = false;
};

} // namespace TunewellTesting
