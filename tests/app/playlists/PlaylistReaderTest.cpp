#include "app/playlists/PlaylistReader.h"

#include "PlaylistEntryPrinting.h"
#include "app/playlists/PlaylistError.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Tunewell;
using namespace std::string_literals;

namespace {

struct TGoodFile {
    const char *Name;
    std::string Bytes;
    const char *Suffix;
    std::vector<TPlaylistEntry> Entries;
    int NotStations = 0;
};

void ExpectRead(const std::vector<TGoodFile> &Files) {
    for (const TGoodFile &file : Files) {
        try {
            const TPlaylistRead read = ReadPlaylistText(file.Bytes, file.Suffix);
            EXPECT_EQ(read.Entries, file.Entries) << file.Name;
            EXPECT_EQ(read.NotStations, file.NotStations) << file.Name;
        } catch (const PlaylistError &error) {
            ADD_FAILURE() << file.Name << ": " << error.what();
        }
    }
}

std::string Repeated(std::string_view Piece, int Count) {
    std::string text;
    for (int i = 0; i < Count; ++i) {
        text += Piece;
    }
    return text;
}

} // namespace

TEST(PlaylistReader, M3uAsPlayersWriteIt) {
    ExpectRead({
        {"extended, LF",
         "#EXTM3U\n#EXTINF:-1,Radio One\nhttp://one.example/live\n",
         ".m3u",
         {{"Radio One", "http://one.example/live"}}},
        {"no header, CRLF, no names",
         "http://a.example/1\r\nhttps://b.example:8443/2\r\n",
         ".m3u8",
         {{"", "http://a.example/1"}, {"", "https://b.example:8443/2"}}},
        {"byte-order mark, CR line ends",
         "\xEF\xBB\xBF#EXTM3U\r#EXTINF:-1,R\xC3\xA1"
         "dio\rhttp://c.example/\r",
         ".m3u",
         {{"R\xC3\xA1"
           "dio",
           "http://c.example/"}}},
        {"attributes: the title follows the first comma outside quotes",
         "#EXTM3U\n#EXTINF:-1 tvg-name=\"A, B\" tvg-logo=\"http://x/l.png\",Rock, Pop "
         "FM\nhttp://d.example/s\n",
         ".m3u",
         {{"Rock, Pop FM", "http://d.example/s"}}},
        {"comments and blanks between the name and its address, any case",
         "#extm3u\n\n#extinf:0,  Jazz  \n# a comment\n#EXTVLCOPT:network-caching=1000\n\n\t "
         "http://e.example/j \n",
         ".m3u",
         {{"Jazz", "http://e.example/j"}}},
        {"a name belongs to the next address only",
         "#EXTINF:-1,First\nhttp://f.example/1\nhttp://f.example/2\n#EXTINF:-1\nHTTP://F.example/3",
         ".m3u",
         {{"First", "http://f.example/1"}, {"", "http://f.example/2"}, {"", "HTTP://F.example/3"}}},
        {"duplicates kept in order",
         "http://g.example/\nhttp://g.example/\n",
         ".m3u",
         {{"", "http://g.example/"}, {"", "http://g.example/"}}},
    });
}

TEST(PlaylistReader, PlsAsPlayersWriteIt) {
    ExpectRead({
        {"as written, lengths passed over",
         "[playlist]\nFile1=http://a.example/1\nTitle1=One\nLength1=-1\nNumberOfEntries=1\nVersion=2\n",
         ".pls",
         {{"One", "http://a.example/1"}}},
        {"any order, any case, a NumberOfEntries that disagrees",
         "[Playlist]\r\nnumberofentries=5\r\ntitle2=Two\r\nFILE2=http://a.example/2\r\nFile1 = "
         "http://a.example/1 "
         "\r\n; a comment\r\n",
         ".pls",
         {{"", "http://a.example/1"}, {"Two", "http://a.example/2"}}},
        {"numbered order, not the lines' order, with gaps",
         "[playlist]\nFile10=http://a.example/10\nFile2=http://a.example/2\nFile3=http://a.example/3\n",
         ".pls",
         {{"", "http://a.example/2"}, {"", "http://a.example/3"}, {"", "http://a.example/10"}}},
        {"a title without a file is passed over; '=' in a title kept",
         "[playlist]\nTitle1=Lonely\nFile2=http://a.example/2\nTitle2=a=b\n",
         ".pls",
         {{"a=b", "http://a.example/2"}}},
    });
}

