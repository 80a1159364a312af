#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace TunewellCloud::UrlCoding {

// Decodes %XX escapes and "+" as a blank; nullopt for a broken escape.
std::optional<std::string> decode(std::string_view text);
// "a=1&b=two+words" as a map; nullopt when an escape is broken.
std::optional<std::map<std::string, std::string>> decodeForm(std::string_view text);

// The query of a request target ("/a.json?auth=x" gives {auth: x}); nullopt when an escape is
// broken. Parameters of a form body are not mixed in.
std::optional<std::map<std::string, std::string>> queryOf(std::string_view target);

} // namespace TunewellCloud::UrlCoding
