#pragma once

// A scripted loopback HTTP peer for protocol tests: it listens on a free port of 127.0.0.1,
// records every request and plays the answers the test prescribes, in order.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace httplib {
class Server;
}

namespace Tunewell::Test {

using THeaderList = std::vector<std::pair<std::string, std::string>>;

struct TRecordedRequest {
    std::string Method;
    std::string Target; // the request target exactly as sent: path and query, still encoded
    std::string Path;   // the encoded path part of Target
    std::string Query;  // the encoded query part of Target, without "?"
    // As the server library hands them over: percent escapes in values already resolved.
    THeaderList Headers;
    std::string Body;

    // The value of the first header of that name (case-insensitive); nullopt when absent.
    std::optional<std::string> Header(const std::string &Name) const;
};

// An answer whose chunks the test releases one by one (chunked transfer encoding).
class TStreamedAnswer {
public:
    // Queues a chunk for sending; returns at once.
    void Send(std::string Chunk);
    // Ends the answer after the queued chunks.
    void Finish();
    // True once the peer has started playing this answer to a client.
    bool WaitUntilStarted(std::chrono::milliseconds Limit);
    // True once the answer ended: finished, or the client went away.
    bool WaitUntilEnded(std::chrono::milliseconds Limit);
    bool ClientWentAway() const;

    // Used by the peer: the next chunk, or nullopt when the answer is over.
    std::optional<std::string> NextChunk(const std::function<bool()> &Stopping);
    void MarkStarted();
    void MarkEnded(bool ClientGone);

private:
    mutable std::mutex fMutex;
    std::condition_variable fChanged;
    std::deque<std::string> fChunks;
    bool fFinished = false;
    bool fStarted = false;
    bool fEnded = false;
    bool fClientGone = false;
};

struct TScriptedAnswer {
    int Status = 200;
    std::string Body;
    std::string ContentType = "application/json; charset=UTF-8";
    THeaderList Headers;
    // When set, Body is ignored and the chunks come from the stream.
    std::shared_ptr<TStreamedAnswer> Stream;

    // A complete answer with a JSON body.
    static TScriptedAnswer Json(int Status, std::string Body);
    // A chunked answer whose chunks the stream releases.
    static TScriptedAnswer Streamed(std::shared_ptr<TStreamedAnswer> Stream,
                                    std::string ContentType = "text/event-stream; charset=utf-8");
    TScriptedAnswer WithHeader(std::string Name, std::string Value) const;
};

class TScriptedPeer {
public:
    // Starts listening on a free port; the default answer is 200 with the body "null".
    TScriptedPeer();
    ~TScriptedPeer();
    TScriptedPeer(const TScriptedPeer &) = delete;
    TScriptedPeer &operator=(const TScriptedPeer &) = delete;

    int Port() const { return fPort; }
    // "http://127.0.0.1:PORT"
    std::string BaseURL() const;

    // Answers are played in the order they were queued; when none is queued, the default.
    void Enqueue(TScriptedAnswer Answer);
    void SetDefaultAnswer(TScriptedAnswer Answer);
    // Computes each answer from the request instead (queued answers still come first).
    void SetResponder(std::function<TScriptedAnswer(const TRecordedRequest &)> Responder);

    std::vector<TRecordedRequest> Requests() const;
    std::size_t RequestCount() const;
    // True once at least Count requests have arrived.
    bool WaitForRequests(std::size_t Count, std::chrono::milliseconds Limit) const;

private:
    TScriptedAnswer NextAnswer(const TRecordedRequest &Request);

    std::unique_ptr<httplib::Server> fServer;
    std::thread fThread;
    int fPort = 0;
    mutable std::mutex fMutex;
    mutable std::condition_variable fArrived;
    std::vector<TRecordedRequest> fRequests;
    std::deque<TScriptedAnswer> fQueued;
    TScriptedAnswer fDefault;
    std::function<TScriptedAnswer(const TRecordedRequest &)> fResponder;
    std::shared_ptr<std::atomic<bool>> fStopping;
};

// A loopback port on which nothing listens (bound once, then released).
int UnusedLoopbackPort();

} // namespace Tunewell::Test
