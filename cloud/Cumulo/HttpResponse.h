#pragma once

#include <string>
#include <utility>
#include <vector>

namespace Cumulo {

// One complete HTTP answer, as the transport received it.
struct THttpResponse {
    int StatusCode = 0;
    // The reason phrase of the status line; the standard phrase when the answer carried none
    // (HTTP/2 never does).
    std::string StatusText;
    // The body as UTF-8 text: as received, or converted from a declared ISO-8859-1. Empty for a
    // streamed GET, whose bytes went to the caller's content stream unchanged.
    std::string Body;
    // The header lines of the final answer, in order, names as sent.
    std::vector<std::pair<std::string, std::string>> Headers;
    // The effective URL (after redirects).
    std::string URL;

    // The value of the first header of that name (case-insensitive), or empty text.
    std::string Header(const std::string &Name) const;
};

// The one rule for "the service is unavailable now": every 5xx, 408 (the service gave up waiting
// for the request) and 429 (too many requests). Asking again later may succeed; the request was
// not refused.
bool IsServiceUnavailable(int StatusCode);

// The standard reason phrase of a status code, or empty text for an unknown code.
std::string StandardReasonPhrase(int StatusCode);

} // namespace Cumulo
