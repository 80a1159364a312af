#include "TunewellCloud/KeyOrder.h"

#include <cstdint>
#include <limits>

namespace TunewellCloud {

std::optional<long long> keyAsInteger(std::string_view key) {
    std::size_t position = 0;
    bool negative = false;
    if (!key.empty() && key[0] == '-') {
        negative = true;
        position = 1;
    }
    const std::size_t digits = key.size() - position;
    if (digits == 0 || digits > 10)
        return std::nullopt;
    if (key[position] == '0' && (digits > 1 || negative))
        return std::nullopt;
    long long value = 0;
    for (std::size_t i = position; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9')
            return std::nullopt;
        value = value * 10 + (key[i] - '0');
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return value;
}

bool KeyOrder::operator()(std::string_view left, std::string_view right) const {
    const auto leftNumber = keyAsInteger(left);
    const auto rightNumber = keyAsInteger(right);
    if (leftNumber && rightNumber)
        return *leftNumber < *rightNumber;
    if (leftNumber || rightNumber)
        return leftNumber.has_value();
    return left < right;
}

} // namespace TunewellCloud
