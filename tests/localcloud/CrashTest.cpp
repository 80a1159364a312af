#include "CloudHttp.h"

#include <algorithm>
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
        // A slow build (a sanitizer's) may answer nothing in a fixed time: the kill waits until
        // this round has had writes acknowledged, so every round checks something.
        const auto enough = [&] {
            std::lock_guard lock(mutex);
            return std::count_if(acknowledged.begin(), acknowledged.end(), [&](const auto &entry) {
                       return entry.first.starts_with("r" + std::to_string(round) + "w");
                   }) >= 8;
        };
        const auto giveUp = std::chrono::steady_clock::now() + 30s;
        while (!enough() && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(20ms);
        std::this_thread::sleep_for(round * 150ms);
        cloud.kill();
        stop = true;
        for (auto &writer : writers)
            writer.join();
        cloud.start();
        CloudHttp reader(cloud);
        const auto answer = reader.database("GET", reader.node("/burst"));
        const auto stored = answer.json();
        ASSERT_TRUE(stored.is_object()) << "round " << round << ": " << answer.status << " " << stored.dump();
        for (const auto &[key, value] : acknowledged) {
            ASSERT_TRUE(stored.contains(key)) << "round " << round << " lost " << key;
            EXPECT_EQ(stored.at(key).dump(), value);
        }
    }
    EXPECT_GT(acknowledged.size(), 20u);
}

} // namespace
