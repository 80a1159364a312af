#include "Cumulo/HttpResponse.h"

#include "Cumulo/AsciiCase.h"

namespace Cumulo {

std::string THttpResponse::Header(const std::string &Name) const {
    for (const auto &[name, value] : Headers)
        if (EqualsIgnoringAsciiCase(name, Name))
            return value;
    return {};
}

bool IsServiceUnavailable(int StatusCode) {
    return (StatusCode >= 500 && StatusCode <= 599) || StatusCode == 408 || StatusCode == 429;
}

std::string StandardReasonPhrase(int StatusCode) {
    switch (StatusCode) {
    case 100:
        return "Continue";
    case 200:
        return "OK";
    case 201:
        return "Created";
    case 202:
        return "Accepted";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 304:
        return "Not Modified";
    case 307:
        return "Temporary Redirect";
    case 308:
        return "Permanent Redirect";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 409:
        return "Conflict";
    case 412:
        return "Precondition Failed";
    case 413:
        return "Payload Too Large";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    case 504:
        return "Gateway Timeout";
    default:
        return {};
    }
}

} // namespace Cumulo
