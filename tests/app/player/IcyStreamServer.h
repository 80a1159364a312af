#pragma once

#include <atomic>
#include <httplib.h>
#include <map>
#include <mutex>
#include <string>
#include <thread>

// A small internet-radio server on loopback, on a free port:
//   /live         the clip looped forever, with ICY metadata carrying the title when asked for it
//   /titles       as /live, each metadata block with a new title: "Title 1", "Title 2"...
//   /drop         the clip once, then the connection closes as if the station went away
//   /listen.pls   a playlist naming /live by a relative entry; /old.pls redirects to it
//   /moved?to=A   redirects to the address A, as stations moved to https:// do
//   /tune         an M3U playlist naming /live, under an address without a playlist suffix
//   /slow.pls     after a second, a playlist naming /drop ("/slow.pls answered" counts the answers)
//   /endless.m3u  the looped clip, as if the playlist address were the stream
//   /page         an HTML page, which no decoder plays
//   anything else 404
class IcyStreamServer {
public:
    IcyStreamServer(std::string clip, std::string title);
    ~IcyStreamServer();

    std::string url(const std::string &path) const;
    // Requests received for a path so far.
    int requests(const std::string &path) const;
    int metadataBlocksSent() const { return metadataBlocks_.load(); }
    // The audio /titles sent after the block carrying the title, up to the next block.
    std::string audioAfterTitle(const std::string &title) const;

private:
    void countRequest(const std::string &path);
    void serveStream(const httplib::Request &request, httplib::Response &response, bool endless,
                     bool numberedTitles = false);

    std::string clip_;
    std::string title_;
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> metadataBlocks_{0};
    mutable std::mutex mutex_;
    std::map<std::string, int> requests_;
    std::map<std::string, std::string> audioAfterTitle_;
};
