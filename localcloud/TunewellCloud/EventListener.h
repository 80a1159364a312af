#pragma once

#include "TunewellCloud/WriteRules.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace TunewellCloud {

// One open event stream: the node it follows and the events waiting to be sent. Writers only
// append to the queue; a listener that lets it grow past the limit of events or of bytes is cut
// off, as the service drops a reader too slow for its stream. One event of any size is always
// taken into an empty queue (the node's value at the start may be large).
class EventListener {
public:
    enum class Wake { Events, Timeout, Closed };
    // The text of one event, shared by every stream of the same node.
    using Event = std::shared_ptr<const std::string>;

    EventListener(NodePath path, std::size_t queueLimit, std::size_t queueBytesLimit);

    const NodePath &path() const { return path_; }
    void deliver(Event event);
    // Moves the waiting events into out, waiting until the deadline for the first one.
    Wake waitForEvents(std::vector<Event> &out, std::chrono::steady_clock::time_point deadline);
    void close();
    // Sends lastEvent after what waits, then ends the stream; nothing is delivered after it.
    void cancel(std::string lastEvent);
    bool cutOff() const;

private:
    NodePath path_;
    std::size_t queueLimit_;
    std::size_t queueBytesLimit_;
    std::size_t queuedBytes_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Event> queue_;
    bool closed_ = false;
    bool ending_ = false;
    bool cutOff_ = false;
};

} // namespace TunewellCloud
