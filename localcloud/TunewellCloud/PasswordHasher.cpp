#include "TunewellCloud/PasswordHasher.h"

#include "TunewellCloud/Crypto.h"

#include <openssl/evp.h>
#include <stdexcept>
#include <vector>

namespace TunewellCloud::PasswordHasher {

namespace {

std::string derive(const std::string &password, const std::string &salt, int iterations) {
    std::string key(32, '\0');
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                          reinterpret_cast<const unsigned char *>(salt.data()), static_cast<int>(salt.size()),
                          iterations, EVP_sha256(), static_cast<int>(key.size()),
                          reinterpret_cast<unsigned char *>(key.data())) != 1)
        throw std::runtime_error("PBKDF2 failed");
    return key;
}

std::vector<std::string> split(const std::string &text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

std::string hash(const std::string &password, int iterations) {
    const std::string salt = Crypto::randomBytes(16);
    return "pbkdf2-sha256$" + std::to_string(iterations) + "$" + Crypto::toHex(salt) + "$" +
           Crypto::toHex(derive(password, salt, iterations));
}

bool matches(const std::string &password, const std::string &stored) {
    const auto parts = split(stored, '$');
    if (parts.size() != 4 || parts[0] != "pbkdf2-sha256")
        return false;
    try {
        const int iterations = std::stoi(parts[1]);
        if (iterations < 1)
            return false;
        return Crypto::equalInConstantTime(derive(password, Crypto::fromHex(parts[2]), iterations),
                                           Crypto::fromHex(parts[3]));
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace TunewellCloud::PasswordHasher
