#include "app/core/StreamTitleParts.h"

#include <gtest/gtest.h>

using namespace Tunewell;

TEST(StreamTitleParts, CutsAtTheFirstSpacedDashWithTextOnBothSides) {
    struct Case {
        const char *NowPlaying;
        const char *Artist;
        const char *Title;
    };
    const Case cases[] = {
        {"Artist - Title", "Artist", "Title"},
        {"  Nina Simone  -  Feeling Good ", "Nina Simone", "Feeling Good"},
        {"A - B - Remix", "A", "B - Remix"},
        {"Jay-Z", "", "Jay-Z"},
        {"AC/DC-Thunderstruck", "", "AC/DC-Thunderstruck"},
        {"- Title", "", "- Title"},
        {"Artist -", "", "Artist -"},
        {" - ", "", "-"},
        {"", "", ""},
        {"Caf\u00E9 Tacvba - Eres", "Caf\u00E9 Tacvba", "Eres"},
    };
    for (const auto &c : cases) {
        const StreamTitleParts parts = SplitStreamTitle(QString::fromUtf8(c.NowPlaying));
        EXPECT_EQ(parts.Artist, QString::fromUtf8(c.Artist)) << c.NowPlaying;
        EXPECT_EQ(parts.Title, QString::fromUtf8(c.Title)) << c.NowPlaying;
    }
}
