#include "Cumulo/UrlParts.h"

#include "Cumulo/AsciiCase.h"

#include <algorithm>

namespace Cumulo {

namespace {

std::string DefaultPort(const std::string &Scheme) {
    const std::string scheme = LowerAscii(Scheme);
    if (scheme == "http")
        return "80";
    if (scheme == "https")
        return "443";
    return {};
}

} // namespace

std::string TURLParts::HostPort() const {
    return Port.empty() ? Host : Host + ":" + Port;
}

std::string TURLParts::Origin() const {
    if (Scheme.empty())
        return LowerAscii(HostPort());
    const std::string port = Port.empty() ? DefaultPort(Scheme) : Port;
    return LowerAscii(Scheme + "://" + (port.empty() ? Host : Host + ":" + port));
}

TURLParts SplitURL(std::string_view URL) {
    TURLParts parts;
    std::size_t authorityStart = 0;
    if (const auto schemeEnd = URL.find("://"); schemeEnd != std::string_view::npos) {
        parts.Scheme = URL.substr(0, schemeEnd);
        authorityStart = schemeEnd + 3;
    }
    const std::size_t authorityEnd = std::min(URL.find_first_of("/?#", authorityStart), URL.size());
    parts.Rest = URL.substr(authorityEnd);
    std::string_view authority = URL.substr(authorityStart, authorityEnd - authorityStart);
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        parts.UserInfo = authority.substr(0, at);
        authority.remove_prefix(at + 1);
    }
    std::size_t hostEnd = authority.size();
    if (authority.starts_with('[')) {
        const auto closing = authority.find(']');
        hostEnd = closing == std::string_view::npos ? authority.size() : closing + 1;
    } else if (const auto colon = authority.rfind(':'); colon != std::string_view::npos) {
        hostEnd = colon;
    }
    parts.Host = authority.substr(0, hostEnd);
    if (hostEnd < authority.size() && authority[hostEnd] == ':')
        parts.Port = authority.substr(hostEnd + 1);
    return parts;
}

} // namespace Cumulo
