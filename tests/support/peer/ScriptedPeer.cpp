#include "Tunewell/Test/ScriptedPeer.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <httplib.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace Tunewell::Test {

namespace {

bool SameName(const std::string &a, const std::string &b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

constexpr auto kStreamWaitSlice = std::chrono::milliseconds(20);

} // namespace

std::optional<std::string> TRecordedRequest::Header(const std::string &Name) const {
    for (const auto &[name, value] : Headers)
        if (SameName(name, Name))
            return value;
    return std::nullopt;
}

void TStreamedAnswer::Send(std::string Chunk) {
    {
        std::lock_guard lock(fMutex);
        fChunks.push_back(std::move(Chunk));
    }
    fChanged.notify_all();
}

void TStreamedAnswer::Finish() {
    {
        std::lock_guard lock(fMutex);
        fFinished = true;
    }
    fChanged.notify_all();
}

bool TStreamedAnswer::WaitUntilStarted(std::chrono::milliseconds Limit) {
    std::unique_lock lock(fMutex);
    return fChanged.wait_for(lock, Limit, [this] { return fStarted; });
}

bool TStreamedAnswer::WaitUntilEnded(std::chrono::milliseconds Limit) {
    std::unique_lock lock(fMutex);
    return fChanged.wait_for(lock, Limit, [this] { return fEnded; });
}

bool TStreamedAnswer::ClientWentAway() const {
    std::lock_guard lock(fMutex);
    return fClientGone;
}

std::optional<std::string> TStreamedAnswer::NextChunk(const std::function<bool()> &Stopping) {
    std::unique_lock lock(fMutex);
    for (;;) {
        if (!fChunks.empty()) {
            std::string chunk = std::move(fChunks.front());
            fChunks.pop_front();
            return chunk;
        }
        if (fFinished || Stopping())
            return std::nullopt;
        // Wakes up now and then to notice a peer that shuts down.
        fChanged.wait_for(lock, kStreamWaitSlice);
    }
}

void TStreamedAnswer::MarkStarted() {
    {
        std::lock_guard lock(fMutex);
        fStarted = true;
    }
    fChanged.notify_all();
}

void TStreamedAnswer::MarkEnded(bool ClientGone) {
    {
        std::lock_guard lock(fMutex);
        fEnded = true;
        fClientGone = fClientGone || ClientGone;
    }
    fChanged.notify_all();
}

TScriptedAnswer TScriptedAnswer::Json(int Status, std::string Body) {
    TScriptedAnswer answer;
    answer.Status = Status;
    answer.Body = std::move(Body);
    return answer;
}

TScriptedAnswer TScriptedAnswer::Streamed(std::shared_ptr<TStreamedAnswer> Stream, std::string ContentType) {
    TScriptedAnswer answer;
    answer.ContentType = std::move(ContentType);
    answer.Stream = std::move(Stream);
    return answer;
}

TScriptedAnswer TScriptedAnswer::WithHeader(std::string Name, std::string Value) const {
    TScriptedAnswer answer = *this;
    answer.Headers.emplace_back(std::move(Name), std::move(Value));
    return answer;
}

TScriptedPeer::TScriptedPeer()
    : fServer(std::make_unique<httplib::Server>()), fStopping(std::make_shared<std::atomic<bool>>(false)) {
    fDefault.Body = "null";
    // The server library's stop waits for every idle connection it keeps for a next request,
    // as long as its keep-alive time-out, and clients keep theirs open: the peer closes each
    // connection after its answer instead, and says so ("Connection: close"), so that no client
    // sends a request into a closing socket. (A time-out of 0 would also drop a new connection
    // whose first request is a few milliseconds late, at random under load.) Kept connections
    // are shown against the raw peer and the local cloud.
    fServer->set_keep_alive_max_count(1);
    auto handler = [this](const httplib::Request &request, httplib::Response &response) {
        TRecordedRequest recorded;
        recorded.Method = request.method;
        recorded.Target = request.target;
        const auto question = request.target.find('?');
        recorded.Path = request.target.substr(0, question);
        recorded.Query = question == std::string::npos ? std::string() : request.target.substr(question + 1);
        for (const auto &[name, value] : request.headers)
            recorded.Headers.emplace_back(name, value);
        recorded.Body = request.body;
        const TScriptedAnswer answer = NextAnswer(recorded);

        response.status = answer.Status;
        for (const auto &[name, value] : answer.Headers)
            response.set_header(name, value);
        if (!answer.Stream) {
            response.set_content(answer.Body, answer.ContentType);
            return;
        }
        auto stream = answer.Stream;
        auto stopping = fStopping;
        response.set_chunked_content_provider(
            answer.ContentType,
            [stream, stopping](size_t, httplib::DataSink &sink) {
                stream->MarkStarted();
                const auto chunk = stream->NextChunk([&] { return stopping->load(); });
                if (!chunk) {
                    sink.done();
                    stream->MarkEnded(false);
                    return true;
                }
                if (!sink.write(chunk->data(), chunk->size())) {
                    stream->MarkEnded(true);
                    return false;
                }
                return true;
            },
            [stream](bool success) {
                if (!success)
                    stream->MarkEnded(true);
            });
    };
    const std::string all = ".*";
    fServer->Get(all, handler);
    fServer->Post(all, handler);
    fServer->Put(all, handler);
    fServer->Patch(all, handler);
    fServer->Delete(all, handler);
    fServer->Options(all, handler);
    fPort = fServer->bind_to_any_port("127.0.0.1");
    if (fPort <= 0)
        throw std::runtime_error("The scripted peer cannot bind a loopback port");
    fThread = std::thread([this] { fServer->listen_after_bind(); });
    // A stop before the server loop runs would go unnoticed, and the destructor would wait for
    // ever; so the peer is only handed out once the loop runs.
    while (!fServer->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TScriptedPeer::~TScriptedPeer() {
    fStopping->store(true);
    fServer->stop();
    if (fThread.joinable())
        fThread.join();
}

std::string TScriptedPeer::BaseURL() const {
    return "http://127.0.0.1:" + std::to_string(fPort);
}

void TScriptedPeer::Enqueue(TScriptedAnswer Answer) {
    std::lock_guard lock(fMutex);
    fQueued.push_back(std::move(Answer));
}

void TScriptedPeer::SetDefaultAnswer(TScriptedAnswer Answer) {
    std::lock_guard lock(fMutex);
    fDefault = std::move(Answer);
}

void TScriptedPeer::SetResponder(std::function<TScriptedAnswer(const TRecordedRequest &)> Responder) {
    std::lock_guard lock(fMutex);
    fResponder = std::move(Responder);
}

TScriptedAnswer TScriptedPeer::NextAnswer(const TRecordedRequest &Request) {
    std::function<TScriptedAnswer(const TRecordedRequest &)> responder;
    TScriptedAnswer answer;
    {
        std::lock_guard lock(fMutex);
        fRequests.push_back(Request);
        if (!fQueued.empty()) {
            answer = std::move(fQueued.front());
            fQueued.pop_front();
        } else if (fResponder) {
            responder = fResponder;
        } else {
            answer = fDefault;
        }
    }
    fArrived.notify_all();
    return responder ? responder(Request) : answer;
}

std::vector<TRecordedRequest> TScriptedPeer::Requests() const {
    std::lock_guard lock(fMutex);
    return fRequests;
}

std::size_t TScriptedPeer::RequestCount() const {
    std::lock_guard lock(fMutex);
    return fRequests.size();
}

bool TScriptedPeer::WaitForRequests(std::size_t Count, std::chrono::milliseconds Limit) const {
    std::unique_lock lock(fMutex);
    return fArrived.wait_for(lock, Limit, [&] { return fRequests.size() >= Count; });
}

int UnusedLoopbackPort() {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket < 0)
        throw std::runtime_error("No socket for a port probe");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    const bool bound = ::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
                       ::getsockname(socket, reinterpret_cast<sockaddr *>(&address), &length) == 0;
    ::close(socket);
    if (!bound)
        throw std::runtime_error("No free loopback port");
    return ntohs(address.sin_port);
}

} // namespace Tunewell::Test
