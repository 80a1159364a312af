// The data folder's own certificate authority and server certificate: made once, kept while
// good, renewed when due.
#include "TunewellCloud/FolderCertificates.h"

#include "TunewellCloud/DurableFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <openssl/pem.h>
#include <openssl/x509_vfy.h>
#include <unistd.h>

using TunewellCloud::CertificateError;
using TunewellCloud::CertifiedKey;
using TunewellCloud::FolderCertificates;
namespace Certificates = TunewellCloud::Certificates;
namespace DurableFiles = TunewellCloud::DurableFiles;

namespace {

constexpr std::time_t kDay = 24 * 60 * 60;

class FolderCertificatesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            std::filesystem::temp_directory_path() / ("tunewell-certificates-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string file(const char *name) const { return DurableFiles::read(folder / name).value_or(""); }

    std::filesystem::path folder;
    const std::time_t now = std::time(nullptr);
};

TEST_F(FolderCertificatesTest, FirstUseMakesAnAuthorityAndAServerCertificateForLoopback) {
    const CertifiedKey server = FolderCertificates::ensure(folder, now);
    const std::string authority = file("ca.pem");
    EXPECT_TRUE(Certificates::signedBy(server.certificate, authority));
    EXPECT_FALSE(Certificates::signedBy(authority, server.certificate));
    for (const char *name : {"127.0.0.1", "localhost"})
        EXPECT_TRUE(Certificates::names(server.certificate, name)) << name;
    EXPECT_FALSE(Certificates::names(server.certificate, "127.0.0.2"));
    EXPECT_FALSE(Certificates::names(server.certificate, "example.org"));
    const auto validity = Certificates::validityOf(server.certificate);
    EXPECT_LE(validity.notBefore, now);
    EXPECT_GE(validity.notAfter, now + 300 * kDay);
    EXPECT_LE(Certificates::validityOf(server.certificate).notAfter,
              Certificates::validityOf(authority).notAfter);

    using std::filesystem::perms;
    for (const char *key : {"ca-key.pem", "server-key.pem"})
        EXPECT_EQ(std::filesystem::status(folder / key).permissions() & perms::all,
                  perms::owner_read | perms::owner_write)
            << key;
    EXPECT_EQ(server.certificate, file("server.pem"));
    EXPECT_EQ(server.key, file("server-key.pem"));
}

TEST_F(FolderCertificatesTest, GoodCertificatesAreKeptAndDueOnesMadeAnew) {
    struct Case {
        const char *what;
        std::time_t later;
        bool newAuthority;
        bool newServer;
    };
    const Case cases[] = {
        {"a month on", 30 * kDay, false, false},
        {"close to the server's end", (FolderCertificates::kServerDays - 10) * kDay, false, true},
        {"after the server's end", (FolderCertificates::kServerDays + 1) * kDay, false, true},
        {"after the authority's end", (FolderCertificates::kAuthorityDays + 1) * kDay, true, true},
    };
    for (const Case &c : cases) {
        std::filesystem::remove_all(folder);
        const CertifiedKey first = FolderCertificates::ensure(folder, now);
        const std::string firstAuthority = file("ca.pem");
        const CertifiedKey second = FolderCertificates::ensure(folder, now + c.later);
        EXPECT_EQ(file("ca.pem") != firstAuthority, c.newAuthority) << c.what;
        EXPECT_EQ(second.certificate != first.certificate, c.newServer) << c.what;
        EXPECT_EQ(second.key != first.key, c.newServer) << c.what;
        EXPECT_TRUE(Certificates::signedBy(second.certificate, file("ca.pem"))) << c.what;
    }
}

TEST_F(FolderCertificatesTest, AnotherAuthorityOrAMismatchedKeyMakesANewServerCertificate) {
    const CertifiedKey first = FolderCertificates::ensure(folder, now);
    // An authority put in place of the folder's own (as after restoring ca.pem from elsewhere).
    const CertifiedKey other =
        Certificates::makeAuthority("other", {now - kDay, now + 100 * kDay}, {"127.0.0.1", "localhost"});
    DurableFiles::writeAtomically(folder / "ca.pem", other.certificate);
    DurableFiles::writeAtomically(folder / "ca-key.pem", other.key, true);
    const CertifiedKey second = FolderCertificates::ensure(folder, now);
    EXPECT_NE(second.certificate, first.certificate);
    EXPECT_TRUE(Certificates::signedBy(second.certificate, other.certificate));

    DurableFiles::writeAtomically(folder / "server-key.pem", first.key, true);
    const CertifiedKey third = FolderCertificates::ensure(folder, now);
    EXPECT_NO_THROW(Certificates::checkPair(third));
    EXPECT_NE(third.certificate, second.certificate);
}

// The certificate's chain checks out against the authority alone, as a client's would.
bool verifies(const std::string &certificate, const std::string &authority) {
    const auto read = [](const std::string &pem) {
        std::unique_ptr<BIO, decltype(&BIO_free)> bio(
            BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), BIO_free);
        return std::unique_ptr<X509, decltype(&X509_free)>(
            PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr), X509_free);
    };
    const auto leaf = read(certificate);
    const auto root = read(authority);
    std::unique_ptr<X509_STORE, decltype(&X509_STORE_free)> store(X509_STORE_new(), X509_STORE_free);
    std::unique_ptr<X509_STORE_CTX, decltype(&X509_STORE_CTX_free)> context(X509_STORE_CTX_new(),
                                                                            X509_STORE_CTX_free);
    X509_STORE_add_cert(store.get(), root.get());
    X509_STORE_CTX_init(context.get(), store.get(), leaf.get(), nullptr);
    return X509_verify_cert(context.get()) == 1;
}

