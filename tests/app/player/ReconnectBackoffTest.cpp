#include "Player/PlaybackMachine.h"

#include <gtest/gtest.h>
#include <vector>

using namespace std::chrono_literals;

TEST(StreamReconnectBackoff, GrowsFromOneSecondToTenAndStaysThere) {
    auto backoff = Player::StreamReconnectBackoff();
    std::vector<std::chrono::milliseconds> delays;
    for (int attempt = 0; attempt < 7; ++attempt) {
        delays.push_back(backoff.NextDelay());
    }
    const std::vector<std::chrono::milliseconds> expected{1s, 2s, 4s, 8s, 10s, 10s, 10s};
    EXPECT_EQ(delays, expected);
}

TEST(StreamReconnectBackoff, ResetStartsOverAtTheFirstDelay) {
    auto backoff = Player::StreamReconnectBackoff();
    backoff.NextDelay();
    backoff.NextDelay();
    backoff.Reset();
    EXPECT_EQ(backoff.NextDelay(), 1s);
}
