#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Tunewell::Test {

// A loopback peer beneath any HTTP library, for what a library-made peer cannot show: each
// request's head exactly as it arrived (a header with an empty value included), and an answer
// that trickles. It serves one connection at a time and closes each after its answer.
class TRawPeer {
public:
    // Answer: the whole answer as sent (status line, headers, blank line, body). Pause: the time
    // between two bytes of the answer; zero sends it at once.
    explicit TRawPeer(std::string Answer, std::chrono::milliseconds Pause = std::chrono::milliseconds(0));
    ~TRawPeer();
    TRawPeer(const TRawPeer &) = delete;
    TRawPeer &operator=(const TRawPeer &) = delete;

    // "http://127.0.0.1:PORT"
    std::string BaseURL() const;
    // The request heads received so far, each up to and without its blank line.
    std::vector<std::string> Heads() const;

private:
    void Serve();
    void Answer(int Connection);

    const std::string fAnswer;
    const std::chrono::milliseconds fPause;
    int fListener = -1;
    int fPort = 0;
    std::atomic<bool> fStopping{false};
    mutable std::mutex fMutex;
    std::vector<std::string> fHeads;
    std::thread fThread;
};

} // namespace Tunewell::Test
