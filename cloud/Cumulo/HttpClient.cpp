#include "Cumulo/HttpClient.h"

#include "Cumulo/AsciiCase.h"
#include "Cumulo/CurlCertificateProblem.h"
#include "Cumulo/CurlGlobal.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/HttpTransport.h"
#include "Cumulo/OwnLocalCloud.h"
#include "Cumulo/TransferWatch.h"
#include "Cumulo/TransportLimits.h"
#include "Cumulo/UrlParts.h"
#include "Cumulo/Utf8.h"

#include <curl/curl.h>
#include <iterator>
#include <mutex>
#include <optional>
#include <sstream>

namespace Cumulo {

namespace {

struct TEasyDeleter {
    void operator()(CURL *Handle) const { curl_easy_cleanup(Handle); }
};
struct TSlistDeleter {
    void operator()(curl_slist *List) const { curl_slist_free_all(List); }
};
using TEasyHandle = std::unique_ptr<CURL, TEasyDeleter>;
using TSlist = std::unique_ptr<curl_slist, TSlistDeleter>;

// The multi handle a transfer runs in, with the connections it may reuse: lent by the process's
// transport for a request and given back with the connection left open, or the client's own
// for an event stream.
class TLentConnection {
public:
    TLentConnection(THttpUse Use, TCurlMulti &Own, const std::string &URL) {
        if (Use == THttpUse::Request) {
            fOrigin = SplitURL(URL).Origin();
            fLent = THttpTransport::Shared().TakeConnection(fOrigin);
            fMulti = fLent.get();
        } else {
            if (!Own)
                Own = NewCurlMulti();
            fMulti = Own.get();
        }
    }
    ~TLentConnection() {
        if (fLent && !fDiscarded)
            THttpTransport::Shared().KeepConnection(fOrigin, std::move(fLent), fProtocol);
    }
    TLentConnection(const TLentConnection &) = delete;
    TLentConnection &operator=(const TLentConnection &) = delete;

    CURLM *Multi() const { return fMulti; }
    // A transfer that failed or was cut off may leave its connection in any state: none of it is
    // kept for the next request.
    void Discard() { fDiscarded = true; }
    // What the connection was found to speak, once an answer came.
    void Spoke(long HttpVersion) {
        if (HttpVersion == CURL_HTTP_VERSION_2_0)
            fProtocol = TConnectionProtocol::Http2;
        else if (HttpVersion == CURL_HTTP_VERSION_1_0 || HttpVersion == CURL_HTTP_VERSION_1_1)
            fProtocol = TConnectionProtocol::Http1;
    }

private:
    bool fDiscarded = false;
    std::string fOrigin;
    TConnectionProtocol fProtocol = TConnectionProtocol::Unknown;
    TCurlMulti fLent;
    CURLM *fMulti = nullptr;
};

// Keeps the easy handle attached to the multi handle for the transfer's lifetime.
class TAttachment {
public:
    TAttachment(CURLM *Multi, CURL *Easy) : fMulti(Multi), fEasy(Easy) { curl_multi_add_handle(Multi, Easy); }
    ~TAttachment() { curl_multi_remove_handle(fMulti, fEasy); }
    TAttachment(const TAttachment &) = delete;
    TAttachment &operator=(const TAttachment &) = delete;

private:
    CURLM *fMulti;
    CURL *fEasy;
};

// What the curl callbacks of one transfer share.
struct TTransferState {
    THttpResponse *Response = nullptr;
    std::ostream *ContentStream = nullptr;
    const TOnHttpReceive *OnReceive = nullptr;
    CURL *Easy = nullptr;
    std::string URL;
    std::int64_t ReadCount = 0;
    std::uint64_t HeaderBytes = 0;
    bool Aborted = false;
};

std::string Trim(std::string Text) {
    const auto first = Text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = Text.find_last_not_of(" \t\r\n");
    return Text.substr(first, last - first + 1);
}

size_t OnHeaderLine(char *Data, size_t Size, size_t Count, void *User) {
    auto &state = *static_cast<TTransferState *>(User);
    state.HeaderBytes += Size * Count;
    const std::string line(Data, Size * Count);
    if (line.starts_with("HTTP/")) {
        // A new status line: an interim answer or a redirect came before; only the last counts.
        state.Response->Headers.clear();
        state.Response->StatusText.clear();
        const auto codeStart = line.find(' ');
        const auto textStart =
            codeStart == std::string::npos ? std::string::npos : line.find(' ', codeStart + 1);
        if (textStart != std::string::npos)
            state.Response->StatusText = Trim(line.substr(textStart + 1));
    } else if (const auto colon = line.find(':'); colon != std::string::npos) {
        state.Response->Headers.emplace_back(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)));
    }
    return Size * Count;
}

