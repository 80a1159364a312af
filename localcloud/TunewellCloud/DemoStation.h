#pragma once

#include <filesystem>
#include <httplib.h>

namespace TunewellCloud {

// The demo radio station: every file of a folder as an endless looping stream at a steady
// byte rate, with ICY metadata (a StreamTitle that changes every few seconds) for clients
// that ask for it with "Icy-MetaData: 1".
class DemoStation {
public:
    struct Figures {
        std::size_t metaInterval = 16000;
        std::size_t bytesPerSecond = 16000;
        std::size_t secondsPerTitle = 5;
    };

    DemoStation(std::filesystem::path folder, Figures figures);
    void install(httplib::Server &server);

private:
    void serve(const std::string &name, const httplib::Request &request, httplib::Response &response);

    std::filesystem::path folder_;
    Figures figures_;
};

} // namespace TunewellCloud
