#include "DelayedPipe.h"

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

DelayedPipe::DelayedPipe(int From, int To, std::chrono::microseconds Delay, Clock::time_point NotBefore)
    : fFrom(From), fTo(To), fDelay(Delay), fNotBefore(NotBefore) {}

void DelayedPipe::Read() {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(fFrom, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        const Chunk chunk{std::max(Clock::now(), fNotBefore) + fDelay,
                          count > 0 ? std::string(buffer, static_cast<std::size_t>(count)) : std::string()};
        {
            std::lock_guard lock(fMutex);
            fChunks.push_back(chunk);
        }
        fArrived.notify_one();
        if (count <= 0)
            return;
    }
}

void DelayedPipe::Write() {
    for (;;) {
        Chunk chunk;
        {
            std::unique_lock lock(fMutex);
            fArrived.wait(lock, [this] { return !fChunks.empty(); });
            chunk = std::move(fChunks.front());
            fChunks.pop_front();
        }
        std::this_thread::sleep_until(chunk.due);
        if (chunk.bytes.empty()) {
            ::shutdown(fTo, SHUT_WR);
            return;
        }
        const char *data = chunk.bytes.data();
        std::size_t left = chunk.bytes.size();
        while (left > 0) {
            const ssize_t written = ::send(fTo, data, left, MSG_NOSIGNAL);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                // The other end is gone: so is this direction, and the reading side is told.
                ::shutdown(fFrom, SHUT_RD);
                ::shutdown(fTo, SHUT_WR);
                return;
            }
            data += written;
            left -= static_cast<std::size_t>(written);
        }
    }
}
