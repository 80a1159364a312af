#include "app/core/VersionCompare.h"

#include "shared/core/TimeText.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace Tunewell;

TEST(VersionCompare, ComparesByCharacterCode) {
    struct Case {
        const char *Published;
        bool Newer;
    };
    const Case cases[] = {{"2.3", true}, {"2.2", false},  {"10.0", false}, {"2.2.1", true},
                          {"", false},   {"2.10", false}, {"3", true},     {"2.2 ", true}};
    for (const auto &c : cases) {
        EXPECT_EQ(NewerVersionPublished("2.2", c.Published), c.Newer) << c.Published;
    }
}

TEST(TimeText, FollowsTheUsersLocale) {
    setenv("TZ", "UTC", 1);
    setenv("LC_ALL", "C", 1);
    tzset();
    EXPECT_EQ(TimeText(45296), "12:34:56");
    EXPECT_EQ(DateText(45296), "01/01/70");
    unsetenv("LC_ALL");
}
