#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>

using namespace Cumulo;
using namespace std::chrono;

namespace {

constexpr double kSecond = 1.0 / 86400.0;

TDateTime At(int Y, unsigned M, unsigned D, int h = 0, int m = 0, int s = 0) {
    const auto days = sys_days{year{Y} / month{M} / day{D}}.time_since_epoch().count();
    return 25569.0 + static_cast<double>(days) + (h * 3600 + m * 60 + s) * kSecond;
}

// Runs each case under a fixed zone rule, whatever the machine's zone.
class HelpersDateTime : public ::testing::Test {
protected:
    void UseZone(const char *Rule) {
        if (!fSaved) {
            const char *current = std::getenv("TZ");
            fSaved = current ? std::optional<std::string>(current) : std::optional<std::string>("");
            fHadTZ = current != nullptr;
        }
        setenv("TZ", Rule, 1);
        tzset();
    }
    void TearDown() override {
        if (!fSaved)
            return;
        if (fHadTZ)
            setenv("TZ", fSaved->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> fSaved;
    bool fHadTZ = false;
};

constexpr const char *kBrasilia = "BRT3";                            // UTC-3 all year
constexpr const char *kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3"; // UTC+1, UTC+2 in summer

TEST_F(HelpersDateTime, TimeStampsDropTheMilliseconds) {
    EXPECT_NEAR(TFirebaseHelpers::ConvertTimeStampToUTCDateTime(0), At(1970, 1, 1), 1e-9);
    EXPECT_NEAR(TFirebaseHelpers::ConvertTimeStampToUTCDateTime(1999), At(1970, 1, 1, 0, 0, 1), 1e-9);
    EXPECT_NEAR(TFirebaseHelpers::ConvertTimeStampToUTCDateTime(1625140800999), At(2021, 7, 1, 12), 1e-9);
    // Truncation goes towards zero.
    EXPECT_NEAR(TFirebaseHelpers::ConvertTimeStampToUTCDateTime(-1999), At(1970, 1, 1) - kSecond, 1e-9);
}

TEST_F(HelpersDateTime, LocalTimeFollowsTheZoneAndItsSummerTime) {
    UseZone(kCentralEurope);
    EXPECT_NEAR(TFirebaseHelpers::ConvertToLocalDateTime(At(2021, 1, 1, 12)), At(2021, 1, 1, 13), 1e-9);
    EXPECT_NEAR(TFirebaseHelpers::ConvertToLocalDateTime(At(2021, 7, 1, 12)), At(2021, 7, 1, 14), 1e-9);
    EXPECT_NEAR(TFirebaseHelpers::ConvertTimeStampToLocalDateTime(1625140800000), At(2021, 7, 1, 14), 1e-9);
    UseZone(kBrasilia);
    EXPECT_NEAR(TFirebaseHelpers::ConvertToLocalDateTime(At(2021, 1, 1, 1)), At(2020, 12, 31, 22), 1e-9);
}

TEST_F(HelpersDateTime, RFC3339IsWrittenInUTC) {
    UseZone(kBrasilia);
    EXPECT_EQ(TFirebaseHelpers::CodeRFC3339DateTime(At(2019, 5, 1, 12)), "2019-05-01T15:00:00Z");
    EXPECT_EQ(TFirebaseHelpers::CodeRFC3339DateTime(At(2019, 12, 31, 22, 30, 5)), "2020-01-01T01:30:05Z");
    UseZone(kCentralEurope);
    EXPECT_EQ(TFirebaseHelpers::CodeRFC3339DateTime(At(2019, 5, 1, 17)), "2019-05-01T15:00:00Z");
    EXPECT_EQ(TFirebaseHelpers::CodeRFC3339DateTime(At(2019, 1, 1, 0, 30)), "2018-12-31T23:30:00Z");
}

TEST_F(HelpersDateTime, RFC5322Forms) {
    const std::vector<std::pair<std::string, TDateTime>> cases = {
        {"Sun, 06 Nov 1994 08:49:37 GMT", At(1994, 11, 6, 8, 49, 37)},
        {"6 Nov 1994 08:49 +0200", At(1994, 11, 6, 6, 49)},
        {"Tue, 1 Jan 2019 00:30:00 -0300", At(2019, 1, 1, 3, 30)},
        {"Thu, 29 Feb 2024 23:59:59 UTC", At(2024, 2, 29, 23, 59, 59)},
        {"Wed, 31 Dec 2025 10:00:00 EST", At(2025, 12, 31, 15)},
        {"06 Nov 94 08:49:37 GMT", At(1994, 11, 6, 8, 49, 37)},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_NEAR(TFirebaseHelpers::ConvertRFC5322ToUTCDateTime(text), expected, 1e-9) << text;
    UseZone(kBrasilia);
    EXPECT_NEAR(TFirebaseHelpers::ConvertRFC5322ToLocalDateTime("Sun, 06 Nov 1994 08:49:37 GMT"),
                At(1994, 11, 6, 5, 49, 37), 1e-9);
}

TEST_F(HelpersDateTime, MalformedRFC5322TextIsRejected) {
    for (const std::string text :
         {"", "yesterday", "Sun, 31 Feb 2019 10:00:00 GMT", "Sun, 06 Nov 1994 25:00:00 GMT",
          "Sun, 06 Xyz 1994 08:49:37 GMT", "Sun, 06 Nov 1994 08:49:37 XYZ", "Sun, 06 Nov 1994 08:49:37",
          "Sun 06 Nov 1994 08:49:37 GMT x"})
        EXPECT_THROW(TFirebaseHelpers::ConvertRFC5322ToUTCDateTime(text), EConvertError) << text;
}

} // namespace