TEST(PlaylistReader, XspfAsPlayersWriteIt) {
    ExpectRead({
        {"with its namespace",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" "
         "xmlns=\"http://xspf.org/ns/0/\">\n"
         "  <trackList>\n    <track>\n      <location>http://a.example/1</location>\n"
         "      <title>One &amp; Only</title>\n    </track>\n  </trackList>\n</playlist>\n",
         ".xspf",
         {{"One & Only", "http://a.example/1"}}},
        {"no namespace, one line, annotation when there is no title, blanks around the address",
         "<playlist><trackList><track><annotation>Two</annotation><location> https://a.example/2 </location>"
         "</track></trackList></playlist>",
         ".xml",
         {{"Two", "https://a.example/2"}}},
        {"a prefixed namespace, extensions passed over, a track without location skipped",
         "<x:playlist xmlns:x=\"http://xspf.org/ns/0/\"><x:title>List</x:title><x:trackList>"
         "<x:track><x:title>No address</x:title></x:track>"
         "<x:track><x:location>http://a.example/3</x:location><x:extension application=\"v\"><x:location>"
         "http://ignored.example/</x:location></x:extension><x:title>Three\n  lines\tin</x:title></x:track>"
         "</x:trackList></x:playlist>",
         "",
         {{"Three lines in", "http://a.example/3"}}},
        {"UTF-8 whatever encoding the declaration claims",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><playlist><trackList><track><title>R\xC3\xA1"
         "dio</title><location>http://a.example/4</location></track></trackList></playlist>",
         ".xspf",
         {{"R\xC3\xA1"
           "dio",
           "http://a.example/4"}}},
    });
}

TEST(PlaylistReader, FormatByContentFirstThenSuffix) {
    ExpectRead({
        {"PLS text in a .m3u file",
         "[playlist]\nFile1=http://a.example/\nTitle1=P\n",
         ".m3u",
         {{"P", "http://a.example/"}}},
        {"XSPF text in a .txt file",
         "<playlist><trackList><track><location>http://a.example/</location></track></trackList></playlist>",
         ".txt",
         {{"", "http://a.example/"}}},
        {"M3U header in a .pls file", "#EXTM3U\nhttp://a.example/\n", ".pls", {{"", "http://a.example/"}}},
        {"PLS without its header, by suffix in capitals",
         "File1=http://a.example/\n",
         ".PLS",
         {{"", "http://a.example/"}}},
    });
}

TEST(PlaylistReader, LatinOneM3uAndPlsAreReadAsOtherPlayersReadThem) {
    ExpectRead({
        {"M3U",
         "#EXTM3U\n#EXTINF:-1,S\xE3o Paulo \xC0 Noite\nhttp://a.example/\n",
         ".m3u",
         {{"S\xC3\xA3o Paulo \xC3\x80 Noite", "http://a.example/"}}},
        {"PLS, suffix in capitals",
         "[playlist]\nFile1=http://a.example/\nTitle1=R\xE1"
         "dio\n",
         ".PLS",
         {{"R\xC3\xA1"
           "dio",
           "http://a.example/"}}},
        {"PLS text in a .m3u file",
         "[playlist]\nFile1=http://a.example/\nTitle1=\xC9\n",
         ".m3u",
         {{"\xC3\x89", "http://a.example/"}}},
        {"a lone UTF-8 lead byte at the end",
         "#EXTINF:-1,A\nhttp://a.example/\n#EXTINF:-1,\xC3",
         ".m3u",
         {{"A", "http://a.example/"}}},
    });
}

