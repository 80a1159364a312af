#include "CloudHttp.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

using nlohmann::json;
using TunewellTesting::LocalCloud;
using namespace std::chrono_literals;

namespace {

struct Event {
    std::string name;
    json data;
    bool operator==(const Event &) const = default;
};

void PrintTo(const Event &event, std::ostream *out) {
    *out << event.name << " " << event.data.dump();
}

// Reads one event stream on a thread of its own and cuts it into events.
class StreamReader {
public:
    StreamReader(const std::string &baseUrl, const std::string &target) : client_(baseUrl) {
        client_.set_read_timeout(60);
        thread_ = std::thread([this, target] {
            const auto result = client_.Get(target, {{"Accept", "text/event-stream"}},
                                            [this](const char *data, std::size_t length) {
                                                std::lock_guard lock(mutex_);
                                                buffer_.append(data, length);
                                                cut();
                                                changed_.notify_all();
                                                return true;
                                            });
            std::lock_guard lock(mutex_);
            ended_ = true;
            if (result)
                status_ = result->status;
            changed_.notify_all();
        });
    }
    ~StreamReader() {
        client_.stop();
        thread_.join();
    }

    // Waits until count events (keep-alives included) have come, or the stream ended.
    std::vector<Event> waitFor(std::size_t count, std::chrono::milliseconds patience = 10s) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, patience, [&] { return events_.size() >= count || ended_; });
        return events_;
    }
    bool waitForEnd(std::chrono::milliseconds patience) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, patience, [&] { return ended_; });
    }
    std::string rest() {
        std::lock_guard lock(mutex_);
        return buffer_;
    }

private:
    void cut() {
        for (auto end = buffer_.find("\n\n"); end != std::string::npos; end = buffer_.find("\n\n")) {
            const std::string block = buffer_.substr(0, end);
            buffer_.erase(0, end + 2);
            const auto newline = block.find('\n');
            Event event{block.substr(7, newline - 7), json::parse(block.substr(newline + 7), nullptr, false)};
            if (block.rfind("event: ", 0) != 0 || block.compare(newline + 1, 6, "data: ") != 0)
                event.name = "MALFORMED " + block;
            events_.push_back(event);
        }
    }

    httplib::Client client_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string buffer_;
    std::vector<Event> events_;
    bool ended_ = false;
    int status_ = 0;
};

class EventStreamTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        LocalCloudOptions options;
        options.keepAliveSeconds = 1;
        // Streams are tested on nodes of their own, outside the program's tree: rules open.
        options.extraArguments = {"--rules", "open"};
        cloud = std::make_unique<LocalCloud>(options);
    }
    static void TearDownTestSuite() { cloud.reset(); }
    void SetUp() override {
        http = std::make_unique<CloudHttp>(*cloud);
        ASSERT_EQ(http->database("PUT", http->node("/"), R"({"node":{"a":1}})").status, 200);
    }
    std::vector<Event> withoutKeepAlives(std::vector<Event> events) {
        std::erase_if(events, [](const Event &event) { return event.name == "keep-alive"; });
        return events;
    }

    using LocalCloudOptions = TunewellTesting::LocalCloudOptions;
    static std::unique_ptr<LocalCloud> cloud;
    std::unique_ptr<CloudHttp> http;
};

std::unique_ptr<LocalCloud> EventStreamTest::cloud;

TEST_F(EventStreamTest, ReportsChangesAtAndBelowTheNodeWithRelativePaths) {
    StreamReader reader(cloud->databaseUrl(), http->node("/node"));
    ASSERT_EQ(reader.waitFor(1).size(), 1u);
    ASSERT_EQ(http->database("PUT", http->node("/node/b"), R"({"c":2})").status, 200);
    ASSERT_EQ(http->database("PATCH", http->node("/node"), R"({"a":null,"d/e":3})").status, 200);
    const auto pushed =
        http->database("POST", http->node("/node/list"), R"("x")").json().at("name").get<std::string>();
    ASSERT_EQ(http->database("PUT", http->node("/elsewhere"), "1").status, 200);
    ASSERT_EQ(http->database("DELETE", http->node("/node/b")).status, 200);
    ASSERT_EQ(http->database("PATCH", http->node("/"), R"({"node/f":4,"other":5})").status, 200);
    ASSERT_EQ(http->database("DELETE", http->node("/")).status, 200);

    const std::vector<Event> expected = {
        {"put", {{"path", "/"}, {"data", {{"a", 1}}}}},
        {"put", {{"path", "/b"}, {"data", {{"c", 2}}}}},
        {"patch", {{"path", "/"}, {"data", {{"a", nullptr}, {"d/e", 3}}}}},
        {"put", {{"path", "/list/" + pushed}, {"data", "x"}}},
        {"put", {{"path", "/b"}, {"data", nullptr}}},
        {"put", {{"path", "/f"}, {"data", 4}}},
        {"put", {{"path", "/"}, {"data", nullptr}}},
    };
    EXPECT_EQ(withoutKeepAlives(reader.waitFor(expected.size() + 3)), expected);
}

