#pragma once

#include "TunewellCloud/Certificates.h"

#include <filesystem>
#include <string>
#include <vector>

namespace Tunewell::Test {

// A certificate authority made for a test, its certificate in a PEM file of its own (for
// TUNEWELL_CA_FILE); the file goes with the object.
class TTestAuthority {
public:
    explicit TTestAuthority(const std::string &Name);
    ~TTestAuthority();
    TTestAuthority(const TTestAuthority &) = delete;
    TTestAuthority &operator=(const TTestAuthority &) = delete;

    const std::filesystem::path &File() const { return fFile; }
    // A server certificate for the names, valid for a day from a minute ago.
    TunewellCloud::CertifiedKey Issue(const std::vector<std::string> &Names) const;
    // One for the names that expired yesterday.
    TunewellCloud::CertifiedKey IssueExpired(const std::vector<std::string> &Names) const;

private:
    TunewellCloud::CertifiedKey fAuthority;
    std::filesystem::path fFile;
};

} // namespace Tunewell::Test
