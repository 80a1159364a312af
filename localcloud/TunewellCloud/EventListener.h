#pragma once

#include "TunewellCloud/WriteRules.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace TunewellCloud {

// One open event stream: the node it follows and the events waiting to be sent. Writers only
// append to the queue; a listener that lets it grow past the limit is cut off.
class EventListener {
public:
    enum class Wake { Events, Timeout, Closed };

    EventListener(NodePath path, std::size_t queueLimit);

    const NodePath &path() const { return path_; }
    void deliver(std::string eventText);
    // Moves the waiting events into out, waiting until the deadline for the first one.
    Wake waitForEvents(std::vector<std::string> &out, std::chrono::steady_clock::time_point deadline);
    void close();
    // Sends lastEvent after what waits, then ends the stream; nothing is delivered after it.
    void cancel(std::string lastEvent);
    bool cutOff() const;

private:
    NodePath path_;
    std::size_t queueLimit_;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::string> queue_;
    bool closed_ = false;
    bool ending_ = false;
    bool cutOff_ = false;
};

} // namespace TunewellCloud
