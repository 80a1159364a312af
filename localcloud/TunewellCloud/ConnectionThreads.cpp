#include "TunewellCloud/ConnectionThreads.h"

#include <chrono>
#include <pthread.h>

namespace TunewellCloud {

namespace {

// How long a thread waits for another connection before it ends.
constexpr auto kLinger = std::chrono::seconds(5);

} // namespace

ConnectionThreads::ConnectionThreads(std::size_t maxThreads, std::size_t stackBytes)
    : maxThreads_(maxThreads), stackBytes_(stackBytes), maker_([this] { makeThreads(); }) {}

ConnectionThreads::~ConnectionThreads() {
    shutdown();
}

void ConnectionThreads::enqueue(std::function<void()> connection) {
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(connection));
    }
    connectionWaits_.notify_one();
    threadWanted_.notify_one();
}

void ConnectionThreads::makeThreads() {
    std::unique_lock lock(mutex_);
    for (;;) {
        threadWanted_.wait(lock, [this] {
            const bool wanted = waiting_.size() > idle_ + starting_ && running_ < maxThreads_;
            return wanted || (shuttingDown_ && waiting_.empty());
        });
        if (waiting_.size() <= idle_ + starting_ || running_ >= maxThreads_)
            return;
        ++running_;
        ++starting_;
        lock.unlock();
        pthread_attr_t attributes;
        bool started = pthread_attr_init(&attributes) == 0;
        if (started) {
            pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
            pthread_attr_setstacksize(&attributes, stackBytes_);
            pthread_t thread;
            started = pthread_create(&thread, &attributes, &ConnectionThreads::threadMain, this) == 0;
            pthread_attr_destroy(&attributes);
        }
        lock.lock();
        if (!started) {
            --running_;
            --starting_;
            // The system's limit: the waiting connections wait for a running thread, or a moment.
            threadWanted_.wait_for(lock, std::chrono::milliseconds(100));
        }
    }
}

void *ConnectionThreads::threadMain(void *owner) {
    static_cast<ConnectionThreads *>(owner)->work();
    return nullptr;
}

void ConnectionThreads::work() {
    std::unique_lock lock(mutex_);
    --starting_;
    for (;;) {
        ++idle_;
        connectionWaits_.wait_for(lock, kLinger, [this] { return !waiting_.empty() || shuttingDown_; });
        --idle_;
        if (waiting_.empty()) {
            // The last touch of this object by the thread: shutdown() may return right after.
            --running_;
            threadEnded_.notify_all();
            threadWanted_.notify_one();
            return;
        }
        auto connection = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        connection();
        connection = nullptr;
        lock.lock();
    }
}

void ConnectionThreads::shutdown() {
    {
        std::unique_lock lock(mutex_);
        shuttingDown_ = true;
        connectionWaits_.notify_all();
        threadWanted_.notify_all();
        threadEnded_.wait(lock, [this] { return running_ == 0 && waiting_.empty(); });
    }
    if (maker_.joinable())
        maker_.join();
}

} // namespace TunewellCloud
