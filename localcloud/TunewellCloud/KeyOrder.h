#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace TunewellCloud {

// Children of a node are answered with keys that read as 32-bit integers first, in numeric
// order, then the other keys in byte order.
struct KeyOrder {
    using is_transparent = void;
    bool operator()(std::string_view left, std::string_view right) const;
};

// The key as a 32-bit integer when it is written as one canonically ("7", "-3"; not "07" or "+7").
std::optional<long long> keyAsInteger(std::string_view key);

} // namespace TunewellCloud
