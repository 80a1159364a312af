#include "UnavailableAnswers.h"

#include "LoopbackSocket.h"

#include <algorithm>
#include <cctype>
#include <poll.h>
#include <sys/socket.h>

namespace TunewellBench {

namespace {

constexpr std::string_view kHeadEnd = "\r\n\r\n";

// The request head's Content-Length, 0 when it has none.
std::size_t ContentLength(std::string Head) {
    std::transform(Head.begin(), Head.end(), Head.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    constexpr std::string_view kName = "\r\ncontent-length:";
    const auto at = Head.find(kName);
    if (at == std::string::npos)
        return 0;
    try {
        return std::stoul(Head.substr(at + kName.size()));
    } catch (const std::exception &) {
        return 0;
    }
}

} // namespace

std::string DatabaseUnavailableBody() {
    return "{\n  \"error\" : \"Service Unavailable\"\n}\n";
}

std::string IdentityUnavailableBody() {
    return R"({"error":{"code":503,"message":"The service is currently unavailable.","status":"UNAVAILABLE"}})";
}

void AnswerUnavailable(int Client, const std::string &Body, ConnectionState &State) {
    const std::string answer = "HTTP/1.1 503 Service Unavailable\r\n"
                               "Content-Type: application/json; charset=utf-8\r\n"
                               "Content-Length: " +
                               std::to_string(Body.size()) + "\r\nConnection: keep-alive\r\n\r\n" + Body;
    std::string received;
    char buffer[4096];
    while (true) {
        // Every whole request received so far is answered.
        for (auto headEnd = received.find(kHeadEnd); headEnd != std::string::npos;
             headEnd = received.find(kHeadEnd)) {
            const std::size_t length = headEnd + kHeadEnd.size() + ContentLength(received.substr(0, headEnd));
            if (received.size() < length)
                break;
            received.erase(0, length);
            if (!SendAll(Client, answer.data(), answer.size(), State.Cut))
                return;
        }
        if (!WaitFor(Client, POLLIN, State.Cut))
            return;
        const ssize_t count = ::recv(Client, buffer, sizeof buffer, 0);
        if (count <= 0)
            return;
        received.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace TunewellBench
