#include "TunewellCloud/EventListener.h"

#include <algorithm>

namespace TunewellCloud {

EventListener::EventListener(NodePath path, std::size_t queueLimit, std::size_t queueBytesLimit)
    : path_(std::move(path)), queueLimit_(queueLimit), queueBytesLimit_(queueBytesLimit) {}

void EventListener::deliver(Event event) {
    {
        std::lock_guard lock(mutex_);
        if (closed_ || ending_)
            return;
        const bool full =
            queue_.size() >= queueLimit_ ||
            (!queue_.empty() && event->size() > queueBytesLimit_ - std::min(queueBytesLimit_, queuedBytes_));
        if (full) {
            cutOff_ = true;
            closed_ = true;
            queue_.clear();
            queuedBytes_ = 0;
        } else {
            queuedBytes_ += event->size();
            queue_.push_back(std::move(event));
        }
    }
    arrived_.notify_one();
}

EventListener::Wake EventListener::waitForEvents(std::vector<Event> &out,
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
    queuedBytes_ = 0;
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
        queue_.push_back(std::make_shared<const std::string>(std::move(lastEvent)));
        ending_ = true;
    }
    arrived_.notify_all();
}

bool EventListener::cutOff() const {
    std::lock_guard lock(mutex_);
    return cutOff_;
}

} // namespace TunewellCloud
