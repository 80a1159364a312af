#pragma once

#include "TunewellCloud/Json.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace TunewellCloud {

// Signs and checks HS256 JSON Web Tokens with the data folder's secret.
class TokenSigner {
public:
    enum class Outcome { Valid, Unreadable, Expired };
    struct Checked {
        Outcome outcome;
        Json claims;
    };

    explicit TokenSigner(std::string secret);
    // The secret lives in the data folder, readable by its owner only; made on first use.
    static TokenSigner forFolder(const std::filesystem::path &folder);

    std::string sign(const Json &claims) const;
    // "exp" (seconds) decides expiry; a token without it never expires.
    Checked check(std::string_view token, std::int64_t nowSeconds) const;

private:
    std::string secret_;
};

} // namespace TunewellCloud
