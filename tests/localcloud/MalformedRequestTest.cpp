#include "CloudHttp.h"

#include <Tunewell/BuildValues.h>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using nlohmann::json;
using TunewellTesting::LocalCloud;

namespace {

// Sends raw bytes and answers what came back before the server closed (or a second passed).
std::string sendRaw(int port, const std::string &bytes) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    std::string answer;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        ::shutdown(fd, SHUT_WR);
        timeval patience{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
        char buffer[4096];
        for (ssize_t count; (count = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            answer.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(fd);
    return answer;
}

std::string nested(int depth) {
    return std::string(static_cast<std::size_t>(depth), '[') +
           std::string(static_cast<std::size_t>(depth), ']');
}

class MalformedRequestTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TunewellTesting::LocalCloudOptions options;
        // Malformed requests are sent to nodes of their own, outside the program's tree: rules open.
        options.extraArguments = {"--body-limit", "4096", "--rules", "open"};
        cloud = std::make_unique<LocalCloud>(options);
    }
    static void TearDownTestSuite() { cloud.reset(); }
    void SetUp() override {
        http = std::make_unique<CloudHttp>(*cloud);
        ASSERT_EQ(http->database("PUT", http->node("/"), R"({"keep":"me"})").status, 200);
    }
    void expectStillServing() { EXPECT_EQ(http->database("GET", http->node("/")).body, R"({"keep":"me"})"); }

    static std::unique_ptr<LocalCloud> cloud;
    std::unique_ptr<CloudHttp> http;
};

std::unique_ptr<LocalCloud> MalformedRequestTest::cloud;

TEST_F(MalformedRequestTest, BadBodiesKeysAndPathsAre400AndChangeNothing) {
    struct Case {
        const char *what;
        std::string method;
        std::string path;
        std::string body;
    } cases[] = {
        {"bad JSON", "PUT", "/keep", "{\"a\":"},
        {"trailing garbage", "PUT", "/keep", "1 2"},
        {"empty body", "PUT", "/keep", ""},
        {"invalid UTF-8", "PUT", "/keep", "\"\xff\xfe\""},
        {"key with a dot", "PUT", "/keep", R"({"a.b":1})"},
        {"key with a slash", "PUT", "/keep", R"({"a/b":1})"},
        {"key with $", "PATCH", "/", R"({"$x":1})"},
        {"key with a control character", "PUT", "/keep", "{\"a\\u0001\":1}"},
        {"empty key", "PUT", "/keep", R"({"":1})"},
        {"key over 768 bytes", "PUT", "/keep", "{\"" + std::string(769, 'k') + "\":1}"},
        {"merge of a non-object", "PATCH", "/", "[1]"},
        {"overlapping merge keys", "PATCH", "/", R"({"a":1,"a/b":2})"},
        {"33 levels", "PUT", "/keep", nested(33)},
        {"deep below a path", "PUT", "/keep/a/b/c", nested(31)},
        {"hostile nesting", "PUT", "/keep", nested(2000)},
        {"body over the limit", "PUT", "/keep", "\"" + std::string(5000, 'x') + "\""},
        {"path with a dot", "GET", "/a.b", ""},
        {"path with #", "PUT", "/a%23b", "1"},
        {"broken escape", "PUT", "/a%zz", "1"},
        {"segment over 768 bytes", "PUT", "/" + std::string(769, 's'), "1"},
    };
    for (const auto &c : cases) {
        const auto answer = http->database(c.method, http->node(c.path), c.body);
        EXPECT_EQ(answer.status, 400) << c.what << ": " << answer.body;
        const auto body = json::parse(answer.body, nullptr, false);
        EXPECT_TRUE(body.is_object() && body.contains("error") && body.at("error").is_string())
            << c.what << ": " << answer.body;
        expectStillServing();
    }
    EXPECT_EQ(http->database("PUT", http->node("/" + std::string(768, 's')), "1").status, 200)
        << "768 bytes is allowed";
    // A path near the HTTP library's limit of a request line: its route matching recurses along it.
    std::string longPath;
    for (int segment = 0; segment < 10; ++segment)
        longPath += "/" + std::string(700, 's');
    EXPECT_EQ(http->database("GET", http->node(longPath)).status, 200) << "a 7 KB path";
    EXPECT_EQ(http->database("PUT", http->node("/keep/a/b/c"), nested(29)).status, 200)
        << "32 levels are allowed";
}

TEST_F(MalformedRequestTest, BrokenHttpNeverTakesTheServerDown) {
    const std::string target = http->node("/keep");
    const std::string cases[] = {
        "garbage\r\n\r\n",
        "PUT " + target + " HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\n{\"trunc",
        "PUT " + target + " HTTP/1.1\r\nHost: x\r\nContent-Length: -5\r\n\r\n1",
        "PUT " + target + " HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
        "GET /" + std::string(20000, 'a') + ".json HTTP/1.1\r\nHost: x\r\n\r\n",
        std::string("\0\1\2\3\r\n\r\n", 8),
        "PUT " + target + " HTTP/1.1\r\nHost: x\r\nContent-Length: 99999999999\r\n\r\n",
    };
    for (const auto &bytes : cases) {
        const std::string answer = sendRaw(cloud->databasePort(), bytes);
        if (!answer.empty()) {
            EXPECT_EQ(answer.substr(0, 10), "HTTP/1.1 4") << bytes.substr(0, 60);
        }
        expectStillServing();
    }
    for (const auto &bytes : cases) {
        const std::string answer = sendRaw(cloud->authPort(), bytes);
        if (!answer.empty()) {
            EXPECT_EQ(answer.substr(0, 10), "HTTP/1.1 4") << bytes.substr(0, 60);
        }
    }
    EXPECT_EQ(
        http->identity("verifyPassword", {{"email", "nobody@example.com"}, {"password", "secret1"}}).status,
        400);
}

TEST_F(MalformedRequestTest, BadIdentityBodiesAre400) {
    const std::vector<std::string> bodies = {"{", "[]", "\"text\"", nested(100),
                                             R"({"email":5,"password":"x"})"};
    for (const auto &body : bodies) {
        const auto answer =
            http->raw(cloud->authUrl(), "POST",
                      "/www.googleapis.com/identitytoolkit/v3/relyingparty/verifyPassword?key=" +
                          std::string(Tunewell::BuildValues::kApiKey),
                      body, "application/json");
        EXPECT_EQ(answer.status, 400) << body.substr(0, 40);
        EXPECT_TRUE(json::parse(answer.body).at("error").contains("message")) << body.substr(0, 40);
    }
    EXPECT_EQ(
        http->token("grant_type=refresh_token&refresh_token=%zz", "application/x-www-form-urlencoded").status,
        400);
}

} // namespace
