#pragma once

#include "Cumulo/StreamEvent.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace Cumulo {

// Cuts the bytes of one event-stream connection into events. Bytes may arrive split anywhere,
// inside a line end or a UTF-8 character included: an event is only handed out once the blank
// line that ends it has arrived, and every complete event of an arrival is handed out, in order.
class TEventStreamParser {
public:
    // MaxPendingBytes bounds the text kept for one unfinished event, so that a peer that never
    // ends its event cannot make the client grow without limit.
    explicit TEventStreamParser(std::size_t MaxPendingBytes = DefaultMaxPendingBytes);

    // Returns the events completed by Bytes; throws std::length_error past MaxPendingBytes.
    std::vector<TStreamEvent> Feed(std::string_view Bytes);

    // Forgets everything, for the start of a new connection.
    void Reset();

    static constexpr std::size_t DefaultMaxPendingBytes = 64 * 1024 * 1024;

private:
    void TakeLine(std::string_view Line, std::vector<TStreamEvent> &Events);
    void CheckPendingSize() const;

    std::size_t fMaxPendingBytes;
    std::string fLine;
    std::string fName;
    std::string fData;
    bool fHasData = false;
    bool fHasField = false;
    // A CR ended the last line; an LF that follows it, maybe in the next arrival, belongs to it.
    bool fAfterCR = false;
    bool fAtStart = true;
};

} // namespace Cumulo
