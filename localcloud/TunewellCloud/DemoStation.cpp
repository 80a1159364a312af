#include "TunewellCloud/DemoStation.h"

#include "TunewellCloud/DurableFiles.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace TunewellCloud {

namespace {

// The state of one listener's stream.
struct Broadcast {
    std::shared_ptr<const std::string> clip;
    std::size_t position = 0;
    std::size_t sent = 0;
    std::size_t untilMetadata = 0;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

std::string metadataBlock(std::size_t titleNumber) {
    std::string text = "StreamTitle='Tunewell demo - part " + std::to_string(titleNumber) + "';";
    const std::size_t blocks = (text.size() + 15) / 16;
    text.resize(blocks * 16, '\0');
    return std::string(1, static_cast<char>(blocks)) + text;
}

} // namespace

DemoStation::DemoStation(std::filesystem::path folder, Figures figures)
    : folder_(std::move(folder)), figures_(figures) {}

void DemoStation::install(httplib::Server &server) {
    server.Get(R"(/([A-Za-z0-9_-][A-Za-z0-9._-]*))",
               [this](const httplib::Request &request, httplib::Response &response) {
                   serve(request.matches[1], request, response);
               });
    server.Get("/", [this](const httplib::Request &, httplib::Response &response) {
        std::string listing;
        for (const auto &entry : std::filesystem::directory_iterator(folder_))
            if (entry.is_regular_file())
                listing += "/" + entry.path().filename().string() + "\n";
        response.set_content(listing, "text/plain; charset=utf-8");
    });
}

void DemoStation::serve(const std::string &name, const httplib::Request &request,
                        httplib::Response &response) {
    const auto file = folder_ / name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        response.status = 404;
        response.set_content("no such stream\n", "text/plain");
        return;
    }
    auto clip = std::make_shared<const std::string>(DurableFiles::read(file).value_or(""));
    if (clip->empty()) {
        response.status = 404;
        response.set_content("empty stream\n", "text/plain");
        return;
    }
    const bool withMetadata = request.get_header_value("Icy-MetaData") == "1";
    response.set_header("icy-name", "Tunewell demo");
    response.set_header("icy-genre", "Demo");
    response.set_header("icy-br", std::to_string(figures_.bytesPerSecond * 8 / 1000));
    if (withMetadata)
        response.set_header("icy-metaint", std::to_string(figures_.metaInterval));
    auto broadcast = std::make_shared<Broadcast>();
    broadcast->clip = clip;
    broadcast->untilMetadata = figures_.metaInterval;
    const Figures figures = figures_;
    response.set_content_provider(
        file.extension() == ".mp3" ? "audio/mpeg" : "application/octet-stream",
        [broadcast, figures, withMetadata](std::size_t, httplib::DataSink &sink) {
            Broadcast &state = *broadcast;
            // A head start fills the player's buffer; after it the stream keeps its rate.
            const std::size_t headStart = figures.bytesPerSecond * 2;
            if (state.sent > headStart) {
                const auto due = state.started + std::chrono::milliseconds((state.sent - headStart) * 1000 /
                                                                           figures.bytesPerSecond);
                std::this_thread::sleep_until(due);
            }
            std::size_t count = std::min<std::size_t>(4096, state.clip->size() - state.position);
            if (withMetadata)
                count = std::min(count, state.untilMetadata);
            if (!sink.write(state.clip->data() + state.position, count))
                return false;
            state.position = (state.position + count) % state.clip->size();
            state.sent += count;
            if (withMetadata) {
                state.untilMetadata -= count;
                if (state.untilMetadata == 0) {
                    const std::string block =
                        metadataBlock(1 + state.sent / (figures.bytesPerSecond * figures.secondsPerTitle));
                    if (!sink.write(block.data(), block.size()))
                        return false;
                    state.untilMetadata = figures.metaInterval;
                }
            }
            return true;
        });
}

} // namespace TunewellCloud
