#pragma once

#include <string>
#include <string_view>

namespace Cumulo {

// A URL taken apart by the client's one rule: the scheme ends at "://"; the authority runs up
// to the first "/", "?" or "#"; user information ends at the authority's last "@"; a host in
// square brackets (an IPv6 literal) keeps its colons, and the port is what follows the host's
// ":". Nothing is decoded or checked. A text without "://" has no scheme.
struct TURLParts {
    std::string Scheme;   // as written, without "://"
    std::string UserInfo; // without its "@"
    std::string Host;     // as written; an IPv6 literal keeps its brackets
    std::string Port;     // as written; empty when none is given
    std::string Rest;     // path, query and fragment, from the end of the authority on

    // "host[:port]" as written, without user information: where a service is sought.
    std::string HostPort() const;
    // "scheme://host:port" lower-cased, the scheme's default port filled in (80 for http, 443 for
    // https): one text for every spelling of the same server, which connections are kept by.
    // Without a scheme, the lower-cased "host[:port]".
    std::string Origin() const;
};

TURLParts SplitURL(std::string_view URL);

} // namespace Cumulo
