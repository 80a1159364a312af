#pragma once

#include <cstddef>
#include <functional>
#include <httplib.h>
#include <optional>
#include <string>

namespace TunewellCloud {

// What one request may make the server take in, decided before its body is read. The library
// enforces its payload limit only on a body of declared length, neither for chunked transfer nor
// after decompression: every body is therefore read through a content reader that counts what it
// gives, decompressed (read()), and a body that cannot be counted so is refused before any of it
// is read (check()). A refusal closes the connection once answered, so the rest of a refused body
// is never taken in as another request.
class RequestLimits {
public:
    // Fills a refusal in the service's own error form.
    using Refusal = std::function<void(httplib::Response &, int status)>;

    RequestLimits(std::size_t bodyBytes, Refusal refusal);
    std::size_t bodyBytes() const { return bodyBytes_; }

    // For the pre-routing handler: Handled with the refusal for a body over the limit by its
    // declared length, a chunked or compressed body the route would read whole, or a form.
    httplib::Server::HandlerResponse check(const httplib::Request &request,
                                           httplib::Response &response) const;
    // The body, decompressed, or nothing once it passes the limit (reading stops there; the
    // response is then the refusal).
    std::optional<std::string> read(const httplib::ContentReader &reader, httplib::Response &response) const;
    // Content-reader routes for every path and method with a body, answering 404, installed
    // after the service's own so that no body is read by the library whole.
    void installFallbacks(httplib::Server &server) const;

private:
    void refuse(httplib::Response &response, int status) const;

    std::size_t bodyBytes_;
    Refusal refusal_;
};

} // namespace TunewellCloud