TEST(PlaylistReader, EntriesThatNameNoStationArePassedOverAndCounted) {
    ExpectRead({
        {"one local file among stations",
         "#EXTM3U\n#EXTINF:-1,Good\nhttp://good.example/\n#EXTINF:123,Song\n/home/me/Music/song.mp3\n"
         "https://other.example/s\n",
         ".m3u",
         {{"Good", "http://good.example/"}, {"", "https://other.example/s"}},
         1},
        {"relative paths, file: and other schemes",
         "#EXTM3U\nmusic/song.mp3\nfile:///home/me/song.mp3\nC:\\Music\\a.mp3\nftp://a.example/s\n"
         "rtsp://a.example/s\nmms://a.example/s\njavascript:alert(1)\ndata:audio/mpeg;base64,AAAA\n"
         "//a.example/s\nHTTP://A.example/\n",
         ".m3u8",
         {{"", "HTTP://A.example/"}},
         9},
        {"PLS",
         "[playlist]\nFile1=ftp://a.example/s\nFile2=http://a.example/\nFile3=song.ogg\n",
         ".pls",
         {{"", "http://a.example/"}},
         2},
        {"XSPF",
         "<playlist><trackList><track><location>file:///home/me/a.ogg</location></track>"
         "<track><location>http://a.example/</location></track></trackList></playlist>",
         ".xspf",
         {{"", "http://a.example/"}},
         1},
    });
}

TEST(PlaylistReader, LongNamesAreCutAtACharacterBoundary) {
    // 200 two-byte characters: the cut keeps 150 whole ones.
    const std::string name = Repeated("\xC3\xA3", 200);
    ExpectRead({
        {"M3U",
         "#EXTINF:-1," + name + "\nhttp://a.example/\n",
         ".m3u",
         {{Repeated("\xC3\xA3", 150), "http://a.example/"}}},
        {"a cut that ends on a blank is trimmed",
         "#EXTINF:-1," + Repeated("a", 149) + " bcd\nhttp://a.example/\n",
         ".m3u",
         {{Repeated("a", 149), "http://a.example/"}}},
    });
}

