// What a caller without the owner's access, a hostile body, a crowd of slow connections or a
// signal right after the start can do to the cloud: nothing beyond an answer.
#include "CloudHttp.h"

#include <Tunewell/BuildValues.h>
#include <arpa/inet.h>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

using nlohmann::json;
using TunewellTesting::LocalCloud;
using TunewellTesting::LocalCloudOptions;

namespace {

const std::string kIdentityPath = "/www.googleapis.com/identitytoolkit/v3/relyingparty/";

std::string readAll(const std::filesystem::path &file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A sanitized cloud's peak says nothing of what it took in (AddressSanitizer keeps freed memory in
// quarantine, ThreadSanitizer adds its shadow); the plain build checks it.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kPeakTellsWhatWasTakenIn = false;
#else
constexpr bool kPeakTellsWhatWasTakenIn = true;
#endif

// The cloud's peak resident memory since the last reset, in MiB.
long peakMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6)) / 1024;
    return -1;
}

void resetPeak(pid_t pid) {
    std::ofstream("/proc/" + std::to_string(pid) + "/clear_refs") << "5";
}

class Connection {
public:
    explicit Connection(int port) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        timeval patience{2, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    ~Connection() { ::close(fd_); }
    bool connected() const { return connected_; }
    bool send(const std::string &bytes) {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
    }
    // What came back until the server closed, or two seconds passed.
    std::string answer() {
        std::string text;
        char buffer[4096];
        for (ssize_t count; (count = ::recv(fd_, buffer, sizeof buffer, 0)) > 0;)
            text.append(buffer, static_cast<std::size_t>(count));
        return text;
    }

private:
    int fd_;
    bool connected_ = false;
};

std::string gzipOf(const std::string &text) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
    std::string compressed(deflateBound(&stream, static_cast<uLong>(text.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef *>(compressed.data());
    stream.avail_out = static_cast<uInt>(compressed.size());
    deflate(&stream, Z_FINISH);
    compressed.resize(stream.total_out);
    deflateEnd(&stream);
    return compressed;
}

TEST(OwnerAccess, WithoutItTheOwnersHeaderIsAnInvalidCredentialAndTheCodesAreNotListed) {
    LocalCloudOptions options;
    options.ownerAccess = false;
    LocalCloud cloud(options);
    CloudHttp http(cloud);
    httplib::Client database(cloud.databaseUrl());
    httplib::Client identity(cloud.authUrl());
    const httplib::Headers owner = {{"Authorization", "Bearer owner"}};

    const auto read = database.Get("/CADASTRADO.json", owner);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->status, 401);
    EXPECT_EQ(json::parse(read->body), (json{{"error", "Could not parse auth token."}}));
    const auto write =
        database.Put("/CADASTRADO/-Intruder.json", owner, R"({"CAD_NOME":"x"})", "application/json");
    ASSERT_TRUE(write);
    EXPECT_EQ(write->status, 401);
    EXPECT_EQ(http.database("GET", http.node("/CADASTRADO/-Intruder")).body, "null");

    // Naming the service account by localId sets nothing.
    const auto signedIn =
        identity.Post(kIdentityPath + "verifyPassword?key=" + Tunewell::BuildValues::kApiKey,
                      json{{"email", Tunewell::BuildValues::kServiceEmail},
                           {"password", Tunewell::BuildValues::kServicePassword}}
                          .dump(),
                      "application/json");
    ASSERT_TRUE(signedIn && signedIn->status == 200);
    const auto localId = json::parse(signedIn->body).at("localId");
    const auto changed =
        identity.Post(kIdentityPath + "setAccountInfo?key=" + Tunewell::BuildValues::kApiKey, owner,
                      json{{"localId", localId}, {"password", "taken-over"}}.dump(), "application/json");
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->status, 400);
    EXPECT_EQ(json::parse(changed->body).at("error").at("message"), "INVALID_ID_TOKEN");
    EXPECT_NO_THROW(cloud.serviceToken());

    // A reset code asked for is neither listed nor logged.
    const auto asked = identity.Post(
        kIdentityPath + "getOobConfirmationCode?key=" + Tunewell::BuildValues::kApiKey,
        json{{"requestType", "PASSWORD_RESET"}, {"email", Tunewell::BuildValues::kServiceEmail}}.dump(),
        "application/json");
    ASSERT_TRUE(asked && asked->status == 200);
    for (const auto &headers : {httplib::Headers{}, owner}) {
        const auto listed = identity.Get(
            std::string("/emulator/v1/projects/") + Tunewell::BuildValues::kProjectId + "/oobCodes", headers);
        ASSERT_TRUE(listed);
        EXPECT_EQ(listed->status, 404);
        EXPECT_EQ(listed->body.find("oobCode"), std::string::npos);
    }
    EXPECT_EQ(
        readAll(cloud.logFile()).find("code for " + std::string(Tunewell::BuildValues::kServiceEmail) + ":"),
        std::string::npos);
}

TEST(OwnerAccess, TheProgramsOwnCloudRefusesIt) {
    const auto log = std::filesystem::temp_directory_path() / "owner-access-refused.log";
    EXPECT_EQ(TunewellTesting::ServerProcess::run(
                  {LocalCloud::serverBinary(), "serve", "--program-defaults", "--owner-access", "--data",
                   (std::filesystem::temp_directory_path() / "owner-access-never").string()},
                  log),
              2);
    EXPECT_NE(readAll(log).find("--owner-access"), std::string::npos);
    std::filesystem::remove(log);
}

class BodyLimitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        LocalCloudOptions options;
        options.extraArguments = {"--rules", "open", "--body-limit", std::to_string(kLimit)};
        cloud = std::make_unique<LocalCloud>(options);
    }
    static void TearDownTestSuite() { cloud.reset(); }

    static constexpr std::size_t kLimit = 1u << 20;
    static std::unique_ptr<LocalCloud> cloud;
};

