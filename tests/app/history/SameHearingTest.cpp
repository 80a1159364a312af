#include "app/history/SameHearing.h"

#include "app/history/HistoryEntry.h"

#include <gtest/gtest.h>

using namespace Tunewell;

TEST(SameHearing, TheSameTitleFromTheSameStationWithinTheWindowIsOneHearing) {
    const HistoryEntry newest{"Nara - Sol", "Alpha", "10", "http://a/stream", 1'000'000};
    struct Case {
        const char *Name;
        const char *Title;
        const char *Url;
        std::int64_t SecondsLater;
        bool Same;
    } cases[] = {
        {"the station sends its title again", "Nara - Sol", "http://a/stream", 0, true},
        {"a reconnect a minute later", "Nara - Sol", "http://a/stream", 60, true},
        {"back to the station within the window", "Nara - Sol", "http://a/stream", 29 * 60 + 59, true},
        {"the window's end is a new hearing", "Nara - Sol", "http://a/stream", 30 * 60, false},
        {"a clock set back a little", "Nara - Sol", "http://a/stream", -120, true},
        {"a clock set back past the window", "Nara - Sol", "http://a/stream", -31 * 60, false},
        {"another title", "Nara - Lua", "http://a/stream", 60, false},
        {"the title differs in case only", "NARA - SOL", "http://a/stream", 60, false},
        {"the same title from another station", "Nara - Sol", "http://b/stream", 60, false},
    };
    for (const auto &c : cases) {
        const HistoryEntry offered{c.Title, "Alpha", "10", c.Url, newest.StartedAt + c.SecondsLater};
        EXPECT_EQ(IsSameHearing(newest, offered), c.Same) << c.Name;
    }
}
