#include "TunewellCloud/TokenSigner.h"

#include "TunewellCloud/Crypto.h"
#include "TunewellCloud/DurableFiles.h"

#include <stdexcept>

namespace TunewellCloud {

TokenSigner::TokenSigner(std::string secret) : secret_(std::move(secret)) {}

TokenSigner TokenSigner::forFolder(const std::filesystem::path &folder) {
    const auto file = folder / "secret";
    if (auto existing = DurableFiles::read(file); existing && existing->size() >= 64)
        return TokenSigner(Crypto::fromHex(existing->substr(0, 64)));
    const std::string secret = Crypto::randomBytes(32);
    DurableFiles::writeAtomically(file, Crypto::toHex(secret) + "\n", true);
    return TokenSigner(secret);
}

std::string TokenSigner::sign(const Json &claims) const {
    static const std::string header = Crypto::base64UrlEncode(R"({"alg":"HS256","typ":"JWT"})");
    const std::string content = header + "." + Crypto::base64UrlEncode(claims.dump());
    return content + "." + Crypto::base64UrlEncode(Crypto::hmacSha256(secret_, content));
}

TokenSigner::Checked TokenSigner::check(std::string_view token, std::int64_t nowSeconds) const {
    const Checked unreadable{Outcome::Unreadable, nullptr};
    const auto firstDot = token.find('.');
    const auto secondDot = token.rfind('.');
    if (firstDot == std::string_view::npos || secondDot == firstDot)
        return unreadable;
    try {
        const auto content = token.substr(0, secondDot);
        const std::string signature = Crypto::base64UrlDecode(token.substr(secondDot + 1));
        if (!Crypto::equalInConstantTime(signature, Crypto::hmacSha256(secret_, content)))
            return unreadable;
        const Json header = Json::parse(Crypto::base64UrlDecode(token.substr(0, firstDot)));
        if (!header.is_object() || header.value("alg", "") != "HS256")
            return unreadable;
        Json claims = Json::parse(Crypto::base64UrlDecode(content.substr(firstDot + 1)));
        if (!claims.is_object())
            return unreadable;
        if (claims.contains("exp")) {
            if (!claims.at("exp").is_number())
                return unreadable;
            if (claims.at("exp").get<double>() <= static_cast<double>(nowSeconds))
                return {Outcome::Expired, std::move(claims)};
        }
        return {Outcome::Valid, std::move(claims)};
    } catch (const std::exception &) {
        return unreadable;
    }
}

} // namespace TunewellCloud
