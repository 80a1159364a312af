#include "PlaylistEntryPrinting.h"
#include "app/playlists/M3uWriter.h"
#include "app/playlists/PlaylistReader.h"
#include "app/playlists/PlsWriter.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Tunewell;

namespace {

// Names that a careless writer or reader breaks: the separators of both formats, quotes, a
// leading "#" or "[", other scripts, the longest name the cloud keeps, none at all.
const std::vector<TPlaylistEntry> kStations{
    {"Rock, Pop & \"Hits\"", "http://a.example/rock"},
    {"#1 Station", "https://b.example:8443/live?format=mp3&x=1"},
    {"[playlist] Title1=x", "http://c.example/"},
    {"R\xC3\xA1"
     "dio S\xC3\xA3o Paulo \xE6\x97\xA5\xE6\x9C\xAC",
     "http://[2001:db8::1]:8000/s"},
    {std::string(150, 'n'), "http://d.example/" + std::string(183, 'p')},
    {"", "http://e.example/no-name"},
};

} // namespace

TEST(PlaylistWriters, WriteWhatPlayersRead) {
    const std::vector<TPlaylistEntry> two{{"One", "http://a.example/1"}, {"Two", "http://a.example/2"}};
    EXPECT_EQ(WriteM3u(two),
              "#EXTM3U\n#EXTINF:-1,One\nhttp://a.example/1\n#EXTINF:-1,Two\nhttp://a.example/2\n");
    EXPECT_EQ(WritePls(two),
              "[playlist]\nFile1=http://a.example/1\nTitle1=One\nLength1=-1\n"
              "File2=http://a.example/2\nTitle2=Two\nLength2=-1\nNumberOfEntries=2\nVersion=2\n");
}

TEST(PlaylistWriters, AWrittenFileReadsBackToTheSameEntries) {
    EXPECT_EQ(ReadPlaylistText(WriteM3u(kStations), ".m3u").Entries, kStations);
    EXPECT_EQ(ReadPlaylistText(WritePls(kStations), ".pls").Entries, kStations);
}

TEST(PlaylistWriters, NamesWithLineBreaksAreFlattened) {
    // A name or address broken over lines must not become a line of its own in the file.
    const std::vector<TPlaylistEntry> broken{{"Morning\r\nShow\n", "http://a.example/1\n"},
                                             {"File2=http://evil.example/", "http://a.example/2"}};
    const std::vector<TPlaylistEntry> flat{{"Morning Show", "http://a.example/1"},
                                           {"File2=http://evil.example/", "http://a.example/2"}};
    EXPECT_EQ(ReadPlaylistText(WriteM3u(broken), ".m3u").Entries, flat);
    EXPECT_EQ(ReadPlaylistText(WritePls(broken), ".pls").Entries, flat);
}
