#pragma once

#include <string>
#include <string_view>

namespace TunewellCloud::Crypto {

std::string randomBytes(std::size_t count);
// Random text of the given length from letters and digits.
std::string randomToken(std::size_t length);
std::string toHex(std::string_view bytes);
std::string fromHex(std::string_view hex);
std::string base64UrlEncode(std::string_view bytes);
// Throws std::invalid_argument for text that is not unpadded base64url.
std::string base64UrlDecode(std::string_view text);
std::string hmacSha256(std::string_view key, std::string_view message);
bool equalInConstantTime(std::string_view left, std::string_view right);

} // namespace TunewellCloud::Crypto
