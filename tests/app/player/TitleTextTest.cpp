#include "Player/TitleText.h"

#include "Player/NowPlayingTitle.h"

#include <gtest/gtest.h>

using Player::decodeTitle;
using Player::NowPlayingTitle;

TEST(TitleText, DecodesUtf8AndFallsBackToLatin1) {
    struct Case {
        const char *name;
        std::string bytes;
        QString expected;
    };
    const Case cases[] = {
        {"ascii", "Artist - Song", "Artist - Song"},
        {"utf8", "Jo\xC3\xA3o Gilberto - Cora\xC3\xA7\xC3\xA3o",
         QString::fromUtf8("João Gilberto - Coração")},
        {"latin1", "Jo\xE3o Gilberto - Cora\xE7\xE3o", QString::fromUtf8("João Gilberto - Coração")},
        {"utf8 cut mid-character", "Caf\xC3", QString::fromUtf8("CafÃ")},
        {"overlong utf8 is not utf8", "\xC0\xAF", QString::fromUtf8("À¯")},
        {"blanks around", "  Song \r\n", "Song"},
        {"empty", "", ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(decodeTitle(c.bytes), c.expected) << c.name;
    }
}

TEST(NowPlayingTitle, ReportsEachChangeOnce) {
    NowPlayingTitle title;
    EXPECT_TRUE(title.offer("One"));
    EXPECT_FALSE(title.offer("One"));
    EXPECT_FALSE(title.offer(" One "));
    EXPECT_TRUE(title.offer("Two"));
    EXPECT_TRUE(title.offer("One"));
    // The same song in Latin-1 and in UTF-8 is the same title.
    EXPECT_TRUE(title.offer("Cora\xE7\xE3o"));
    EXPECT_FALSE(title.offer("Cora\xC3\xA7\xC3\xA3o"));
    EXPECT_EQ(title.text(), QString::fromUtf8("Coração"));
}

TEST(NowPlayingTitle, ClearLetsTheSameTitleBeReportedAgain) {
    NowPlayingTitle title;
    EXPECT_FALSE(title.clear());
    title.offer("One");
    EXPECT_TRUE(title.clear());
    EXPECT_TRUE(title.text().isEmpty());
    EXPECT_TRUE(title.offer("One"));
}
