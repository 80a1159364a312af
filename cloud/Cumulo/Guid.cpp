#include "Cumulo/Guid.h"

#include "Cumulo/RandomBytes.h"

#include <cstdio>

namespace Cumulo {

std::string TGUID::ToString() const {
    std::string out = "{";
    char hex[3];
    for (std::size_t i = 0; i < Bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            out += '-';
        std::snprintf(hex, sizeof hex, "%02X", Bytes[i]);
        out += hex;
    }
    return out + "}";
}

TGUID TGUID::NewGuid() {
    TGUID guid;
    FillRandomBytes(guid.Bytes);
    guid.Bytes[6] = static_cast<std::uint8_t>((guid.Bytes[6] & 0x0F) | 0x40); // version 4
    guid.Bytes[8] = static_cast<std::uint8_t>((guid.Bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    return guid;
}

} // namespace Cumulo
