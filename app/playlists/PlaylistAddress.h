#pragma once

#include <string>
#include <string_view>

namespace Tunewell {

// Whether a station may be kept with this address: absolute http:// or https:// (either case) with
// a server and a numeric port if any, no blank or control character inside. Relative paths, file:, ftp:,
// data: and the like are not, nor is an address without a server. The length is checked apart (its own
// refusal).
bool IsStationAddress(std::string_view Address);

// Whether an address is meant for a station: it begins with http: or https: (either case), well
// formed or not. Anything else (a local file, a relative path, another scheme) names no station.
bool NamesStationScheme(std::string_view Address);

// The server named by an address, as written (an IPv6 literal keeps its brackets); empty for none.
std::string AddressHost(std::string_view Address);

} // namespace Tunewell
