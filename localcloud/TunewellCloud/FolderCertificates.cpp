#include "TunewellCloud/FolderCertificates.h"

#include "TunewellCloud/DurableFiles.h"
#include "TunewellCloud/UniqueFd.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>

namespace TunewellCloud {

namespace {

constexpr std::time_t kDay = 24 * 60 * 60;
// Clocks of the machines that check a new certificate may be a little behind.
constexpr std::time_t kBackdating = 60 * 60;
const std::vector<std::string> kServerNames = {"127.0.0.1", "localhost"};

bool fresh(const std::string &certificate, std::time_t now) {
    const Validity validity = Certificates::validityOf(certificate);
    return validity.notBefore <= now && validity.notAfter - FolderCertificates::kRenewalDays * kDay > now;
}

Validity lasting(int days, std::time_t now) {
    return {now - kBackdating, now + days * kDay};
}

// A pair kept in two files, or nothing when either is missing or unreadable.
std::optional<CertifiedKey> readPair(const std::filesystem::path &certificateFile,
                                     const std::filesystem::path &keyFile) {
    auto certificate = DurableFiles::read(certificateFile);
    auto key = DurableFiles::read(keyFile);
    if (!certificate || !key)
        return std::nullopt;
    CertifiedKey pair{std::move(*certificate), std::move(*key)};
    try {
        Certificates::checkPair(pair);
    } catch (const CertificateError &) {
        return std::nullopt;
    }
    return pair;
}

void writePair(const CertifiedKey &pair, const std::filesystem::path &certificateFile,
               const std::filesystem::path &keyFile) {
    // The key first: a certificate is never beside another certificate's key.
    DurableFiles::writeAtomically(keyFile, pair.key, true);
    DurableFiles::writeAtomically(certificateFile, pair.certificate);
}

UniqueFd lockCertificates(const std::filesystem::path &folder) {
    const auto lockFile = folder / "certificates.lock";
    UniqueFd lock(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!lock.valid() || ::flock(lock.get(), LOCK_EX) != 0)
        throw std::runtime_error("cannot lock " + lockFile.string() + ": " + std::strerror(errno));
    return lock;
}

} // namespace

std::filesystem::path FolderCertificates::authorityFile(const std::filesystem::path &folder) {
    return folder / "ca.pem";
}

CertifiedKey FolderCertificates::ensure(const std::filesystem::path &folder, std::time_t now) {
    if (!std::filesystem::exists(folder)) {
        std::filesystem::create_directories(folder);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
    }
    const UniqueFd lock = lockCertificates(folder);
    const auto authorityKeyFile = folder / "ca-key.pem";
    const auto serverFile = folder / "server.pem";
    const auto serverKeyFile = folder / "server-key.pem";

    auto authority = readPair(authorityFile(folder), authorityKeyFile);
    // An authority of an earlier version vouches for any name: it is replaced, and with it the
    // server certificate it signed.
    if (!authority || !fresh(authority->certificate, now) ||
        !Certificates::nameConstrained(authority->certificate)) {
        authority = Certificates::makeAuthority("tunewell-cloud local authority",
                                                lasting(kAuthorityDays, now), kServerNames);
        writePair(*authority, authorityFile(folder), authorityKeyFile);
    }
    auto server = readPair(serverFile, serverKeyFile);
    const auto serves = [&](const CertifiedKey &pair) {
        if (!fresh(pair.certificate, now) ||
            !Certificates::signedBy(pair.certificate, authority->certificate))
            return false;
        for (const std::string &name : kServerNames)
            if (!Certificates::names(pair.certificate, name))
                return false;
        return true;
    };
    if (!server || !serves(*server)) {
        server = Certificates::issueServer(*authority, kServerNames, lasting(kServerDays, now));
        writePair(*server, serverFile, serverKeyFile);
    }
    return *server;
}

} // namespace TunewellCloud
