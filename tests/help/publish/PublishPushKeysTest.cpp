#include "help/publish/PublishPushKeys.h"

#include <gtest/gtest.h>
#include <string_view>

namespace Tunewell {
namespace {

constexpr std::string_view kAlphabet{PublishPushKeys::kAlphabet};

struct FixedSource {
    std::int64_t Now = 0;
    std::uint32_t Random = 0;
    PublishPushKeys Keys{[this] { return Now; }, [this] { return Random; }};
};

TEST(PublishPushKeys, HasTheCloudsFormTimeFirst) {
    struct Case {
        std::int64_t Milliseconds;
        std::string_view TimePart;
    };
    for (const auto &[Milliseconds, TimePart] :
         {Case{0, "--------"}, Case{1, "-------0"}, Case{64, "------0-"},
          Case{(std::int64_t{1} << 48) - 1, "zzzzzzzz"}}) {
        FixedSource Source;
        Source.Now = Milliseconds;
        Source.Random = 63;
        const auto Key = Source.Keys.Next();
        EXPECT_EQ(Key, std::string(TimePart) + "zzzzzzzzzzzz") << Milliseconds;
    }
}

TEST(PublishPushKeys, IncreaseWithinOneMillisecondAcrossTheCarry) {
    FixedSource Source;
    Source.Now = 1'700'000'000'000;
    Source.Random = 63; // every random digit "z": the second key must carry into the time part
    const auto First = Source.Keys.Next();
    const auto Second = Source.Keys.Next();
    const auto Third = Source.Keys.Next();
    EXPECT_LT(First, Second);
    EXPECT_LT(Second, Third);
    EXPECT_EQ(Second.substr(8), "------------");
    EXPECT_EQ(Third.substr(8), "-----------0");
}

TEST(PublishPushKeys, IncreaseWhenTheClockStepsBack) {
    FixedSource Source;
    Source.Now = 5'000;
    Source.Random = 7;
    const auto First = Source.Keys.Next();
    Source.Now = 4'000;
    const auto Second = Source.Keys.Next();
    Source.Now = 6'000;
    const auto Third = Source.Keys.Next();
    EXPECT_LT(First, Second);
    EXPECT_LT(Second, Third);
    EXPECT_EQ(Third.substr(8), std::string(12, kAlphabet[7]));
}

TEST(PublishPushKeys, RealKeysIncreaseAndStayInTheAlphabet) {
    PublishPushKeys Keys;
    std::string Last;
    for (int Count = 0; Count < 10'000; ++Count) {
        const auto Key = Keys.Next();
        ASSERT_EQ(Key.size(), 20u);
        ASSERT_EQ(Key.find_first_not_of(kAlphabet), std::string::npos) << Key;
        ASSERT_LT(Last, Key);
        Last = Key;
    }
}

TEST(PublishPushKeys, CryptographicDigitsDifferForGeneratorsMadeAlike) {
    // Nothing seeds them: two generators with the same clock still make different keys.
    const auto Clock = [] { return std::int64_t{1'700'000'000'000}; };
    PublishPushKeys First{Clock, PublishPushKeys::CryptographicDigits()};
    PublishPushKeys Second{Clock, PublishPushKeys::CryptographicDigits()};
    EXPECT_NE(First.Next(), Second.Next());
}

TEST(PublishPushKeys, RefuseAClockBefore1970) {
    FixedSource Source;
    Source.Now = -1;
    EXPECT_THROW(Source.Keys.Next(), std::invalid_argument);
}

} // namespace
} // namespace Tunewell