TEST(PlaylistReader, DamagedOrHostileFilesAreRefusedWhole) {
    const std::string good = "#EXTINF:-1,Good\nhttp://good.example/\n";
    std::string manyEntries = "#EXTM3U\n";
    for (int i = 0; i <= 5000; ++i) {
        manyEntries += "http://a.example/" + std::to_string(i) + "\n";
    }
    const std::string longAddress = "http://a.example/" + std::string(200 - 17 + 1, 'x');
    const struct {
        const char *Name;
        std::string Bytes;
        const char *Suffix;
        std::string Says;
    } files[] = {
        {"NUL byte", good + "http://a.example/\0x\n"s, ".m3u", "Line 3 holds binary data"},
        {"other control byte", "[playlist]\nFile1=http://a.example/\x1B[2J\n", ".pls",
         "Line 2 holds binary data"},
        {"Latin-1 text in a file that says UTF-8", good + "#EXTINF:-1,S\xE3o Paulo\nhttp://a.example/\n",
         ".m3u8", "Line 3 is not UTF-8"},
        {"Latin-1 XML", "<playlist><trackList><track><title>\xE3</title></track></trackList></playlist>",
         ".m3u", "Line 1 is not UTF-8"},
        {"Latin-1 of an unknown kind", "#EXTM3U\n#EXTINF:-1,\xE3\nhttp://a.example/\n", ".txt",
         "Line 2 is not UTF-8"},
        {"a cut UTF-8 sequence at the end", good + "#EXTINF:-1,\xC3", ".m3u8", "Line 3 is not UTF-8"},
        {"Latin-1 after a UTF-8 byte-order mark", "\xEF\xBB\xBF#EXTINF:-1,\xE3\nhttp://a.example/\n", ".m3u",
         "Line 1 is not UTF-8"},
        {"NUL byte in Latin-1", "#EXTINF:-1,\xE3\nhttp://a.example/\0\n"s, ".m3u",
         "Line 2 holds binary data"},
        {"endless line", "#EXTM3U\n" + std::string(8 * 1024 + 1, 'a'), ".m3u", "Line 2 is longer than 8 KiB"},
        {"too many entries", manyEntries, ".m3u", "more than 5,000 stations"},
        {"larger than the file limit", std::string(1024 * 1024 + 1, '\n'), ".m3u", "larger than 1 MiB"},
        {"a damaged address after a good one", good + "http:/good.example/\n", ".m3u",
         "Line 3: \u201Chttp:/good.example/\u201D is not an http:// or https:// address"},
        {"only local files", "#EXTM3U\nfile:///home/me/song.mp3\n/home/me/b.mp3\n", ".m3u",
         "has no stations"},
        {"only other schemes", "[playlist]\nFile1=ftp://a.example/s\n", ".pls", "has no stations"},
        {"no server", "http:///path\n", ".m3u", "is not an http://"},
        {"only user information", "http://me@/path\n", ".m3u", "is not an http://"},
        {"a port that is no number", "http://a.example:web/\n", ".m3u", "is not an http://"},
        {"a blank inside", "http://a.example/a b\n", ".m3u", "is not an http://"},
        {"an empty PLS entry", "[playlist]\nFile1=\n", ".pls", "Line 2: \u201C\u201D is not an http://"},
        {"address over the cloud's limit", "#EXTM3U\n" + longAddress + "\n", ".m3u",
         "Line 2: the address is longer than 200 characters"},
        {"a hostile address is shown cut", "#EXTM3U\nhttp://" + Repeated("z", 150) + " x\n", ".m3u",
         "\u201Chttp://" + Repeated("z", 53) + "\u2026\u201D"},
        {"entities declared",
         "<?xml version=\"1.0\"?><!DOCTYPE playlist [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"
         "<playlist><trackList><track><location>http://a.example/</location><title>&b;</title></track>"
         "</trackList></playlist>",
         ".xspf", "declares a DOCTYPE"},
        {"an undeclared entity",
         "<playlist><trackList><track><location>http://a.example/&x;</location>"
         "</track></trackList></playlist>",
         ".xspf", "malformed at line 1"},
        {"XML cut short",
         "<?xml version=\"1.0\"?>\n<playlist>\n<trackList>\n<track><location>http://a.example/", ".xspf",
         "malformed at line 4"},
        {"an element inside the location",
         "<playlist><trackList><track><location>http://a.example/<b/>"
         "</location></track></trackList></playlist>",
         ".xspf", "malformed"},
        {"XML that is not XSPF", "<?xml version=\"1.0\"?><html><body/></html>", ".xspf",
         "not an XSPF playlist"},
        {"bad XSPF address with its line",
         "<playlist>\n<trackList>\n<track>\n<location>https://</location>\n</track>\n</trackList>\n</"
         "playlist>",
         ".xspf", "Line 4: \u201Chttps://\u201D"},
        {"M3U without stations", "#EXTM3U\n#EXTINF:-1,Nothing follows\n", ".m3u", "has no stations"},
        {"PLS without stations", "[playlist]\nNumberOfEntries=0\nVersion=2\n", ".pls", "has no stations"},
        {"XSPF without stations", "<playlist><trackList/></playlist>", ".xspf", "has no stations"},
        {"empty file", "", ".m3u", "has no stations"},
        {"blank file of unknown kind", " \n\n", ".txt", "has no stations"},
        {"not a playlist", "Dear diary,\nhttp://a.example/\n", ".txt", "not an M3U, PLS or XSPF playlist"},
    };
    for (const auto &file : files) {
        try {
            ReadPlaylistText(file.Bytes, file.Suffix);
            ADD_FAILURE() << file.Name << ": read";
        } catch (const PlaylistError &error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(file.Says), std::string::npos) << file.Name << ": " << message;
            // Both of the program's languages, every time, each sentence with one full stop.
            EXPECT_NE(message.find(" / "), std::string::npos) << file.Name << ": " << message;
            EXPECT_EQ(message.find(".."), std::string::npos) << file.Name << ": " << message;
        }
    }
}
