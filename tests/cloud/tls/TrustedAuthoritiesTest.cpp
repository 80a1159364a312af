// Which authorities HTTPS peers are checked against: the system's store, and the added CA files
// beside it, never instead of it.
#include "Cumulo/TrustedAuthorities.h"

#include "Cumulo/Exceptions.h"
#include "Tunewell/BuildValues.h"
#include "Tunewell/Test/TestAuthority.h"
#include "Tunewell/Test/TlsPeer.h"

#include <curl/curl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

using Cumulo::ETransport;
using Cumulo::TTrustedAuthorities;
using Tunewell::Test::TTestAuthority;
using Tunewell::Test::TTlsPeer;

namespace {

// A GET with the authorities applied; answers libcurl's result.
CURLcode Fetch(TTrustedAuthorities &Authorities, const std::string &URL) {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(), curl_easy_cleanup);
    curl_easy_setopt(handle.get(), CURLOPT_URL, URL.c_str());
    curl_easy_setopt(
        handle.get(), CURLOPT_WRITEFUNCTION,
        +[](char *, size_t Size, size_t Count, void *) { return Size * Count; });
    Authorities.ApplyTo(handle.get());
    return curl_easy_perform(handle.get());
}

std::string ReadFile(const std::string &Path) {
    std::ifstream file(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class TrustedAuthorities : public testing::Test {
protected:
    // Stands for the system's store.
    TTestAuthority fSystem{"system"};
    TTestAuthority fAdded{"added"};
    TTestAuthority fStranger{"stranger"};
    std::vector<std::string> fAddedFiles{fAdded.File()};
    TTrustedAuthorities fAuthorities{fSystem.File(), [this] { return fAddedFiles; }};
};

TEST_F(TrustedAuthorities, AnAddedFileIsTrustedBesideTheSystemsStore) {
    struct Case {
        const TTestAuthority &Signer;
        CURLcode Result;
    };
    const Case cases[] = {
        {fSystem, CURLE_OK},
        {fAdded, CURLE_OK},
        {fStranger, CURLE_PEER_FAILED_VERIFICATION},
    };
    for (const Case &c : cases) {
        TTlsPeer peer(c.Signer.Issue({"127.0.0.1"}));
        EXPECT_EQ(Fetch(fAuthorities, peer.URL()), c.Result) << c.Signer.File();
    }
}

TEST_F(TrustedAuthorities, AnAddedFileThatChangesIsReadAgain) {
    TTlsPeer peer(fStranger.Issue({"127.0.0.1"}));
    EXPECT_EQ(Fetch(fAuthorities, peer.URL()), CURLE_PEER_FAILED_VERIFICATION);
    fAddedFiles = {fAdded.File(), fStranger.File()};
    EXPECT_EQ(Fetch(fAuthorities, peer.URL()), CURLE_OK);
    fAddedFiles = {""};
    EXPECT_EQ(fAuthorities.CombinedBundle(), nullptr) << "an empty name adds nothing";
}

TEST_F(TrustedAuthorities, AnAddedFileThatCannotServeStopsTheTransferNamingIt) {
    const std::string notACertificate = fAdded.File().string() + ".txt";
    std::ofstream(notACertificate) << "hello";
    for (const std::string &file : {std::string("/nonexistent/ca.pem"), notACertificate}) {
        fAddedFiles = {file};
        try {
            fAuthorities.CombinedBundle();
            ADD_FAILURE() << file << " was taken";
        } catch (const ETransport &error) {
            EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
        }
    }
    std::remove(notACertificate.c_str());
}

// The program's own, with a data home of the test's own where its local cloud would keep its
// authority.
class SharedTrustedAuthorities : public testing::Test {
protected:
    void SetUp() override {
        fDataHome =
            std::filesystem::temp_directory_path() / ("tunewell-data-home-" + std::to_string(::getpid()));
        std::filesystem::create_directories(fDataHome);
        ::setenv("XDG_DATA_HOME", fDataHome.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("FIREBASE_DATABASE_EMULATOR_HOST");
        std::filesystem::remove_all(fDataHome);
    }
    std::filesystem::path fDataHome;
};

// libcurl's default bundle (the system's store) comes first, whole.
TEST_F(SharedTrustedAuthorities, AddTheVariablesFileToLibcurlsDefaultBundle) {
    const TTestAuthority added("added");
    ::setenv("TUNEWELL_CA_FILE", added.File().c_str(), 1);
    const auto bundle = TTrustedAuthorities::Shared().CombinedBundle();
    ::unsetenv("TUNEWELL_CA_FILE");
    ASSERT_NE(bundle, nullptr);
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(), curl_easy_cleanup);
    char *systemBundle = nullptr;
    curl_easy_getinfo(handle.get(), CURLINFO_CAINFO, &systemBundle);
    ASSERT_NE(systemBundle, nullptr);
    const std::string system = ReadFile(systemBundle);
    EXPECT_FALSE(system.empty()) << systemBundle;
    EXPECT_TRUE(bundle->starts_with(system));
    EXPECT_TRUE(bundle->ends_with(ReadFile(added.File())));
}

// The local cloud's authority is trusted only for that cloud, only while the program addresses
// it, and only once the cloud has made it; never for a station or a playlist.
TEST_F(SharedTrustedAuthorities, AddTheOwnLocalCloudsAuthorityForItAlone) {
    if (!Tunewell::BuildValues::kLocalCloud || *Tunewell::BuildValues::kCaFile != '\0')
        GTEST_SKIP() << "a build for another cloud, or with an authority of its own";
    EXPECT_EQ(TTrustedAuthorities::OwnLocalCloud().CombinedBundle(), nullptr) << "trusted before it exists";
    const TTestAuthority own("own local cloud");
    const auto folder = fDataHome / "tunewell" / "cloud";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(own.File(), folder / "ca.pem");
    const auto bundle = TTrustedAuthorities::OwnLocalCloud().CombinedBundle();
    ASSERT_NE(bundle, nullptr);
    EXPECT_TRUE(bundle->ends_with(ReadFile(own.File())));
    EXPECT_EQ(TTrustedAuthorities::Shared().CombinedBundle(), nullptr) << "trusted for the stations";

    ::setenv("FIREBASE_DATABASE_EMULATOR_HOST", "127.0.0.1:9000", 1);
    EXPECT_EQ(TTrustedAuthorities::OwnLocalCloud().CombinedBundle(), nullptr) << "trusted for another cloud";
}

} // namespace
