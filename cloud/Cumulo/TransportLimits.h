#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace Cumulo {

// Every limit on the cloud client's waiting, in one place; no wait is without end.
//
// A request is judged by its progress, not by a deadline, so a large answer on a slow but working
// link completes: it fails when no connection is made in time, when no answer begins in time, or
// when it moves too few bytes over a while. A small request (no large answer or body expected:
// writes, sign-in, token) also has an overall limit. An event stream, meant to last, keeps its
// own rule.

// A network that drops packets answers no connection attempt at all. Each of the three limits
// below is one of a window's sequence steps on a lost network: the start signs in twice before it
// can tell the listener, which then happens within 15 s.
inline constexpr std::chrono::milliseconds kConnectTimeout{7000};
// A peer that accepts and never answers (a black hole, a hung server): the answer's first byte
// must come this long after the request's start (after its body was sent whole, for a body).
inline constexpr std::chrono::milliseconds kFirstByteTimeout{7000};
// A link that has all but stopped: a request fails when fewer than kSlowestProgress bytes per
// second (both ways together) moved over the last kProgressWindow. 256 bytes/s lies far below
// any working link (a 2G link moves tens of kilobytes), and the window spans the gaps of a
// handover or a lost packet's resend.
inline constexpr std::chrono::milliseconds kProgressWindow{20000};
inline constexpr std::uint64_t kSlowestProgress = 256;
// A small request needs a round trip or two; one that trickles past this fails, so that a
// window's sequence tells the listener within seconds.
inline constexpr std::chrono::milliseconds kSmallRequestDeadline{7000};
// The largest body a request may carry and still count as small (writes of a few records).
inline constexpr std::size_t kLargestSmallBody = 64 * 1024;
// An event stream fails when not one byte arrives for this long. It lies above the database's
// keep-alive interval (30 s), so a stream that only carries keep-alives is never cut.
inline constexpr std::chrono::seconds kStallTimeout{45};
// How long the listener waits for a token renewal it asked for.
inline constexpr std::chrono::seconds kTokenRenewalLimit{30};
// How often a running transfer checks its limits and whether it has been told to abort.
inline constexpr std::chrono::milliseconds kAbortPollInterval{50};
// Connections kept open per host between requests; more are closed after their request. The
// program talks to a host from one thread at a time but for the odd asynchronous request.
inline constexpr std::size_t kKeptConnectionsPerHost = 4;
// How long the program's end waits for the cloud client's running requests and workers before it
// ends without them: an exchange on a near cloud ends well within it, one on a lost network would
// hold the end for its whole time-out.
inline constexpr std::chrono::milliseconds kRequestsAtEndWait{2000};
// How long a request waits for the one connection to an HTTP/2 host while another request has
// it, before it opens one of its own (which is not kept): a new connection's handshakes cost two
// round trips, and the request before it ends within a moment.
inline constexpr std::chrono::milliseconds kSharedConnectionWait{1000};
// Redirects followed at most, when following is switched on.
inline constexpr long kMaxRedirects = 10;
// How long the program waits, once its main window has closed, for the close record to be
// written before it ends without it.
inline constexpr std::chrono::milliseconds kCloseRecordWait{3000};

// The limits a request is held to: the constants above, which tests shorten (THttpTransport).
struct TTransferLimits {
    std::chrono::milliseconds Connect = kConnectTimeout;
    std::chrono::milliseconds FirstByte = kFirstByteTimeout;
    std::chrono::milliseconds ProgressWindow = kProgressWindow;
    std::uint64_t SlowestProgress = kSlowestProgress; // bytes per second
    std::chrono::milliseconds SmallRequestDeadline = kSmallRequestDeadline;
};

} // namespace Cumulo
