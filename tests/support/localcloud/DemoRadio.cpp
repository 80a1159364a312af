#include "DemoRadio.h"

#include "LocalCloud.h"

#include <unistd.h>

namespace TunewellTesting {

DemoRadio::DemoRadio() : DemoRadio(Options{}) {}

DemoRadio::DemoRadio(Options options) {
    if (options.folder.empty())
        options.folder = std::filesystem::path(LocalCloud::demoClip()).parent_path();
    logFile_ = std::filesystem::temp_directory_path() /
               ("tunewell-radio-" + std::to_string(::getpid()) + "-" +
                std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".log");
    std::vector<std::string> command = {LocalCloud::serverBinary(),
                                        "radio",
                                        "--folder",
                                        options.folder.string(),
                                        "--port",
                                        "0",
                                        "--metaint",
                                        std::to_string(options.metaInterval),
                                        "--rate",
                                        std::to_string(options.bytesPerSecond)};
    tls_ = !options.tlsDataFolder.empty();
    if (tls_)
        command.insert(command.end(), {"--tls", "--data", options.tlsDataFolder.string()});
    const auto lines = process_.start(command, logFile_, "ready");
    for (const auto &line : lines) {
        if (line.rfind("radio ", 0) == 0) {
            const auto colon = line.rfind(':');
            port_ = std::stoi(line.substr(colon + 1));
        }
    }
}

DemoRadio::~DemoRadio() {
    process_.kill();
    std::error_code ignored;
    std::filesystem::remove(logFile_, ignored);
}

std::string DemoRadio::url(const std::string &name) const {
    return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_) + "/" + name;
}

} // namespace TunewellTesting
