#include "PlaylistEntryPrinting.h"
#include "app/playlists/PlaylistError.h"
#include "app/playlists/PlaylistReader.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

using namespace Tunewell;
namespace fs = std::filesystem;

namespace {

class PlaylistFile : public ::testing::Test {
protected:
    void SetUp() override {
        Folder_ =
            fs::temp_directory_path() / ("playlists-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Folder_);
        fs::create_directories(Folder_);
    }
    void TearDown() override { fs::remove_all(Folder_); }

    fs::path Write(const std::string &Name, const std::string &Bytes) const {
        const fs::path file = Folder_ / Name;
        std::ofstream(file, std::ios::binary) << Bytes;
        return file;
    }

    static std::string Refusal(const fs::path &File) {
        try {
            ReadPlaylistFile(File);
        } catch (const PlaylistError &error) {
            return error.what();
        }
        return "read";
    }

    fs::path Folder_;
};

} // namespace

TEST_F(PlaylistFile, ReadsByItsSuffixWhenTheTextDoesNotTell) {
    const fs::path file = Write("list.pls", "File1=http://a.example/\nTitle1=A\n");
    EXPECT_EQ(ReadPlaylistFile(file).Entries, (std::vector<TPlaylistEntry>{{"A", "http://a.example/"}}));
}

TEST_F(PlaylistFile, RefusesWhatIsNoOrdinaryFileOrTooLargeBeforeReadingIt) {
    const fs::path fifo = Folder_ / "fifo.m3u";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Grown past the limit without writing it: the size alone refuses it.
    const fs::path large = Write("large.m3u", "#EXTM3U\n");
    fs::resize_file(large, 1024 * 1024 + 1);
    const struct {
        const char *Name;
        fs::path File;
        const char *Says;
    } cases[] = {
        // A FIFO without a writer would hang a blocking open.
        {"FIFO", fifo, "not an ordinary file"},
        {"endless device", "/dev/zero", "not an ordinary file"},
        {"folder", Folder_, "not an ordinary file"},
        {"missing", Folder_ / "missing.m3u", "could not be read: No such file or directory"},
        {"large", large, "larger than 1 MiB"},
        {"exactly the limit of blank lines", Write("limit.m3u", std::string(1024 * 1024, '\n')),
         "no stations"},
    };
    for (const auto &each : cases) {
        const std::string message = Refusal(each.File);
        EXPECT_NE(message.find(each.Says), std::string::npos) << each.Name << ": " << message;
    }
}
