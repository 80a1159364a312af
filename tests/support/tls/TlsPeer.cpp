#include "Tunewell/Test/TlsPeer.h"

#include "TunewellCloud/HttpServers.h"

#include <stdexcept>

namespace Tunewell::Test {

TTlsPeer::TTlsPeer(const TunewellCloud::CertifiedKey &Credentials)
    : fServer(TunewellCloud::HttpServers::make(Credentials)) {
    fDistance.install(*fServer, 4);
    // One request per connection: a connection the client keeps would hold the peer's end.
    fServer->set_keep_alive_max_count(1);
    fServer->Get(".*", [](const httplib::Request &, httplib::Response &Response) {
        Response.set_content(R"({"ok":true})", "application/json");
    });
    fPort = fServer->bind_to_any_port("127.0.0.1");
    if (fPort <= 0)
        throw std::runtime_error("the HTTPS peer cannot listen");
    fThread = std::thread([this] { fServer->listen_after_bind(); });
}

TTlsPeer::~TTlsPeer() {
    fServer->stop();
    fThread.join();
}

std::string TTlsPeer::URL(const std::string &Path) const {
    return "https://127.0.0.1:" + std::to_string(fPort) + Path;
}

} // namespace Tunewell::Test
