#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace Cumulo {

// A GUID as its 16 bytes in text order ({00112233-4455-6677-8899-AABBCCDDEEFF}).
struct TGUID {
    std::array<std::uint8_t, 16> Bytes{};

    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with upper-case digits.
    std::string ToString() const;
    // A fresh random (version 4) GUID, from the cryptographic source.
    static TGUID NewGuid();

    friend bool operator==(const TGUID &, const TGUID &) = default;
};

} // namespace Cumulo
