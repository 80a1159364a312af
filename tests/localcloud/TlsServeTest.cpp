// tunewell-cloud over HTTPS: with its data folder's own authority, with a certificate of one's
// own, and the demo radio beside the cloud of the same folder.
#include "CloudHttp.h"
#include "DemoRadio.h"
#include "TunewellCloud/Certificates.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using TunewellCloud::CertifiedKey;
using TunewellTesting::DemoRadio;
using TunewellTesting::LocalCloud;
using TunewellTesting::LocalCloudOptions;
using TunewellTesting::ServerProcess;
namespace Certificates = TunewellCloud::Certificates;

namespace {

LocalCloudOptions TlsOptions() {
    LocalCloudOptions options;
    options.tls = true;
    options.extraArguments = {"--rules", "open"};
    return options;
}

class OwnCertificate : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("tunewell-own-certificate-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        const std::time_t now = std::time(nullptr);
        authority = Certificates::makeAuthority("a club's authority", {now - 60, now + 86400});
        const CertifiedKey server =
            Certificates::issueServer(authority, {"localhost"}, {now - 60, now + 86400});
        write("authority.pem", authority.certificate);
        write("server.pem", server.certificate);
        write("server-key.pem", server.key);
        write("other-key.pem", Certificates::makeAuthority("x", {now, now + 60}).key);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void write(const char *name, const std::string &text) const { std::ofstream(folder / name) << text; }
    std::string path(const char *name) const { return (folder / name).string(); }

    std::filesystem::path folder;
    CertifiedKey authority;
};

TEST(TlsServe, BothPortsSpeakHttpsThatTheFoldersAuthorityVouchesFor) {
    LocalCloud cloud(TlsOptions());
    ASSERT_EQ(cloud.databaseUrl().rfind("https://", 0), 0u);
    CloudHttp http(cloud); // signs in on the identity port
    ASSERT_EQ(http.database("PUT", http.node("a"), R"("x")").status, 200);
    EXPECT_EQ(http.database("GET", http.node("a")).body, R"("x")");

    httplib::Client plain("http://" + cloud.databaseEmulatorHost());
    plain.set_read_timeout(5);
    EXPECT_FALSE(plain.Get(http.node("a"))) << "plain HTTP on an HTTPS port is not answered";
    httplib::Client untrusting(cloud.databaseUrl());
    const auto refused = untrusting.Get(http.node("a"));
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.error(), httplib::Error::SSLServerVerification);
}

TEST_F(OwnCertificate, IsServedInsteadOfTheFoldersOwn) {
    LocalCloudOptions options;
    options.extraArguments = {"--cert", path("server.pem"), "--key", path("server-key.pem")};
    LocalCloud cloud(options);
    httplib::Client client("https://localhost:" + std::to_string(cloud.databasePort()));
    client.set_ca_cert_path(path("authority.pem").c_str());
    const auto answer = client.Get("/a.json");
    ASSERT_TRUE(answer) << httplib::to_string(answer.error());
    EXPECT_EQ(answer->status, 401);
    EXPECT_FALSE(std::filesystem::exists(cloud.caFile())) << "no authority of its own is made";
}

TEST_F(OwnCertificate, FilesThatDoNotGoTogetherStopTheStart) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
    };
    const Case cases[] = {
        {{"--cert", path("server.pem")}, 2},
        {{"--key", path("server-key.pem")}, 2},
        {{"--cert", path("server.pem"), "--key", path("other-key.pem")}, 1},
        {{"--cert", path("missing.pem"), "--key", path("server-key.pem")}, 1},
        {{"--cert", path("server-key.pem"), "--key", path("server-key.pem")}, 1},
    };
    for (const Case &c : cases) {
        std::vector<std::string> command = {LocalCloud::serverBinary(),
                                            "serve",
                                            "--data",
                                            path("data"),
                                            "--db-port",
                                            "0",
                                            "--auth-port",
                                            "0"};
        command.insert(command.end(), c.arguments.begin(), c.arguments.end());
        EXPECT_EQ(ServerProcess::run(command, folder / "serve.log"), c.status) << c.arguments.back();
    }
}

TEST(TlsServe, TheDemoRadioStreamsBesideTheCloudOfItsFolder) {
    LocalCloud cloud(TlsOptions());
    DemoRadio::Options options;
    options.tlsDataFolder = cloud.dataFolder();
    DemoRadio radio(options);
    ASSERT_EQ(radio.url().rfind("https://", 0), 0u);
    httplib::Client client("https://127.0.0.1:" + std::to_string(radio.port()));
    client.set_ca_cert_path(cloud.caFile().c_str());
    client.set_read_timeout(10);
    std::string received;
    const auto answer = client.Get("/demo.mp3", [&](const char *data, std::size_t length) {
        received.append(data, length);
        return received.size() < 4096;
    });
    EXPECT_GE(received.size(), 4096u) << httplib::to_string(answer.error());
}

} // namespace
