#pragma once

#include <chrono>
#include <cstddef>

namespace Cumulo {

// The transport's time-outs, in one place. A connection that cannot be made within the
// connect time-out fails; an answer that stays silent (not one byte) for the stall time-out
// fails. The stall time-out lies above the database's keep-alive interval (30 s), so an
// event stream that only carries keep-alives is never cut.
inline constexpr std::chrono::seconds kConnectTimeout{10};
inline constexpr std::chrono::seconds kStallTimeout{45};
// The longest a request may take from start to end, so that a peer that trickles (a byte now
// and then, never silent for the stall time-out) cannot hold a waiting window for ever. An
// event stream is meant to last and has none.
inline constexpr std::chrono::seconds kRequestDeadline{20};
// How often a running transfer checks whether it has been told to abort.
inline constexpr std::chrono::milliseconds kAbortPollInterval{50};
// Connections kept open per host between requests; more are closed after their request. The
// program talks to a host from one thread at a time but for the odd asynchronous request.
inline constexpr std::size_t kKeptConnectionsPerHost = 4;
// How long a request waits for a connection to its host that is being opened ahead (by a request
// sent for that alone, as the sign-in runs) before it opens one of its own. That opening began
// earlier and normally ends within a round trip of the request's start.
inline constexpr std::chrono::milliseconds kOpeningConnectionWait{1000};
// How long the program's end waits for the cloud client's running requests and workers before it
// ends without them: an exchange on a near cloud ends well within it, one on a lost network would
// hold the end for its whole time-out.
inline constexpr std::chrono::milliseconds kRequestsAtEndWait{2000};
// Redirects followed at most, when following is switched on.
inline constexpr long kMaxRedirects = 10;

} // namespace Cumulo
