#include "TunewellCloud/EventListener.h"

namespace TunewellCloud {

EventListener::EventListener(NodePath path, std::size_t queueLimit)
    : path_(std::move(path)), queueLimit_(queueLimit) {}

void EventListener::deliver(std::string eventText) {
    {
        std::lock_guard lock(mutex_);
        if (closed_ || ending_)
            return;
        if (queue_.size() >= queueLimit_) {
            cutOff_ = true;
            closed_ = true;
            queue_.clear();
        } else {
            queue_.push_back(std::move(eventText));
        }
    }
    arrived_.notify_one();
}

EventListener::Wake EventListener::waitForEvents(std::vector<std::string> &out,
                                                 std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    arrived_.wait_until(lock, deadline, [this] { return closed_ || ending_ || !queue_.empty(); });
    if (closed_ || (ending_ && queue_.empty()))
        return Wake::Closed;
    if (queue_.empty())
        return Wake::Timeout;
    while (!queue_.empty()) {
        out.push_back(std::move(queue_.front()));
        queue_.pop_front();
    }
    return Wake::Events;
}

void EventListener::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    arrived_.notify_all();
}

void EventListener::cancel(std::string lastEvent) {
    {
        std::lock_guard lock(mutex_);
        if (closed_ || ending_)
            return;
        queue_.push_back(std::move(lastEvent));
        ending_ = true;
    }
    arrived_.notify_all();
}

bool EventListener::cutOff() const {
    std::lock_guard lock(mutex_);
    return cutOff_;
}

} // namespace TunewellCloud