// An announced length above this is not trusted with memory up front.
constexpr curl_off_t kLargestReservedBody = curl_off_t{256} << 20;

size_t OnBodyData(char *Data, size_t Size, size_t Count, void *User) {
    auto &state = *static_cast<TTransferState *>(User);
    const size_t bytes = Size * Count;
    if (state.ContentStream) {
        state.ContentStream->write(Data, static_cast<std::streamsize>(bytes));
        state.ContentStream->flush();
    } else {
        auto &body = state.Response->Body;
        if (body.empty()) {
            // Room for the whole announced body at once: growing a large answer by doubling
            // holds the old and the new copy side by side at every step.
            curl_off_t length = -1;
            curl_easy_getinfo(state.Easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
            if (length > 0 && length <= kLargestReservedBody)
                body.reserve(static_cast<std::size_t>(length));
        }
        body.append(Data, bytes);
    }
    state.ReadCount += static_cast<std::int64_t>(bytes);
    if (state.OnReceive && *state.OnReceive) {
        curl_off_t length = -1;
        curl_easy_getinfo(state.Easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        bool abort = false;
        (*state.OnReceive)(THttpReceiveInfo{state.URL, static_cast<std::int64_t>(length), state.ReadCount},
                           abort);
        if (abort) {
            state.Aborted = true;
            return 0; // makes curl end the transfer
        }
    }
    return bytes;
}

// The charset named by a Content-Type value, lower-cased; empty when none is named.
std::string DeclaredCharset(const std::string &ContentType) {
    const std::string lower = LowerAscii(ContentType);
    const auto found = lower.find("charset=");
    if (found == std::string::npos)
        return {};
    std::string charset = lower.substr(found + 8);
    charset = charset.substr(0, charset.find(';'));
    std::erase(charset, '"');
    return Trim(charset);
}

// Bodies are handed on as UTF-8; the services answer in UTF-8, a Latin-1 answer is converted.
void DecodeBody(THttpResponse &Response) {
    const std::string charset = DeclaredCharset(Response.Header("Content-Type"));
    if (charset != "iso-8859-1" && charset != "latin1" && charset != "iso8859-1")
        return;
    std::string utf8;
    utf8.reserve(Response.Body.size());
    for (char c : Response.Body)
        AppendUtf8(utf8, static_cast<unsigned char>(c));
    Response.Body = std::move(utf8);
}

// Runs an attached transfer until it ends, Abort is set, or Watch finds a limit broken; returns
// why it failed when it could not go on, a broken limit included.
std::optional<std::string> RunTransfer(CURLM *Multi, CURL *Easy, const TTransferState &State,
                                       std::size_t BodySize, TTransferWatch *Watch,
                                       const std::atomic<bool> &Abort) {
    int running = 1;
    while (running && !Abort) {
        if (curl_multi_perform(Multi, &running) != CURLM_OK)
            return "The HTTP transfer cannot go on";
        if (!running || Abort)
            return std::nullopt;
        if (Watch) {
            curl_off_t received = 0, sent = 0, firstByte = 0;
            curl_easy_getinfo(Easy, CURLINFO_SIZE_DOWNLOAD_T, &received);
            curl_easy_getinfo(Easy, CURLINFO_SIZE_UPLOAD_T, &sent);
            // Set once the answer's first byte arrived, though its first header line is not whole.
            curl_easy_getinfo(Easy, CURLINFO_STARTTRANSFER_TIME_T, &firstByte);
            const auto moved = static_cast<std::uint64_t>(received + sent) + State.HeaderBytes;
            if (auto broken = Watch->Check(std::chrono::steady_clock::now(), moved,
                                           static_cast<std::size_t>(sent) >= BodySize, firstByte > 0))
                return broken;
        }
        curl_multi_poll(Multi, nullptr, 0, static_cast<int>(kAbortPollInterval.count()), nullptr);
    }
    return std::nullopt;
}

const char *MethodVerb(TRESTRequestMethod Method) {
    switch (Method) {
    case rmPOST:
        return "POST";
    case rmPUT:
        return "PUT";
    case rmGET:
        return "GET";
    case rmDELETE:
        return "DELETE";
    case rmPATCH:
        return "PATCH";
    }
    return "GET";
}

} // namespace

THttpClient::THttpClient(THttpUse Use) : fUse(Use) {
    EnsureCurlInitialised();
}

THttpClient::~THttpClient() = default;

void THttpClient::SetCustomHeader(const std::string &Name, const std::string &Value) {
    for (auto &[name, value] : fHeaders)
        if (name == Name) {
            value = Value;
            return;
        }
    fHeaders.emplace_back(Name, Value);
}

void THttpClient::SetFollowRedirects(bool Follow) {
    fFollowRedirects = Follow;
}

void THttpClient::SetOnReceive(TOnHttpReceive OnReceive) {
    fOnReceive = std::move(OnReceive);
}

void THttpClient::Abort() {
    std::lock_guard lock(fRunningMutex);
    if (!fRunningMulti)
        return;
    fAbort = true;
    curl_multi_wakeup(static_cast<CURLM *>(fRunningMulti));
}

std::shared_ptr<THttpResponse> THttpClient::Get(const std::string &URL, std::ostream *ContentStream) {
    return Execute(rmGET, URL, nullptr, ContentStream);
}

std::shared_ptr<THttpResponse> THttpClient::Delete(const std::string &URL) {
    return Execute(rmDELETE, URL, nullptr);
}

std::shared_ptr<THttpResponse> THttpClient::Post(const std::string &URL, std::istream *Body) {
    return Execute(rmPOST, URL, Body);
}

std::shared_ptr<THttpResponse> THttpClient::Put(const std::string &URL, std::istream *Body) {
    return Execute(rmPUT, URL, Body);
}

std::shared_ptr<THttpResponse> THttpClient::Patch(const std::string &URL, std::istream *Body) {
    return Execute(rmPATCH, URL, Body);
}

std::shared_ptr<THttpResponse> THttpClient::Execute(TRESTRequestMethod Method, const std::string &URL,
                                                    std::istream *Body, std::ostream *ContentStream) {
    auto response = std::make_shared<THttpResponse>();
    // Declared first, so that the connection goes back only once the transfer's handle is gone.
    TLentConnection connection(fUse, fOwnConnection, URL);
    CURLM *multi = connection.Multi();
    TEasyHandle easy(curl_easy_init());
    if (!easy)
        throw ETransport("Cannot create an HTTP transfer");

    TTransferState state;
    state.Response = response.get();
    state.ContentStream = ContentStream;
    state.OnReceive = &fOnReceive;
    state.Easy = easy.get();
    state.URL = URL;

    const bool sendsBody = Method == rmPOST || Method == rmPUT || Method == rmPATCH;
    TSlist headers;
    auto addHeaderLine = [&headers](const std::string &Line) {
        curl_slist *extended = curl_slist_append(headers.get(), Line.c_str());
        if (!extended)
            throw ETransport("Cannot compose the request headers");
        headers.release();
        headers.reset(extended);
    };
    bool contentTypeGiven = false;
    for (const auto &[name, value] : fHeaders) {
        // "Name;" is curl's way to send a header with an empty value.
        addHeaderLine(value.empty() ? name + ";" : name + ": " + value);
        contentTypeGiven = contentTypeGiven || EqualsIgnoringAsciiCase(name, "Content-Type");
    }
    // "Name:" removes a header curl would add by itself: it would wait for a "100 Continue"
    // before larger bodies, and call a body without a content type a form.
    addHeaderLine("Expect:");
    if (sendsBody && !contentTypeGiven)
        addHeaderLine("Content-Type:");

    std::string bodyText;
    if (sendsBody && Body)
        bodyText.assign(std::istreambuf_iterator<char>(*Body), std::istreambuf_iterator<char>());

    char errorBuffer[CURL_ERROR_SIZE] = {};
    CURL *h = easy.get();
    curl_easy_setopt(h, CURLOPT_URL, URL.c_str());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeaderLine);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &state);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBodyData);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &state);
    const TTransferLimits limits = THttpTransport::Shared().Limits();
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.Connect.count()));
    std::optional<TTransferWatch> watch;
    if (fUse == THttpUse::EventStream) {
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(kStallTimeout.count()));
    } else {
        // Empty: every encoding libcurl can decode is offered, and bodies arrive decoded. The
        // catalogue's JSON shrinks about tenfold. (A stream is not compressed: its events would
        // wait in the compressor.)
        curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
        // A read may bring a catalogue, and a large body takes its time to send: only other
        // requests are small.
        const bool small = Method != rmGET && bodyText.size() <= kLargestSmallBody;
        watch.emplace(limits, small, std::chrono::steady_clock::now());
    }
    const bool ownCloud = ApplyCloudRoute(h, URL);
    // HTTP/2 where the service offers it by ALPN, HTTP/1.1 otherwise.
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS));
    // Through the own cloud's socket every address would lead to that cloud.
    if (fFollowRedirects && !ownCloud) {
        curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
    }
    if (Method == rmPOST)
        // libcurl sends a request once more, on a new connection, when its kept connection dies
        // before any answer byte, though the peer may have read and applied it. An add applied
        // twice adds twice: a POST goes on a connection of its own, where that cannot happen.
        curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
    if (sendsBody) {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(bodyText.size()));
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, bodyText.c_str());
    } else {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    }
    if (Method != rmPOST && Method != rmGET)
        curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, MethodVerb(Method));

    CURLcode result = CURLE_OK;
    std::optional<std::string> failure;
    {
        TAttachment attachment(multi, h);
        {
            std::lock_guard lock(fRunningMutex);
            fAbort = false;
            fRunningMulti = multi;
        }
        failure = RunTransfer(multi, h, state, bodyText.size(), watch ? &*watch : nullptr, fAbort);
        {
            std::lock_guard lock(fRunningMutex);
            fRunningMulti = nullptr;
            if (fAbort)
                state.Aborted = true;
        }
        int queued = 0;
        while (CURLMsg *message = curl_multi_info_read(multi, &queued))
            if (message->msg == CURLMSG_DONE)
                result = message->data.result;
    }

    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    long version = 0;
    curl_easy_getinfo(h, CURLINFO_HTTP_VERSION, &version);
    connection.Spoke(version);
    char *effective = nullptr;
    curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective);
    response->URL = effective ? effective : URL;
    if (result != CURLE_OK || state.Aborted || failure)
        connection.Discard();
    if (failure)
        throw ETransport(*failure + " (" + URL.substr(0, URL.find('?')) + ")");
    if (result != CURLE_OK && !state.Aborted) {
        const std::string detail = errorBuffer[0] ? errorBuffer : curl_easy_strerror(result);
        const std::string message = detail + " (" + URL.substr(0, URL.find('?')) + ")";
        if (auto refused = CertificateFailureOf(h, result, message))
            throw *refused;
        throw ETransport(message);
    }
    response->StatusCode = static_cast<int>(status);
    if (!ContentStream)
        DecodeBody(*response);
    if (response->StatusText.empty())
        response->StatusText = StandardReasonPhrase(response->StatusCode);
    return response;
}

} // namespace Cumulo
