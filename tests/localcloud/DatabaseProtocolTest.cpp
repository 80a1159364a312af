#include "CloudHttp.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <thread>

using nlohmann::json;
using TunewellTesting::LocalCloud;

namespace {

class DatabaseProtocolTest : public ::testing::Test {
protected:
    // The wire protocol is tested on nodes of its own, outside the program's tree: rules open.
    static void SetUpTestSuite() {
        cloud = std::make_unique<LocalCloud>(
            TunewellTesting::LocalCloudOptions{.extraArguments = {"--rules", "open"}});
    }
    static void TearDownTestSuite() { cloud.reset(); }
    void SetUp() override {
        http = std::make_unique<CloudHttp>(*cloud);
        ASSERT_EQ(http->database("PUT", http->node("/"), "null").status, 200);
    }

    static std::unique_ptr<LocalCloud> cloud;
    std::unique_ptr<CloudHttp> http;
};

std::unique_ptr<LocalCloud> DatabaseProtocolTest::cloud;

struct Step {
    const char *method;
    const char *path;
    const char *body;
    int status;
    const char *answer; // exact text; nullptr: not checked
};

TEST_F(DatabaseProtocolTest, AnswersEachMethodAsTheServiceDoes) {
    const Step steps[] = {
        {"GET", "/missing/node", "", 200, "null"},
        {"PUT", "/a", R"({"x":1,"s":"t"})", 200, R"({"s":"t","x":1})"},
        {"GET", "/a", "", 200, R"({"s":"t","x":1})"},
        {"GET", "/a/x", "", 200, "1"},
        {"PATCH", "/a", R"({"y/z":2,"x":null})", 200, R"({"x":null,"y/z":2})"},
        {"GET", "/a", "", 200, R"({"s":"t","y":{"z":2}})"},
        {"DELETE", "/a/s", "", 200, "null"},
        {"DELETE", "/a/never", "", 200, "null"},
        {"GET", "/a", "", 200, R"({"y":{"z":2}})"},
        // Writing {} or null removes the node, and parents left empty go with it.
        {"PUT", "/a/y/z", "{}", 200, "null"},
        {"GET", "/", "", 200, "null"},
        {"PUT", "/p/q/r", "\"deep\"", 200, "\"deep\""},
        {"PUT", "/p/q/r", "null", 200, "null"},
        {"GET", "/p", "", 200, "null"},
        // The program writes \u escapes and "\/".
        {"PUT", "/e", R"({"t":"caf\u00e9 a\/b"})", 200, R"({"t":"café a/b"})"},
        {"GET", "/e/t", "", 200, R"("café a/b")"},
        // Arrays are kept as children keyed by index and answered as arrays again.
        {"PUT", "/l", "[1,null,3]", 200, "[1,null,3]"},
        {"GET", "/l/2", "", 200, "3"},
        // Writing below a leaf replaces it by a parent.
        {"PUT", "/e/t/u", "1", 200, "1"},
        {"GET", "/e", "", 200, R"({"t":{"u":1}})"},
        {"PATCH", "/e", R"({})", 200, "{}"},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(std::string(step.method) + " " + step.path + " " + step.body);
        const auto answer = http->database(step.method, http->node(step.path), step.body);
        EXPECT_EQ(answer.status, step.status);
        if (step.answer) {
            EXPECT_EQ(answer.body, step.answer);
        }
    }
}

TEST_F(DatabaseProtocolTest, QueryParametersAndPathForms) {
    const auto silent = http->database("PUT", http->node("/s", "&print=silent"), "1");
    EXPECT_EQ(silent.status, 204);
    EXPECT_EQ(silent.body, "");
    EXPECT_EQ(http->database("GET", http->node("/s", "&ns=tunewell-local")).body, "1");
    const auto unknown = http->database("GET", http->node("/s", "&orderBy=%22x%22"));
    EXPECT_EQ(unknown.status, 400);
    EXPECT_NE(unknown.json().at("error").get<std::string>().find("orderBy"), std::string::npos);
    // The root, a blank written as "+" and an escaped segment.
    EXPECT_EQ(http->database("PUT", http->node("/a+b/c%20d"), "2").status, 200);
    EXPECT_EQ(http->database("GET", http->node("")).body, R"({"a b":{"c d":2},"s":1})");
}

TEST_F(DatabaseProtocolTest, BodiesAreTakenWhateverTheirContentType) {
    // The service reads every body as JSON; a tool that labels a large one as a form (as a
    // command-line client does by default) must not be refused for its size.
    const std::string large = "\"" + std::string(100000, 'x') + "\"";
    for (const char *type : {"application/x-www-form-urlencoded", "text/plain", ""}) {
        const auto answer = http->raw(cloud->databaseUrl(), "PUT", http->node("/large"), large, type);
        EXPECT_EQ(answer.status, 200) << type << ": " << answer.body.substr(0, 200);
        EXPECT_EQ(http->database("GET", http->node("/large")).body, large) << type;
        ASSERT_EQ(http->database("DELETE", http->node("/large")).status, 200);
    }
}

TEST_F(DatabaseProtocolTest, ChildrenComeInKeyOrder) {
    ASSERT_EQ(http->database("PUT", http->node("/k"),
                             R"({"b":1,"a":1,"10":1,"9":1,"-1":1,"2147483648":1,"07":1,"B":1})")
                  .status,
              200);
    EXPECT_EQ(http->database("GET", http->node("/k")).body,
              R"({"-1":1,"9":1,"10":1,"07":1,"2147483648":1,"B":1,"a":1,"b":1})");
}

TEST_F(DatabaseProtocolTest, PushKeysAreUniqueAndIncreasingUnderConcurrency) {
    constexpr int kThreads = 8;
    constexpr int kEach = 40;
    std::mutex mutex;
    std::vector<std::string> all;
    bool eachThreadIncreasing = true;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            std::vector<std::string> mine;
            for (int i = 0; i < kEach; ++i) {
                const auto answer = http->database("POST", http->node("/pushed"), std::to_string(t));
                if (answer.status == 200)
                    mine.push_back(answer.json().at("name").get<std::string>());
            }
            std::lock_guard lock(mutex);
            eachThreadIncreasing = eachThreadIncreasing && std::is_sorted(mine.begin(), mine.end()) &&
                                   std::adjacent_find(mine.begin(), mine.end()) == mine.end();
            all.insert(all.end(), mine.begin(), mine.end());
        });
    }
    for (auto &thread : threads)
        thread.join();
    ASSERT_EQ(all.size(), static_cast<std::size_t>(kThreads * kEach));
    EXPECT_TRUE(eachThreadIncreasing);
    EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), all.size());
    const std::string alphabet = "-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
    for (const auto &key : all) {
        EXPECT_EQ(key.size(), 20u);
        EXPECT_EQ(key.find_first_not_of(alphabet), std::string::npos) << key;
    }
    // Answered in key order, which is the order of creation.
    const auto stored = http->database("GET", http->node("/pushed")).json();
    std::vector<std::string> keys;
    for (const auto &[key, value] : stored.items())
        keys.push_back(key);
    std::sort(all.begin(), all.end());
    EXPECT_EQ(keys, all);
}

