#pragma once

// The synchronous HTTP client on libcurl: a new client for every synchronous request and for
// every event-stream listener. A request's client borrows a connection the process's transport
// kept open (THttpTransport); a stream's client keeps its own. HTTPS certificates are always
// verified.

#include "Cumulo/CurlMulti.h"
#include "Cumulo/HttpResponse.h"
#include "Cumulo/Types.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace Cumulo {

// What a receive notification learns about the running transfer.
struct THttpReceiveInfo {
    std::string URL;            // the requested URL
    std::int64_t ContentLength; // from the answer's headers; -1 when unknown (a stream)
    std::int64_t ReadCount;     // body bytes received so far on this request
};

// Called on the requesting thread each time body bytes have arrived (after they were written to
// the content stream). Setting Abort ends the transfer: the call then returns normally with
// the answer received so far.
using TOnHttpReceive = std::function<void(const THttpReceiveInfo &Info, bool &Abort)>;

// What a client's transfers are: requests, which use the connections the process's transport
// keeps and are held to its limits (TTransferWatch); or an event stream, which is meant to last
// and keeps a connection of its own.
enum class THttpUse { Request, EventStream };

class THttpClient {
public:
    explicit THttpClient(THttpUse Use = THttpUse::Request);
    ~THttpClient();
    THttpClient(const THttpClient &) = delete;
    THttpClient &operator=(const THttpClient &) = delete;

    // Sent with every request of this client; setting a name again replaces its value.
    void SetCustomHeader(const std::string &Name, const std::string &Value);
    void SetFollowRedirects(bool Follow);
    void SetOnReceive(TOnHttpReceive OnReceive);
    // Ends the running transfer from any thread within the abort poll interval, even while no
    // data arrives; a transfer started later is not affected. Ends like an Abort from the
    // receive notification; an abort before the status line arrived leaves StatusCode 0.
    void Abort();

    // Each blocks until the answer is complete (or aborted) and raises ETransport when no
    // answer could be had (refused, name resolution, TLS, time-out). With a content stream the
    // body goes there instead of into the response's Body.
    std::shared_ptr<THttpResponse> Get(const std::string &URL, std::ostream *ContentStream = nullptr);
    std::shared_ptr<THttpResponse> Delete(const std::string &URL);
    std::shared_ptr<THttpResponse> Post(const std::string &URL, std::istream *Body);
    std::shared_ptr<THttpResponse> Put(const std::string &URL, std::istream *Body);
    std::shared_ptr<THttpResponse> Patch(const std::string &URL, std::istream *Body);

    // The general form: GET and DELETE ignore Body.
    std::shared_ptr<THttpResponse> Execute(TRESTRequestMethod Method, const std::string &URL,
                                           std::istream *Body, std::ostream *ContentStream = nullptr);

private:
    const THttpUse fUse;
    std::vector<std::pair<std::string, std::string>> fHeaders;
    bool fFollowRedirects = false;
    TOnHttpReceive fOnReceive;
    std::atomic<bool> fAbort{false};
    // An event stream's own connection, kept across its reconnections.
    TCurlMulti fOwnConnection;
    // The running transfer's multi handle, so that Abort can wake its wait.
    std::mutex fRunningMutex;
    void *fRunningMulti = nullptr;
};

} // namespace Cumulo
