#include "TunewellCloud/RequestLimits.h"

#include "TunewellCloud/HttpReplies.h"

#include <charconv>

namespace TunewellCloud {

namespace {

// The methods the library routes to content readers; any other reads its body whole.
bool readsThroughContentReader(const std::string &method) {
    return method == "POST" || method == "PUT" || method == "PATCH" || method == "DELETE";
}

std::optional<std::size_t> declaredLength(const httplib::Request &request) {
    if (!request.has_header("Content-Length"))
        return std::nullopt;
    const std::string text = request.get_header_value("Content-Length");
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (error != std::errc() || end != text.data() + text.size())
        return SIZE_MAX;
    return length;
}

} // namespace

RequestLimits::RequestLimits(std::size_t bodyBytes, Refusal refusal)
    : bodyBytes_(bodyBytes), refusal_(std::move(refusal)) {}

httplib::Server::HandlerResponse RequestLimits::check(const httplib::Request &request,
                                                      httplib::Response &response) const {
    using Outcome = httplib::Server::HandlerResponse;
    const auto length = declaredLength(request);
    if (length && *length > bodyBytes_) {
        refuse(response, 413);
        return Outcome::Handled;
    }
    const bool uncounted = request.has_header("Transfer-Encoding") || request.has_header("Content-Encoding");
    if ((uncounted && !readsThroughContentReader(request.method)) || request.is_multipart_form_data()) {
        refuse(response, 400);
        return Outcome::Handled;
    }
    return Outcome::Unhandled;
}

std::optional<std::string> RequestLimits::read(const httplib::ContentReader &reader,
                                               httplib::Response &response) const {
    std::string body;
    bool over = false;
    reader([this, &body, &over](const char *data, std::size_t length) {
        if (length > bodyBytes_ - body.size()) {
            over = true;
            return false;
        }
        body.append(data, length);
        return true;
    });
    if (!over)
        return body;
    refuse(response, 413);
    return std::nullopt;
}

void RequestLimits::installFallbacks(httplib::Server &server) const {
    auto notFound = [this](const httplib::Request &, httplib::Response &response,
                           const httplib::ContentReader &) { refuse(response, 404); };
    server.Post(".*", notFound);
    server.Put(".*", notFound);
    server.Patch(".*", notFound);
    server.Delete(".*", notFound);
}

void RequestLimits::refuse(httplib::Response &response, int status) const {
    refusal_(response, status);
    HttpReplies::closeAfter(response);
}

} // namespace TunewellCloud
