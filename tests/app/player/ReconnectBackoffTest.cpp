#include "Player/ReconnectBackoff.h"

#include <gtest/gtest.h>
#include <vector>

using namespace std::chrono_literals;
using Player::ReconnectBackoff;

TEST(ReconnectBackoff, GrowsFromOneSecondToTenAndStaysThere) {
    ReconnectBackoff backoff;
    std::vector<std::chrono::milliseconds> delays;
    for (int attempt = 0; attempt < 7; ++attempt) {
        delays.push_back(backoff.next());
    }
    const std::vector<std::chrono::milliseconds> expected{1s, 2s, 4s, 8s, 10s, 10s, 10s};
    EXPECT_EQ(delays, expected);
}

TEST(ReconnectBackoff, ResetStartsOverAtTheFirstDelay) {
    ReconnectBackoff backoff;
    backoff.next();
    backoff.next();
    backoff.reset();
    EXPECT_EQ(backoff.next(), 1s);
}
