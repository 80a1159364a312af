#pragma once

#include "Cumulo/CurlMulti.h"
#include "Cumulo/TransportLimits.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace Cumulo {

// What a connection was found to speak; Unknown before its first answer.
enum class TConnectionProtocol { Unknown, Http1, Http2 };

// What every request of the process shares, whichever thread sends it: the connections kept
// open per origin (TURLParts::Origin) for the next request there, so that only the first
// request to a host pays the TCP and TLS handshakes, and the limits a request is held to. The
// synchronous and the asynchronous requests share it; an event stream keeps a connection of its
// own. A kept connection is lent to one request at a time. An origin that speaks HTTP/2 is held
// to one connection: its requests
// take turns on it, waiting a moment for it while it is lent, for every new connection costs a
// TCP and a TLS handshake, more than most answers take.
class THttpTransport {
public:
    THttpTransport();

    // The one transport of the process.
    static THttpTransport &Shared();
    // A multi handle holding a connection kept from an earlier request to Origin, or a new one.
    TCurlMulti TakeConnection(const std::string &Origin);
    // Keeps the handle, with the connection the request left open, for the next request to
    // Origin. Beyond kKeptConnectionsPerHost for one origin (one over HTTP/2), or with reuse off,
    // it is closed. Protocol is what the connection spoke, and so what the origin speaks.
    void KeepConnection(const std::string &Origin, TCurlMulti Multi,
                        TConnectionProtocol Protocol = TConnectionProtocol::Unknown);
    // For comparisons (a benchmark): with reuse off every request opens a connection of its own.
    void SetConnectionReuse(bool Reuse);

    // The limits every request starts with (TransportLimits.h); tests shorten them to show a
    // slow or silent peer cut off without waiting the real limits.
    TTransferLimits Limits() const;
    void SetLimits(const TTransferLimits &Limits);

private:
    mutable std::mutex fMutex;
    std::condition_variable fConnectionKept;
    std::map<std::string, std::vector<TCurlMulti>> fKept;
    std::set<std::string> fSpeaksHttp2;
    bool fReuse = true;
    TTransferLimits fLimits;
};

} // namespace Cumulo
