#include "Http2Front.h"

#include "LocalCloud.h"

#include <arpa/inet.h>
#include <chrono>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace TunewellTesting {

namespace {

constexpr const char *kIdentityPaths = "/www.googleapis.com/:/securetoken.googleapis.com/:/emulator/";

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port nobody listens on now; nghttpx cannot be asked to pick one.
int freePort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (probe < 0 || ::bind(probe, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::getsockname(probe, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw std::runtime_error("no free port");
    ::close(probe);
    return ntohs(address.sin_port);
}

bool accepts(int port) {
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(port);
    const bool connected = ::connect(probe, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(probe);
    return connected;
}

} // namespace

Http2Front::Http2Front(const LocalCloud &cloud) : cloud_(cloud) {
    workFolder_ = cloud.dataFolder().parent_path() / "front";
    std::filesystem::create_directories(workFolder_);
    databasePort_ = freePort();
    authPort_ = freePort();
    start();
}

Http2Front::~Http2Front() {
    process_.kill();
}

void Http2Front::start() {
    const std::string data = cloud_.dataFolder().string();
    const std::string backend = ";tls;sni=localhost";
    process_.launch(
        {TUNEWELL_NGHTTPX, "--single-process", "--conf=/dev/null", "--no-ocsp",
         "--frontend=127.0.0.1," + std::to_string(databasePort_),
         "--frontend=127.0.0.1," + std::to_string(authPort_),
         "--backend=127.0.0.1," + std::to_string(cloud_.authPort()) + ";" + kIdentityPaths + backend,
         "--backend=127.0.0.1," + std::to_string(cloud_.databasePort()) + ";/" + backend,
         "--cacert=" + cloud_.caFile().string(), "--npn-list=h2,http/1.1", "--backend-read-timeout=10m",
         "--accesslog-file=" + (workFolder_ / "access.log").string(),
         "--accesslog-format=$server_port $remote_port $alpn $status $request",
         "--errorlog-file=" + (workFolder_ / "error.log").string(), data + "/server-key.pem",
         data + "/server.pem"},
        workFolder_ / "output.log");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!(accepts(databasePort_) && accepts(authPort_))) {
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("nghttpx did not start; see " + workFolder_.string());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void Http2Front::stop() {
    process_.stop();
}

std::string Http2Front::databaseUrl() const {
    return "https://127.0.0.1:" + std::to_string(databasePort_);
}
std::string Http2Front::authUrl() const {
    return "https://127.0.0.1:" + std::to_string(authPort_);
}
std::string Http2Front::identityUrl() const {
    return authUrl() + "/www.googleapis.com/identitytoolkit/v3/relyingparty";
}
std::string Http2Front::tokenUrl() const {
    return authUrl() + "/securetoken.googleapis.com/v1/token";
}

FrontConnections Http2Front::connections() const {
    FrontConnections found;
    std::ifstream log(workFolder_ / "access.log");
    std::string line;
    while (std::getline(log, line)) {
        std::istringstream fields(line);
        std::string frontPort, clientPort, protocol;
        fields >> frontPort >> clientPort >> protocol;
        (frontPort == std::to_string(databasePort_) ? found.database : found.identity).insert(clientPort);
        found.protocols.insert(protocol);
    }
    return found;
}

} // namespace TunewellTesting
