#include "IcyStreamServer.h"

#include <chrono>
#include <stdexcept>

namespace {

constexpr std::size_t metaInterval = 8192;
constexpr std::size_t chunkBytes = 2048;
constexpr auto chunkPause = std::chrono::milliseconds(20);

// "StreamTitle='...';" in 16-byte units, preceded by its length in units.
std::string metadataBlock(const std::string &title) {
    std::string text = "StreamTitle='" + title + "';";
    text.resize((text.size() + 15) / 16 * 16, '\0');
    return static_cast<char>(text.size() / 16) + text;
}

// Where one connection is in the clip and in the metadata rhythm.
struct StreamCursor {
    std::size_t clipOffset = 0;
    std::size_t sinceMetadata = 0;
    std::size_t sent = 0;
    int titles = 0;
    std::string title;
};

} // namespace

IcyStreamServer::IcyStreamServer(std::string clip, std::string title)
    : clip_(std::move(clip)), title_(std::move(title)) {
    server_.Get("/live", [this](const httplib::Request &request, httplib::Response &response) {
        serveStream(request, response, true);
    });
    server_.Get("/drop", [this](const httplib::Request &request, httplib::Response &response) {
        serveStream(request, response, false);
    });
    server_.Get("/listen.pls", [this](const httplib::Request &, httplib::Response &response) {
        countRequest("/listen.pls");
        response.set_content("[playlist]\r\nNumberOfEntries=1\r\nFile1=live\r\nTitle1=Loopback\r\n",
                             "audio/x-scpls");
    });
    server_.Get("/old.pls", [this](const httplib::Request &, httplib::Response &response) {
        countRequest("/old.pls");
        response.set_redirect("/listen.pls");
    });
    // A playlist under a plain address, recognisable only by its content type.
    server_.Get("/moved", [this](const httplib::Request &request, httplib::Response &response) {
        countRequest("/moved");
        response.set_redirect(request.get_param_value("to"));
    });
    server_.Get("/tune", [this](const httplib::Request &, httplib::Response &response) {
        countRequest("/tune");
        response.set_content("#EXTM3U\n#EXTINF:-1,Loopback\n" + url("/live") + "\n", "audio/x-mpegurl");
    });
    server_.Get("/titles", [this](const httplib::Request &request, httplib::Response &response) {
        serveStream(request, response, true, true);
    });
    // A station whose playlist address serves the stream itself.
    server_.Get("/endless.m3u", [this](const httplib::Request &request, httplib::Response &response) {
        serveStream(request, response, true);
    });
    server_.Get("/slow.pls", [this](const httplib::Request &, httplib::Response &response) {
        countRequest("/slow.pls");
        std::this_thread::sleep_for(std::chrono::seconds(1));
        response.set_content("[playlist]\nFile1=/drop\n", "audio/x-scpls");
        countRequest("/slow.pls answered");
    });
    server_.Get("/page", [this](const httplib::Request &, httplib::Response &response) {
        countRequest("/page");
        response.set_content("<!DOCTYPE html><html><body><p>Station offline.</p></body></html>\n",
                             "text/html; charset=utf-8");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        throw std::runtime_error("the test stream server cannot bind a port");
    }
    thread_ = std::thread([this] { server_.listen_after_bind(); });
}

IcyStreamServer::~IcyStreamServer() {
    stopping_ = true;
    server_.stop();
    thread_.join();
}

std::string IcyStreamServer::url(const std::string &path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int IcyStreamServer::requests(const std::string &path) const {
    const std::lock_guard lock(mutex_);
    const auto found = requests_.find(path);
    return found == requests_.end() ? 0 : found->second;
}

std::string IcyStreamServer::audioAfterTitle(const std::string &title) const {
    const std::lock_guard lock(mutex_);
    const auto found = audioAfterTitle_.find(title);
    return found == audioAfterTitle_.end() ? std::string() : found->second;
}

void IcyStreamServer::countRequest(const std::string &path) {
    const std::lock_guard lock(mutex_);
    ++requests_[path];
}

void IcyStreamServer::serveStream(const httplib::Request &request, httplib::Response &response, bool endless,
                                  bool numberedTitles) {
    countRequest(request.path);
    const bool withMetadata = request.get_header_value("Icy-MetaData") == "1";
    if (withMetadata) {
        response.set_header("icy-metaint", std::to_string(metaInterval));
    }
    response.set_header("icy-name", "Loopback FM");
    auto cursor = std::make_shared<StreamCursor>();
    response.set_content_provider(
        "audio/mpeg", [this, cursor, withMetadata, endless, numberedTitles](size_t, httplib::DataSink &sink) {
            if (stopping_ || (!endless && cursor->sent >= clip_.size())) {
                // Closing without a word is how a station that went away looks to its listeners.
                return false;
            }
            std::string chunk;
            while (chunk.size() < chunkBytes) {
                std::size_t take = std::min(clip_.size() - cursor->clipOffset, chunkBytes - chunk.size());
                if (withMetadata) {
                    take = std::min(take, metaInterval - cursor->sinceMetadata);
                }
                chunk.append(clip_, cursor->clipOffset, take);
                if (numberedTitles && !cursor->title.empty()) {
                    const std::lock_guard lock(mutex_);
                    audioAfterTitle_[cursor->title].append(clip_, cursor->clipOffset, take);
                }
                cursor->clipOffset = (cursor->clipOffset + take) % clip_.size();
                cursor->sinceMetadata += take;
                cursor->sent += take;
                if (withMetadata && cursor->sinceMetadata == metaInterval) {
                    if (numberedTitles)
                        cursor->title = "Title " + std::to_string(++cursor->titles);
                    chunk += metadataBlock(numberedTitles ? cursor->title : title_);
                    cursor->sinceMetadata = 0;
                    ++metadataBlocks_;
                }
            }
            std::this_thread::sleep_for(chunkPause);
            return sink.write(chunk.data(), chunk.size());
        });
}
