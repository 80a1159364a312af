#include "TunewellCloud/Crypto.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>
#include <stdexcept>

namespace TunewellCloud::Crypto {

namespace {
constexpr char kBase64Url[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr char kAlphanumeric[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

int base64UrlValue(char c) {
    for (int i = 0; i < 64; ++i)
        if (kBase64Url[i] == c)
            return i;
    return -1;
}
} // namespace

std::string randomBytes(std::size_t count) {
    std::string bytes(count, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char *>(bytes.data()), static_cast<int>(count)) != 1)
        throw std::runtime_error("no random bytes available");
    return bytes;
}

std::string randomToken(std::size_t length) {
    std::string token;
    token.reserve(length);
    while (token.size() < length) {
        for (const char byte : randomBytes(length)) {
            const auto value = static_cast<unsigned char>(byte);
            // 248 = 4 * 62: reject the rest so every character is equally likely.
            if (value < 248 && token.size() < length)
                token += kAlphanumeric[value % 62];
        }
    }
    return token;
}

std::string toHex(std::string_view bytes) {
    constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex += digits[value >> 4];
        hex += digits[value & 0xF];
    }
    return hex;
}

std::string fromHex(std::string_view hex) {
    if (hex.size() % 2 != 0)
        throw std::invalid_argument("odd hex length");
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

std::string base64UrlEncode(std::string_view bytes) {
    std::string text;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const std::uint32_t group = (static_cast<unsigned char>(bytes[i]) << 16) |
                                    (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                                    static_cast<unsigned char>(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6)
            text += kBase64Url[(group >> shift) & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2)
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        text += kBase64Url[(group >> 18) & 63];
        text += kBase64Url[(group >> 12) & 63];
        if (rest == 2)
            text += kBase64Url[(group >> 6) & 63];
    }
    return text;
}

std::string base64UrlDecode(std::string_view text) {
    if (text.size() % 4 == 1)
        throw std::invalid_argument("bad base64url length");
    std::string bytes;
    std::uint32_t group = 0;
    int bits = 0;
    for (const char c : text) {
        const int value = base64UrlValue(c);
        if (value < 0)
            throw std::invalid_argument("bad base64url character");
        group = (group << 6) | static_cast<std::uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((group >> bits) & 0xFF);
        }
    }
    return bytes;
}

std::string hmacSha256(std::string_view key, std::string_view message) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()),
             reinterpret_cast<const unsigned char *>(message.data()), message.size(), digest,
             &length) == nullptr)
        throw std::runtime_error("HMAC failed");
    return std::string(reinterpret_cast<const char *>(digest), length);
}

bool equalInConstantTime(std::string_view left, std::string_view right) {
    return left.size() == right.size() && CRYPTO_memcmp(left.data(), right.data(), left.size()) == 0;
}

} // namespace TunewellCloud::Crypto
