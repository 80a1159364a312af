#include "Tunewell/Test/TestAuthority.h"

#include <atomic>
#include <ctime>
#include <fstream>
#include <unistd.h>

namespace Tunewell::Test {

namespace {
constexpr std::time_t kDay = 24 * 60 * 60;
} // namespace

TTestAuthority::TTestAuthority(const std::string &Name) {
    static std::atomic<int> made{0};
    const std::time_t now = std::time(nullptr);
    fAuthority = TunewellCloud::Certificates::makeAuthority(Name, {now - kDay, now + kDay});
    fFile = std::filesystem::temp_directory_path() /
            ("tunewell-authority-" + std::to_string(::getpid()) + "-" + std::to_string(++made) + ".pem");
    std::ofstream(fFile) << fAuthority.certificate;
}

TTestAuthority::~TTestAuthority() {
    std::error_code ignored;
    std::filesystem::remove(fFile, ignored);
}

TunewellCloud::CertifiedKey TTestAuthority::Issue(const std::vector<std::string> &Names) const {
    const std::time_t now = std::time(nullptr);
    return TunewellCloud::Certificates::issueServer(fAuthority, Names, {now - 60, now + kDay});
}

TunewellCloud::CertifiedKey TTestAuthority::IssueExpired(const std::vector<std::string> &Names) const {
    const std::time_t now = std::time(nullptr);
    return TunewellCloud::Certificates::issueServer(fAuthority, Names, {now - 10 * kDay, now - kDay});
}

} // namespace Tunewell::Test
