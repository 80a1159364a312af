#include "TunewellCloud/DurableLog.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using TunewellCloud::DurableLog;
using TunewellCloud::Json;

namespace {

class DurableLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("tunewell-log-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // Loads the folder and answers the snapshot text and the replayed "n" values.
    std::pair<std::string, std::vector<int>> load(DurableLog &log) {
        std::string snapshot;
        std::vector<int> replayed;
        log.load([&](const std::string &text) { snapshot = text; },
                 [&](const Json &record) { replayed.push_back(record.at("n").get<int>()); });
        return {snapshot, replayed};
    }
    void write(std::initializer_list<int> values, DurableLog::Figures figures = {}) {
        DurableLog log(folder, figures);
        load(log);
        for (const int n : values)
            log.waitDurable(log.append(Json{{"n", n}}));
    }

    std::filesystem::path folder;
};

TEST_F(DurableLogTest, DamagedTailsAreCutAndWritingGoesOn) {
    const auto journal = [&] { return folder / "journal.log"; };
    struct Case {
        const char *what;
        std::function<void()> damage;
        std::vector<int> kept;
    } cases[] = {
        {"torn last record",
         [&] { std::filesystem::resize_file(journal(), std::filesystem::file_size(journal()) - 3); },
         {1, 2}},
        {"torn header",
         [&] { std::ofstream(journal(), std::ios::app | std::ios::binary) << "\x05\x00"; },
         {1, 2, 3}},
        {"zeros after a power cut",
         [&] { std::ofstream(journal(), std::ios::app | std::ios::binary) << std::string(64, '\0'); },
         {1, 2, 3}},
        {"flipped byte in the last record",
         [&] {
             std::fstream file(journal(), std::ios::in | std::ios::out | std::ios::binary);
             file.seekp(-2, std::ios::end);
             file.put('#');
         },
         {1, 2}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(folder);
        write({1, 2, 3});
        c.damage();
        {
            DurableLog log(folder, {});
            EXPECT_EQ(load(log).second, c.kept);
            log.waitDurable(log.append(Json{{"n", 9}}));
        }
        DurableLog again(folder, {});
        auto expected = c.kept;
        expected.push_back(9);
        EXPECT_EQ(load(again).second, expected);
    }
}

TEST_F(DurableLogTest, CompactionKeepsOnlyNewerRecordsForReplay) {
    {
        DurableLog log(folder, {});
        load(log);
        log.waitDurable(log.append(Json{{"n", 1}}));
        log.compact("STATE-1");
        EXPECT_EQ(log.journalBytes(), 0u);
        log.waitDurable(log.append(Json{{"n", 2}}));
    }
    DurableLog log(folder, {});
    const auto [snapshot, replayed] = load(log);
    EXPECT_EQ(snapshot, "STATE-1");
    EXPECT_EQ(replayed, std::vector<int>{2});
}

} // namespace
