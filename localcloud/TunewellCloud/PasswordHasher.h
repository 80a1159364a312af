#pragma once

#include <string>

namespace TunewellCloud::PasswordHasher {

// "pbkdf2-sha256$ITERATIONS$SALT$HASH" with a random 16-byte salt.
std::string hash(const std::string &password, int iterations = 100000);
bool matches(const std::string &password, const std::string &stored);

} // namespace TunewellCloud::PasswordHasher