std::unique_ptr<LocalCloud> BodyLimitTest::cloud;

// 64 MiB sent to a cloud whose limit is 1 MiB: by chunks, gzip-compressed, or on a GET. Each is
// refused, the cloud's memory stays far below the body, nothing is stored, and it serves on.
TEST_F(BodyLimitTest, BodiesOverTheLimitAreRefusedWithoutBeingTakenIn) {
    constexpr std::size_t kSent = 64u << 20;
    const std::string chunk = "10000\r\n" + std::string(0x10000, ' ') + "\r\n";
    const std::string bomb = gzipOf("[" + std::string(kSent, ' ') + "]");
    CloudHttp http(*cloud);
    const std::string target = http.node("/bodies");
    struct Case {
        const char *name;
        std::string head;
        // Sent after the head, as many times as the connection takes, up to kSent bytes.
        std::string piece;
    };
    const std::vector<Case> cases = {
        {"chunked", "PUT " + target + " HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n", chunk},
        {"gzip",
         "PUT " + target + " HTTP/1.1\r\nHost: x\r\nContent-Encoding: gzip\r\nContent-Length: " +
             std::to_string(bomb.size()) + "\r\n\r\n" + bomb,
         ""},
        {"chunked GET", "GET " + target + " HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n",
         chunk},
    };
    for (const auto &each : cases) {
        resetPeak(cloud->pid());
        Connection connection(cloud->databasePort());
        ASSERT_TRUE(connection.connected());
        connection.send(each.head);
        for (std::size_t sent = 0; !each.piece.empty() && sent < kSent && connection.send(each.piece);)
            sent += each.piece.size();
        const std::string answer = connection.answer();
        // The refusal may be lost in the reset of a connection whose body is left unread.
        if (!answer.empty()) {
            EXPECT_TRUE(answer.starts_with("HTTP/1.1 400") || answer.starts_with("HTTP/1.1 413"))
                << each.name << ": " << answer.substr(0, 200);
        }
        if (kPeakTellsWhatWasTakenIn) {
            EXPECT_LT(peakMiB(cloud->pid()), 48) << each.name;
        }
        EXPECT_EQ(http.database("GET", target).body, "null") << each.name;
    }
    // A body within the limit, compressed or not, is taken.
    const std::string value = "\"" + std::string(kLimit / 2, 'v') + "\"";
    httplib::Client client(cloud->databaseUrl());
    const auto compressed =
        client.Put(target, {{"Content-Encoding", "gzip"}}, gzipOf(value), "application/json");
    ASSERT_TRUE(compressed);
    EXPECT_EQ(compressed->status, 200) << compressed->body.substr(0, 200);
    EXPECT_EQ(http.database("GET", target).body, value);
}

TEST(SlowConnections, DoNotStopTheProgramsRequests) {
    LocalCloud cloud;
    std::vector<std::unique_ptr<Connection>> slow;
    for (int port : {cloud.databasePort(), cloud.authPort()})
        for (int i = 0; i < 200; ++i) {
            slow.push_back(std::make_unique<Connection>(port));
            ASSERT_TRUE(slow.back()->connected());
            slow.back()->send("G");
        }
    const auto start = std::chrono::steady_clock::now();
    CloudHttp http(cloud);
    EXPECT_EQ(http.database("GET", http.node("/ESTACOES")).status, 200);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST(Signals, ASigtermRightAfterReadyEndsTheCloud) {
    LocalCloud cloud;
    for (int round = 0; round < 8; ++round) {
        ASSERT_EQ(cloud.stop(), 0) << "round " << round << ": only SIGKILL ended it";
        cloud.start();
    }
}

} // namespace
