#include "TunewellCloud/Utf8.h"

#include <cstdint>

namespace TunewellCloud::Utf8 {

std::optional<char32_t> nextCharacter(std::string_view text, std::size_t &at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    std::size_t extra = 0;
    std::uint32_t code = 0;
    if (byte < 0x80) {
        ++at;
        return byte;
    } else if ((byte & 0xE0) == 0xC0) {
        extra = 1;
        code = byte & 0x1F;
    } else if ((byte & 0xF0) == 0xE0) {
        extra = 2;
        code = byte & 0x0F;
    } else if ((byte & 0xF8) == 0xF0) {
        extra = 3;
        code = byte & 0x07;
    } else {
        return std::nullopt;
    }
    if (at + extra >= text.size())
        return std::nullopt;
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        code = (code << 6) | (next & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    at += extra + 1;
    return static_cast<char32_t>(code);
}

} // namespace TunewellCloud::Utf8