// Whoever trusts the folder's authority trusts it for loopback only: a certificate it signs for
// any other name (one key stolen from the folder would make them) does not check out.
TEST_F(FolderCertificatesTest, TheAuthorityVouchesForLoopbackAlone) {
    const CertifiedKey server = FolderCertificates::ensure(folder, now);
    const CertifiedKey authority{file("ca.pem"), file("ca-key.pem")};
    EXPECT_TRUE(verifies(server.certificate, authority.certificate));
    for (const std::vector<std::string> &names : std::vector<std::vector<std::string>>{
             {"www.googleapis.com"}, {"127.0.0.2"}, {"localhost", "example.org"}, {"10.0.0.1"}}) {
        const CertifiedKey forged = Certificates::issueServer(authority, names, {now - kDay, now + kDay});
        EXPECT_FALSE(verifies(forged.certificate, authority.certificate)) << names.back();
    }
}

// An authority of an earlier version, without the constraint, is made anew with its server
// certificate.
TEST_F(FolderCertificatesTest, AnAuthorityWithoutNameConstraintsIsReplaced) {
    std::filesystem::create_directories(folder);
    const CertifiedKey unconstrained = Certificates::makeAuthority("old", {now - kDay, now + 1000 * kDay});
    DurableFiles::writeAtomically(folder / "ca.pem", unconstrained.certificate);
    DurableFiles::writeAtomically(folder / "ca-key.pem", unconstrained.key, true);
    const CertifiedKey oldServer =
        Certificates::issueServer(unconstrained, {"127.0.0.1", "localhost"}, {now - kDay, now + 300 * kDay});
    DurableFiles::writeAtomically(folder / "server.pem", oldServer.certificate);
    DurableFiles::writeAtomically(folder / "server-key.pem", oldServer.key, true);
    EXPECT_FALSE(Certificates::nameConstrained(unconstrained.certificate));

    const CertifiedKey server = FolderCertificates::ensure(folder, now);
    EXPECT_NE(file("ca.pem"), unconstrained.certificate);
    EXPECT_TRUE(Certificates::nameConstrained(file("ca.pem")));
    EXPECT_NE(server.certificate, oldServer.certificate);
    EXPECT_TRUE(verifies(server.certificate, file("ca.pem")));
}

TEST(Certificates, AKeyThatIsNotTheCertificatesIsRefused) {
    const std::time_t now = std::time(nullptr);
    const CertifiedKey authority = Certificates::makeAuthority("a", {now, now + kDay});
    const CertifiedKey server = Certificates::issueServer(authority, {"localhost"}, {now, now + kDay});
    EXPECT_NO_THROW(Certificates::checkPair(server));
    EXPECT_THROW(Certificates::checkPair({server.certificate, authority.key}), CertificateError);
    EXPECT_THROW(Certificates::checkPair({"not a certificate", server.key}), CertificateError);
    EXPECT_THROW(Certificates::issueServer(authority, {}, {now, now + kDay}), CertificateError);
}

} // namespace
