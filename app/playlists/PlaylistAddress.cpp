#include "app/playlists/PlaylistAddress.h"

#include "Cumulo/AsciiCase.h"
#include "Cumulo/UrlParts.h"

#include <algorithm>

namespace Tunewell {

bool IsStationAddress(std::string_view Address) {
    const bool spaced = std::any_of(Address.begin(), Address.end(),
                                    [](char Byte) { return static_cast<unsigned char>(Byte) <= 0x20; });
    if (spaced || Address.find('\x7F') != std::string_view::npos) {
        return false;
    }
    const Cumulo::TURLParts parts = Cumulo::SplitURL(Address);
    const std::string scheme = Cumulo::LowerAscii(parts.Scheme);
    // "http://@/x" and "http://:80" name no server; "[]" is an empty IPv6 literal.
    const bool hasHost = !parts.Host.empty() && parts.Host != "[]";
    const bool numericPort = std::all_of(parts.Port.begin(), parts.Port.end(),
                                         [](char Byte) { return Byte >= '0' && Byte <= '9'; });
    return (scheme == "http" || scheme == "https") && hasHost && numericPort;
}

bool NamesStationScheme(std::string_view Address) {
    const std::string start = Cumulo::LowerAscii(std::string(Address.substr(0, 6)));
    return start.starts_with("http:") || start.starts_with("https:");
}

std::string AddressHost(std::string_view Address) {
    return Cumulo::SplitURL(Address).Host;
}

} // namespace Tunewell
