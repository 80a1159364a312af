#include "DemoRadio.h"

#include "LocalCloud.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <httplib.h>

using TunewellTesting::DemoRadio;

namespace {

// Reads the first bytes of a stream and closes it.
std::pair<httplib::Headers, std::string> listen(const std::string &url, std::size_t bytes, bool metadata) {
    const auto slash = url.find('/', 7);
    httplib::Client client(url.substr(0, slash));
    client.set_read_timeout(10);
    std::string received;
    httplib::Headers headers;
    if (metadata)
        headers.emplace("Icy-MetaData", "1");
    httplib::Headers answered;
    client.Get(
        url.substr(slash), headers,
        [&](const httplib::Response &response) {
            answered = response.headers;
            return true;
        },
        [&](const char *data, std::size_t length) {
            received.append(data, length);
            return received.size() < bytes;
        });
    return {answered, received};
}

class DemoRadioTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            std::filesystem::temp_directory_path() / ("tunewell-radio-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "tone.bin", std::ios::binary) << "0123456789";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

TEST_F(DemoRadioTest, LoopsTheFileWithoutMetadataUnlessAsked) {
    DemoRadio radio({folder, 8, 100000});
    const auto [headers, body] = listen(radio.url("tone.bin"), 35, false);
    ASSERT_GE(body.size(), 35u);
    EXPECT_EQ(body.substr(0, 35), "01234567890123456789012345678901234");
    EXPECT_EQ(headers.count("icy-metaint"), 0u);
}

TEST_F(DemoRadioTest, InsertsStreamTitlesEveryMetaInterval) {
    DemoRadio radio({folder, 8, 100000});
    const auto [headers, body] = listen(radio.url("tone.bin"), 200, true);
    ASSERT_EQ(headers.find("icy-metaint")->second, "8");
    // Audio, then a length byte (in 16-byte units) and the padded title, again and again.
    std::string audio;
    std::size_t offset = 0;
    int titles = 0;
    while (offset + 9 <= body.size()) {
        audio += body.substr(offset, 8);
        const auto length = static_cast<unsigned char>(body[offset + 8]) * 16u;
        if (offset + 9 + length > body.size())
            break;
        const std::string title = body.substr(offset + 9, length);
        EXPECT_EQ(title.rfind("StreamTitle='Tunewell demo - part ", 0), 0u) << title;
        ++titles;
        offset += 9 + length;
    }
    EXPECT_GE(titles, 2);
    EXPECT_EQ(audio.substr(0, 20), "01234567890123456789");
}

TEST_F(DemoRadioTest, UnknownStreamsAndPathsAreRefused) {
    DemoRadio radio({folder, 8, 100000});
    httplib::Client client("http://127.0.0.1:" + std::to_string(radio.port()));
    EXPECT_EQ(client.Get("/missing.mp3")->status, 404);
    EXPECT_EQ(client.Get("/../etc/passwd")->status, 404);
}

TEST(DemoClipTest, BuildMadeAPlayableClip) {
    const std::filesystem::path clip = TunewellTesting::LocalCloud::demoClip();
    ASSERT_TRUE(std::filesystem::exists(clip)) << clip;
    EXPECT_GT(std::filesystem::file_size(clip), 10000u);
}

} // namespace
