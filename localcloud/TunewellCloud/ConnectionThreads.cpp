#include "TunewellCloud/ConnectionThreads.h"

#include <memory>
#include <pthread.h>

namespace TunewellCloud {

struct ConnectionThreads::Start {
    ConnectionThreads *owner;
    std::function<void()> connection;
};

ConnectionThreads::ConnectionThreads(std::size_t maxThreads, std::size_t stackBytes)
    : maxThreads_(maxThreads), stackBytes_(stackBytes) {}

ConnectionThreads::~ConnectionThreads() {
    shutdown();
}

void ConnectionThreads::enqueue(std::function<void()> connection) {
    {
        std::lock_guard lock(mutex_);
        if (running_ >= maxThreads_) {
            waiting_.push_back(std::move(connection));
            return;
        }
        ++running_;
    }
    if (startThread(connection))
        return;
    // No thread could be made (the system's limit): the connection waits for a running one, or,
    // with none running, is served here.
    {
        std::lock_guard lock(mutex_);
        if (running_ > 1) {
            --running_;
            waiting_.push_back(std::move(connection));
            return;
        }
    }
    work(std::move(connection));
}

bool ConnectionThreads::startThread(std::function<void()> &connection) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
        return false;
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_attr_setstacksize(&attributes, stackBytes_);
    auto start = std::make_unique<Start>(Start{this, std::move(connection)});
    pthread_t thread;
    const bool started =
        pthread_create(&thread, &attributes, &ConnectionThreads::threadMain, start.get()) == 0;
    pthread_attr_destroy(&attributes);
    if (started)
        start.release();
    else
        connection = std::move(start->connection);
    return started;
}

void *ConnectionThreads::threadMain(void *raw) {
    std::unique_ptr<Start> start(static_cast<Start *>(raw));
    start->owner->work(std::move(start->connection));
    return nullptr;
}

void ConnectionThreads::work(std::function<void()> connection) {
    for (;;) {
        connection();
        connection = nullptr;
        std::lock_guard lock(mutex_);
        if (waiting_.empty()) {
            // The last touch of this object by the thread: shutdown() may return right after.
            --running_;
            ended_.notify_all();
            return;
        }
        connection = std::move(waiting_.front());
        waiting_.pop_front();
    }
}

void ConnectionThreads::shutdown() {
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return running_ == 0 && waiting_.empty(); });
}

} // namespace TunewellCloud
