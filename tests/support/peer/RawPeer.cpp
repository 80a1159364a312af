#include "Tunewell/Test/RawPeer.h"

#include "LoopbackListener.h"

#include <algorithm>
#include <cctype>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace Tunewell::Test {

namespace {

// How often a waiting peer looks whether it is being shut down.
constexpr int kPollSliceMs = 20;

// True once Descriptor is readable; false when the peer stops first.
bool WaitReadable(int Descriptor, const std::atomic<bool> &Stopping) {
    while (!Stopping) {
        pollfd entry{Descriptor, POLLIN, 0};
        if (::poll(&entry, 1, kPollSliceMs) > 0)
            return true;
    }
    return false;
}

std::size_t ContentLength(const std::string &Head) {
    std::string lower;
    for (char c : Head)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto at = lower.find("\r\ncontent-length:");
    return at == std::string::npos ? 0 : std::stoul(lower.substr(at + 17));
}

} // namespace

TRawPeer::TRawPeer(std::string Answer, std::chrono::milliseconds Pause)
    : fAnswers{std::move(Answer)}, fKeepConnections(false), fPause(Pause) {
    Listen();
}

TRawPeer::TRawPeer(std::vector<std::string> Answers)
    : fAnswers(std::move(Answers)), fKeepConnections(true), fPause(0) {
    if (fAnswers.empty())
        throw std::invalid_argument("The raw peer needs an answer");
    Listen();
}

void TRawPeer::Listen() {
    const TLoopbackListener listener = ListenOnLoopback("The raw peer");
    fListener = listener.Descriptor;
    fPort = listener.Port;
    fThread = std::thread([this] { Serve(); });
}

TRawPeer::~TRawPeer() {
    fStopping = true;
    fThread.join();
    for (auto &thread : fConnectionThreads)
        thread.join();
    ::close(fListener);
}

std::string TRawPeer::BaseURL() const {
    return "http://127.0.0.1:" + std::to_string(fPort);
}

std::vector<std::string> TRawPeer::Heads() const {
    std::lock_guard lock(fMutex);
    return fHeads;
}

void TRawPeer::Serve() {
    while (WaitReadable(fListener, fStopping)) {
        const int connection = ::accept(fListener, nullptr, nullptr);
        if (connection < 0)
            continue;
        if (fKeepConnections) {
            fConnectionThreads.emplace_back([this, connection] {
                ServeKept(connection);
                ::close(connection);
            });
            continue;
        }
        Answer(connection);
        ::close(connection);
    }
}

bool TRawPeer::ReadRequest(int Connection) {
    std::string received;
    std::size_t headEnd = std::string::npos;
    char buffer[4096];
    while (headEnd == std::string::npos ||
           received.size() < headEnd + 4 + ContentLength(received.substr(0, headEnd))) {
        if (!WaitReadable(Connection, fStopping))
            return false;
        const ssize_t count = ::recv(Connection, buffer, sizeof buffer, 0);
        if (count <= 0)
            return false;
        received.append(buffer, static_cast<std::size_t>(count));
        headEnd = received.find("\r\n\r\n");
    }
    std::lock_guard lock(fMutex);
    fHeads.push_back(received.substr(0, headEnd));
    return true;
}

void TRawPeer::Answer(int Connection) {
    if (!ReadRequest(Connection))
        return;
    const std::string &answer = fAnswers.front();
    if (fPause.count() == 0) {
        ::send(Connection, answer.data(), answer.size(), MSG_NOSIGNAL);
        return;
    }
    for (char byte : answer) {
        if (fStopping || ::send(Connection, &byte, 1, MSG_NOSIGNAL) != 1)
            return;
        std::this_thread::sleep_for(fPause);
    }
}

void TRawPeer::ServeKept(int Connection) {
    while (ReadRequest(Connection)) {
        std::string answer;
        {
            std::lock_guard lock(fMutex);
            answer = fAnswers[std::min(fNextAnswer, fAnswers.size() - 1)];
            ++fNextAnswer;
        }
        if (answer.empty() || ::send(Connection, answer.data(), answer.size(), MSG_NOSIGNAL) < 0)
            return;
    }
}

} // namespace Tunewell::Test
