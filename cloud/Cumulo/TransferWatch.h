#pragma once

#include "Cumulo/TransportLimits.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>

namespace Cumulo {

// Holds one running request to the transport's limits (TransportLimits.h): the first byte of
// its answer, its progress, and, for a small request, its overall time. The transfer loop shows
// it what it sees as it goes; the connect limit is libcurl's own.
class TTransferWatch {
public:
    using TTime = std::chrono::steady_clock::time_point;

    // Small: the request may keep an overall limit (no large answer or body expected).
    TTransferWatch(const TTransferLimits &Limits, bool Small, TTime Start);

    // What the transfer has done by Now: the bytes moved both ways (headers included), whether
    // the request's body (if any) was sent whole, and whether the answer has begun. Returns why
    // the transfer must end, or nothing while it may go on.
    std::optional<std::string> Check(TTime Now, std::uint64_t BytesMoved, bool RequestSent, bool AnswerBegun);

private:
    std::optional<std::string> TooSlow(TTime Now, std::uint64_t BytesMoved);

    const TTransferLimits fLimits;
    const bool fSmall;
    const TTime fStart;
    // When the request was seen sent whole; the first byte is due FirstByte after it.
    std::optional<TTime> fSentAt;
    // The bytes moved by each moment seen, as far back as the progress window needs.
    std::deque<std::pair<TTime, std::uint64_t>> fProgress;
};

} // namespace Cumulo