TEST_F(DatabaseProtocolTest, ServerValuesAreFilledIn) {
    using namespace std::chrono;
    const auto before = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    const auto stamped = http->database("PUT", http->node("/t"), R"({"at":{".sv":"timestamp"}})").json();
    const auto after = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    ASSERT_TRUE(stamped.at("at").is_number_integer());
    EXPECT_GE(stamped.at("at").get<long long>(), before);
    EXPECT_LE(stamped.at("at").get<long long>(), after);
    EXPECT_EQ(http->database("GET", http->node("/t/at")).body,
              std::to_string(stamped.at("at").get<long long>()));

    EXPECT_EQ(http->database("PUT", http->node("/n"), R"({".sv":{"increment":5}})").body, "5");
    EXPECT_EQ(http->database("PATCH", http->node("/"), R"({"n":{".sv":{"increment":-2}}})").body,
              R"({"n":3})");
    EXPECT_EQ(http->database("GET", http->node("/n")).body, "3");
    EXPECT_EQ(http->database("PUT", http->node("/t"), R"({".sv":"timestamp"})").status, 200);

    for (const char *unknown :
         {R"({".sv":"nonsense"})", R"({".sv":{"increment":"x"}})", R"({".sv":"timestamp","b":1})"}) {
        const auto refused = http->database("PUT", http->node("/u"), unknown);
        EXPECT_EQ(refused.status, 400) << unknown;
        EXPECT_TRUE(refused.json().contains("error"));
    }
    EXPECT_EQ(http->database("GET", http->node("/u")).body, "null");
}

TEST_F(DatabaseProtocolTest, RulesRefuseRequestsWithoutAValidToken) {
    struct Case {
        std::string query;
        const char *error;
    } cases[] = {
        {"", "Permission denied"},
        {"?auth=", "Permission denied"},
        {"?auth=not.a.token", "Could not parse auth token."},
        {"?auth=" + http->token() + "x", "Could not parse auth token."},
    };
    for (const auto &c : cases) {
        for (const char *method : {"GET", "PUT"}) {
            const auto answer = http->database(method, "/r.json" + c.query, "1");
            EXPECT_EQ(answer.status, 401) << method << c.query;
            EXPECT_EQ(answer.json(), json({{"error", c.error}})) << method << c.query;
        }
    }
    EXPECT_EQ(http->database("GET", http->node("/r")).body, "null");
}

TEST_F(DatabaseProtocolTest, AcknowledgedWritesSurviveRestartAndKill) {
    ASSERT_EQ(http->database("PUT", http->node("/kept"), R"({"a":"1"})").status, 200);
    ASSERT_EQ(http->database("PATCH", http->node("/kept"), R"({"b":"2"})").status, 200);
    cloud->restart();
    http = std::make_unique<CloudHttp>(*cloud);
    EXPECT_EQ(http->database("GET", http->node("/kept")).body, R"({"a":"1","b":"2"})");
    ASSERT_EQ(http->database("POST", http->node("/kept"), R"("3")").status, 200);
    cloud->kill();
    cloud->start();
    http = std::make_unique<CloudHttp>(*cloud);
    EXPECT_EQ(http->database("GET", http->node("/kept")).json().size(), 3u);
}

} // namespace
