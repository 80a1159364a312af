#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Tunewell::Test {

// A loopback peer beneath any HTTP library, for what a library-made peer cannot show: each
// request's head exactly as it arrived (a header with an empty value included), an answer that
// trickles, and a connection closed at a chosen moment.
class TRawPeer {
public:
    // Serves one connection at a time and closes each after its answer. Answer: the whole answer
    // as sent (status line, headers, blank line, body). Pause: the time between two bytes of the
    // answer; zero sends it at once.
    explicit TRawPeer(std::string Answer, std::chrono::milliseconds Pause = std::chrono::milliseconds(0));
    // Keeps every connection open for further requests, serving several at once, and plays the
    // answers in turn, one per request whatever its connection (the last one again once all were
    // played). An empty answer closes the connection once the whole request was read, without
    // answering.
    explicit TRawPeer(std::vector<std::string> Answers);
    ~TRawPeer();
    TRawPeer(const TRawPeer &) = delete;
    TRawPeer &operator=(const TRawPeer &) = delete;

    // "http://127.0.0.1:PORT"
    std::string BaseURL() const;
    // The request heads received so far, each up to and without its blank line.
    std::vector<std::string> Heads() const;

private:
    void Listen();
    void Serve();
    // Reads one whole request and records its head; false when the connection ended first.
    bool ReadRequest(int Connection);
    void Answer(int Connection);
    void ServeKept(int Connection);

    const std::vector<std::string> fAnswers;
    const bool fKeepConnections;
    const std::chrono::milliseconds fPause;
    std::size_t fNextAnswer = 0;
    int fListener = -1;
    int fPort = 0;
    std::atomic<bool> fStopping{false};
    mutable std::mutex fMutex;
    std::vector<std::string> fHeads;
    std::vector<std::thread> fConnectionThreads;
    std::thread fThread;
};

} // namespace Tunewell::Test
