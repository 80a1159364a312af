#include "TunewellCloud/PushIdGenerator.h"

#include <gtest/gtest.h>

using TunewellCloud::PushIdGenerator;

TEST(PushIdGeneratorTest, KeysIncreaseWithinAMillisecondAndWhenTheClockStepsBack) {
    PushIdGenerator generator;
    std::string previous = generator.next(1'700'000'000'000);
    EXPECT_EQ(previous.size(), 20u);
    const long long clock[] = {1'700'000'000'000, 1'700'000'000'000, 1'699'999'999'000, 1'700'000'000'001};
    for (int round = 0; round < 5000; ++round) {
        const std::string key = generator.next(clock[round % 4]);
        ASSERT_LT(previous, key) << round;
        previous = key;
    }
}

TEST(PushIdGeneratorTest, TimePartSortsByMilliseconds) {
    PushIdGenerator generator;
    const std::string early = generator.next(1000);
    const std::string late = generator.next(1001);
    EXPECT_LT(early.substr(0, 8), late.substr(0, 8));
    EXPECT_EQ(generator.next(0).substr(0, 8), late.substr(0, 8))
        << "a clock that steps back keeps the last time";
}

TEST(PushIdGeneratorTest, RandomPartIsTheRandomSourcesOncePerMillisecond) {
    int calls = 0;
    PushIdGenerator generator([&calls](std::size_t count) {
        ++calls;
        std::string bytes(count, '\0');
        // Bytes above 63 stand for the same digit as their remainder.
        for (std::size_t i = 0; i < count; ++i)
            bytes[i] = static_cast<char>(64 * (i % 4) + i + 1);
        return bytes;
    });
    EXPECT_EQ(generator.next(1000).substr(8), "0123456789AB");
    EXPECT_EQ(generator.next(1000).substr(8), "0123456789AC");
    EXPECT_EQ(calls, 1);
    generator.next(1001);
    EXPECT_EQ(calls, 2);
}

TEST(PushIdGeneratorTest, GeneratorsMadeAlikeStillDiffer) {
    // Nothing seeds the random part: made the same way, at the same millisecond, two differ.
    PushIdGenerator first;
    PushIdGenerator second;
    EXPECT_NE(first.next(1'700'000'000'000), second.next(1'700'000'000'000));
}
