#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

// One direction of a relayed connection: what is read from one socket is written to the other
// once its time has come; the end of the input shuts the output's sending side.
class DelayedPipe {
public:
    using Clock = std::chrono::steady_clock;

    // Bytes read at time T are written at max(T, NotBefore) + Delay.
    DelayedPipe(int From, int To, std::chrono::microseconds Delay, Clock::time_point NotBefore);

    // Reads until the end of the input; run on a thread of its own beside Write.
    void Read();
    // Writes until the end of the input has been passed on or the output fails.
    void Write();

private:
    struct Chunk {
        Clock::time_point due;
        std::string bytes; // empty: the end of the input
    };

    const int fFrom;
    const int fTo;
    const std::chrono::microseconds fDelay;
    const Clock::time_point fNotBefore;
    std::mutex fMutex;
    std::condition_variable fArrived;
    std::deque<Chunk> fChunks;
};
