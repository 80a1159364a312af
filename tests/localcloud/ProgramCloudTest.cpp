// `serve --program-defaults`: the program's own cloud, provisioned at its first start, one per
// folder, ending by itself once idle and no program uses it.
#include "LocalCloud.h"
#include "Tunewell/BuildValues.h"
#include "Tunewell/LocalCloudFolder.h"
#include "TunewellCloud/CatalogueSeeder.h"

#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <httplib.h>
#include <iterator>
#include <netinet/in.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using nlohmann::json;
using TunewellTesting::LocalCloud;
using TunewellTesting::LocalCloudOptions;
using TunewellTesting::ServerProcess;

namespace {

const char *const kStationList = TUNEWELL_SOURCE_DIR "/resources/lista_radios.txt";

LocalCloudOptions ProgramDefaults(std::vector<std::string> more = {}) {
    LocalCloudOptions options;
    // The cloud adds the service account itself.
    options.createServiceAccount = false;
    options.tls = true;
    options.extraArguments = {"--program-defaults"};
    options.extraArguments.insert(options.extraArguments.end(), more.begin(), more.end());
    return options;
}

bool Answers(int port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(socket);
    return connected;
}

// Whether the port stops answering within Patience, looked at every 100 ms. Each look is a
// connection, which an idle cloud counts as activity: only for a cloud that is ending.
bool StopsAnswering(int port, std::chrono::seconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!Answers(port))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

std::string ReadAll(const std::filesystem::path &file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Whether the cloud's log says it is stopping within Patience; the cloud is not touched.
bool SaysStopping(const LocalCloud &cloud, std::chrono::seconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (ReadAll(cloud.logFile()).find("stopping") != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

TEST(ProgramCloud, FirstStartAddsTheServiceAccountTheShippedCatalogueAndTheVersion) {
    LocalCloud cloud(ProgramDefaults());
    EXPECT_TRUE(std::filesystem::exists(cloud.caFile())) << "not served over TLS";
    EXPECT_NO_THROW(
        cloud.signIn(Tunewell::BuildValues::kServiceEmail, Tunewell::BuildValues::kServicePassword));

    const json catalogue = cloud.read("ESTACOES");
    const auto shipped = TunewellCloud::CatalogueSeeder::stations(kStationList);
    ASSERT_EQ(catalogue.size(), shipped.size());
    // In the list's order, under keys that sort as they were added.
    EXPECT_EQ(catalogue.begin().value(), shipped.front());
    EXPECT_EQ(std::prev(catalogue.end()).value(), shipped.back());
    EXPECT_EQ(cloud.read("VERSOES/Software"), Tunewell::BuildValues::kVersion);

    const std::string log = ReadAll(cloud.logFile());
    EXPECT_EQ(log.find(Tunewell::BuildValues::kServicePassword), std::string::npos) << log;
    EXPECT_NE(log.find("stations of"), std::string::npos) << log;
}

TEST(ProgramCloud, LaterStartsKeepWhatTheCloudHolds) {
    LocalCloud cloud(ProgramDefaults());
    const json only = {{"-Only",
                        {{"num", "1"},
                         {"url", "http://127.0.0.1:8000/x"},
                         {"nome", "Only"},
                         {"estilo", "Demo"},
                         {"localizacao", "Local"},
                         {"qualidade", "128"},
                         {"favorito", "2"},
                         {"serie", "1"}}}};
    cloud.seed("ESTACOES", only);
    cloud.seed("VERSOES", json{{"Software", "9.9"}, {"Url", "https://example.org"}});
    cloud.restart();
    EXPECT_EQ(cloud.read("ESTACOES"), only);
    EXPECT_EQ(cloud.read("VERSOES/Software"), "9.9");
    EXPECT_EQ(ReadAll(cloud.logFile()).find("added"), ReadAll(cloud.logFile()).rfind("added"))
        << "provisioned twice";
}

TEST(ProgramCloud, ASecondServerOnTheFolderEndsQuietlyAndTheFirstServesOn) {
    LocalCloud cloud(ProgramDefaults());
    const auto second = cloud.dataFolder().parent_path() / "second.log";
    const std::vector<std::string> serve = {LocalCloud::serverBinary(),
                                            "serve",
                                            "--data",
                                            cloud.dataFolder().string(),
                                            "--db-port",
                                            "0",
                                            "--auth-port",
                                            "0"};
    std::vector<std::string> forProgram = serve;
    forProgram.push_back("--program-defaults");
    EXPECT_EQ(ServerProcess::run(forProgram, second), 0) << ReadAll(second);
    // Anyone else is told the folder is taken.
    EXPECT_EQ(ServerProcess::run(serve, second), 1) << ReadAll(second);
    EXPECT_TRUE(Answers(cloud.databasePort()));
}

TEST(ProgramCloud, EndsWhenIdleOnlyOnceNoProgramHoldsItsUsersFile) {
    LocalCloud cloud(ProgramDefaults({"--idle-exit", "1"}));
    const auto usersFile = cloud.dataFolder() / Tunewell::kLocalCloudUsersFile;
    const int users = ::open(usersFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(users, 0);
    ASSERT_EQ(::flock(users, LOCK_SH), 0);
    EXPECT_FALSE(SaysStopping(cloud, std::chrono::seconds(3))) << "ended while in use";
    ::close(users);
    ASSERT_TRUE(SaysStopping(cloud, std::chrono::seconds(10))) << "never ended";
    EXPECT_TRUE(StopsAnswering(cloud.databasePort(), std::chrono::seconds(10)));
}

TEST(ProgramCloud, AnOpenConnectionKeepsItServing) {
    LocalCloud cloud(ProgramDefaults({"--idle-exit", "1", "--keep-alive", "1"}));
    // An event stream is one long connection; its keep-alives arrive every second.
    const std::string token = cloud.serviceToken();
    httplib::Client client(cloud.databaseUrl());
    client.set_ca_cert_path(cloud.caFile().c_str());
    client.set_read_timeout(3);
    int events = 0;
    client.Get("/VERSOES.json?auth=" + token, {{"Accept", "text/event-stream"}},
               [&events](const char *, std::size_t) { return ++events < 4; });
    EXPECT_GE(events, 4) << "the stream ended while open";
    EXPECT_TRUE(SaysStopping(cloud, std::chrono::seconds(10))) << "never ended";
}

} // namespace
