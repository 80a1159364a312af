#include "CloudHttp.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

using TunewellTesting::LocalCloud;
using namespace std::chrono_literals;

namespace {

// The server is killed with SIGKILL while four clients write as fast as they can; after a
// restart every write that was answered 200 must be there with its value.
TEST(CrashTest, KillDuringABurstLosesNoAcknowledgedWrite) {
    // The writes go to a node of their own, outside the program's tree: rules open.
    LocalCloud cloud({.extraArguments = {"--rules", "open"}});
    std::map<std::string, std::string> acknowledged;
    for (int round = 0; round < 3; ++round) {
        CloudHttp http(cloud);
        std::mutex mutex;
        std::atomic<bool> stop = false;
        std::vector<std::thread> writers;
        for (int w = 0; w < 4; ++w) {
            writers.emplace_back([&, w] {
                for (int i = 0; !stop; ++i) {
                    const std::string key =
                        "r" + std::to_string(round) + "w" + std::to_string(w) + "i" + std::to_string(i);
                    const std::string value =
                        "\"" + std::string(static_cast<std::size_t>(i % 500), 'v') + "\"";
                    const bool patch = i % 2 == 0;
                    const auto answer =
                        patch ? http.database("PATCH", http.node("/burst"), "{\"" + key + "\":" + value + "}")
                              : http.database("PUT", http.node("/burst/" + key), value);
                    if (answer.status == 200) {
                        std::lock_guard lock(mutex);
                        acknowledged[key] = value;
                    } else if (answer.status == 0) {
                        return; // the server is gone
                    }
                }
            });
        }
        std::this_thread::sleep_for(300ms + round * 150ms);
        cloud.kill();
        stop = true;
        for (auto &writer : writers)
            writer.join();
        cloud.start();
        CloudHttp reader(cloud);
        const auto stored = reader.database("GET", reader.node("/burst")).json();
        ASSERT_TRUE(stored.is_object());
        for (const auto &[key, value] : acknowledged) {
            ASSERT_TRUE(stored.contains(key)) << "round " << round << " lost " << key;
            EXPECT_EQ(stored.at(key).dump(), value);
        }
    }
    EXPECT_GT(acknowledged.size(), 20u);
}

} // namespace
