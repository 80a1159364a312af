#include "Player/PlaylistParser.h"

#include "Player/PlaylistKind.h"

#include <gtest/gtest.h>

using Player::firstStreamInPlaylist;

namespace {
const QString base = "http://radio.example/lists/station.pls";
}

TEST(PlaylistParser, FindsTheFirstStreamInMessyFiles) {
    struct Case {
        const char *name;
        std::string text;
        QString expected;
    };
    const Case cases[] = {
        {"pls",
         "[playlist]\nNumberOfEntries=2\nFile1=http://a.example:8000/live\nTitle1=A\nFile2=http://b.example/"
         "\n",
         "http://a.example:8000/live"},
        {"pls crlf, bom, odd case, blanks",
         "\xEF\xBB\xBF[Playlist]\r\n\r\nfile1 = http://a.example/stream \r\nLength1=-1\r\nVersion=2\r\n",
         "http://a.example/stream"},
        {"pls with bare CR line ends", "[playlist]\rFile1=http://a.example/cr\rNumberOfEntries=1\r",
         "http://a.example/cr"},
        {"pls lowest number wins over file order",
         "[playlist]\nFile2=http://b.example/\nFile1=http://a.example/\n", "http://a.example/"},
        {"pls skips empty entries", "[playlist]\nFile1=\nFile2=http://b.example/\n", "http://b.example/"},
        {"pls header after stray lines", "\n; comment\n[playlist]\nFile1=http://a.example/\n",
         "http://a.example/"},
        {"pls relative entry", "[playlist]\nFile1=../streams/high.mp3\n",
         "http://radio.example/streams/high.mp3"},
        {"pls without entries", "[playlist]\nNumberOfEntries=0\n", ""},
        {"m3u", "#EXTM3U\n#EXTINF:-1,Station\nhttp://a.example/live.mp3\nhttp://b.example/\n",
         "http://a.example/live.mp3"},
        {"m3u crlf, bom, blank lines", "\xEF\xBB\xBF\r\n#EXTM3U\r\n\r\n  https://a.example/aac  \r\n",
         "https://a.example/aac"},
        {"m3u plain list", "http://a.example/one\nhttp://a.example/two\n", "http://a.example/one"},
        {"m3u relative entry", "#EXTM3U\nlive/stream.mp3\n", "http://radio.example/lists/live/stream.mp3"},
        {"m3u absolute-path entry", "/mount\n", "http://radio.example/mount"},
        {"m3u local paths are skipped", "C:\\Music\\radio.mp3\nfile:///home/x.mp3\nhttp://a.example/\n",
         "http://a.example/"},
        {"m3u only comments", "#EXTM3U\n#EXTINF:-1,Nothing\n", ""},
        {"empty file", "", ""},
        {"audio where a playlist was expected", std::string("\xFF\xFB\x50\xC4\x00\x00\x0Astream\n", 14), ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(firstStreamInPlaylist(c.text, base), c.expected) << c.name;
    }
}

TEST(PlaylistKind, TellsPlaylistAddressesFromStreams) {
    struct Case {
        QString url;
        bool playlist;
    };
    const Case cases[] = {
        {"http://a.example/listen.pls", true},
        {"http://a.example/LISTEN.PLS", true},
        {"http://a.example/listen.m3u", true},
        {"http://a.example/listen.pls?sid=1", true},
        {" http://a.example/listen.m3u ", true},
        {"http://a.example/live.m3u8", false},
        {"http://a.example/live.mp3", false},
        {"http://a.example/stream?format=.pls", false},
        {"", false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Player::isPlaylistAddress(c.url), c.playlist) << c.url.toStdString();
    }
}

TEST(PlaylistKind, TellsPlaylistContentTypes) {
    EXPECT_TRUE(Player::isPlaylistContentType("audio/x-scpls"));
    EXPECT_TRUE(Player::isPlaylistContentType("Audio/X-MpegURL; charset=utf-8"));
    EXPECT_FALSE(Player::isPlaylistContentType("audio/mpeg"));
    EXPECT_FALSE(Player::isPlaylistContentType("application/vnd.apple.mpegurl"));
    EXPECT_FALSE(Player::isPlaylistContentType(""));
}
