#include "Cumulo/UrlEncoding.h"

#include <cstring>

namespace Cumulo {

std::string URLEncode(std::string_view Text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    static constexpr char kUnreserved[] = "!$'()*-.@_";
    std::string out;
    out.reserve(Text.size() * 3);
    for (char c : Text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool alnum =
            (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9');
        if (alnum || (byte != 0 && std::strchr(kUnreserved, byte) != nullptr)) {
            out += c;
        } else if (byte == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

} // namespace Cumulo