TEST_F(EventStreamTest, ManyListenersSeeTheSameChangesAndKeepAlivesCome) {
    std::vector<std::unique_ptr<StreamReader>> readers;
    for (int i = 0; i < 20; ++i) {
        readers.push_back(std::make_unique<StreamReader>(cloud->databaseUrl(), http->node("/node")));
        ASSERT_GE(readers.back()->waitFor(1).size(), 1u);
    }
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(http->database("PUT", http->node("/node/a"), std::to_string(i)).status, 200);
    for (auto &reader : readers) {
        const auto events = withoutKeepAlives(reader->waitFor(6));
        ASSERT_EQ(events.size(), 6u);
        EXPECT_EQ(events.back(), (Event{"put", {{"path", "/a"}, {"data", 4}}}));
    }
    // Keep-alives come every second here, with data null.
    const auto before = readers.front()->waitFor(0).size();
    const auto events = readers.front()->waitFor(before + 2, 5s);
    ASSERT_GE(events.size(), before + 2);
    EXPECT_EQ(events.back(), (Event{"keep-alive", nullptr}));
}

TEST_F(EventStreamTest, StreamRefusedWithoutAToken) {
    StreamReader reader(cloud->databaseUrl(), "/node.json");
    ASSERT_TRUE(reader.waitForEnd(5s));
    EXPECT_EQ(reader.rest(), R"({"error":"Permission denied"})");
}

TEST(EventStreamExpiryTest, ExpiredTokenRevokesTheStreamAndIsRefused) {
    TunewellTesting::LocalCloudOptions options;
    options.tokenLifetimeSeconds = 2;
    options.keepAliveSeconds = 30;
    options.extraArguments = {"--rules", "open"};
    LocalCloud cloud(options);
    CloudHttp http(cloud);
    StreamReader reader(cloud.databaseUrl(), http.node("/x"));
    ASSERT_TRUE(reader.waitForEnd(6s));
    const auto events = reader.waitFor(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (Event{"put", {{"path", "/"}, {"data", nullptr}}}));
    EXPECT_EQ(events[1].name, "auth_revoked");
    const auto refused = http.database("GET", http.node("/x"));
    EXPECT_EQ(refused.status, 401);
    EXPECT_EQ(refused.body, R"({"error":"Auth token is expired"})");
}

// The rules are asked again at each change: a stream they no longer let its caller read gets
// "cancel" instead of the change, as from the service, and ends; whatever changed, the node
// followed or another one the rule reads.
TEST(EventStreamRulesTest, AWriteThatRevokesTheReadCancelsTheStream) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("tunewell-stream-rules-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto rules = folder / "stream.rules.json";
    std::ofstream(rules) << R"({"rules": {"doc": {
        ".read": "auth != null && data.child('open').val() == true && root.child('gate').val() == 'up'"}}})";
    TunewellTesting::LocalCloudOptions options;
    options.extraArguments = {"--rules", rules.string()};
    LocalCloud cloud(options);
    CloudHttp http(cloud);
    const struct {
        const char *what;
        const char *path;
        json value;
    } revocations[] = {
        {"the node followed", "doc/open", false},
        {"a node elsewhere", "gate", "down"},
    };
    for (const auto &revocation : revocations) {
        SCOPED_TRACE(revocation.what);
        cloud.seed("", {{"doc", {{"open", true}, {"n", 1}}}, {"gate", "up"}});
        StreamReader reader(cloud.databaseUrl(), http.node("/doc"));
        ASSERT_EQ(reader.waitFor(1).size(), 1u);
        cloud.seed("doc/n", 2);
        cloud.seed(revocation.path, revocation.value);
        cloud.seed("doc/n", 3);
        ASSERT_TRUE(reader.waitForEnd(5s)) << "the stream stayed open";
        const std::vector<Event> expected = {
            {"put", {{"path", "/"}, {"data", {{"open", true}, {"n", 1}}}}},
            {"put", {{"path", "/n"}, {"data", 2}}},
            {"cancel", "Permission denied"},
        };
        EXPECT_EQ(reader.waitFor(expected.size() + 1), expected);
        EXPECT_EQ(reader.rest(), "");
        EXPECT_EQ(http.database("GET", http.node("/doc")).status, 401);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
