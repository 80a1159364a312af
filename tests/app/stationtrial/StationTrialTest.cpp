#include "app/stationtrial/StationTrial.h"

#include "IcyStreamServer.h"
#include "Tunewell/Test/SilentPeer.h"
#include "app/stationtrial/StationTrialText.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

using namespace Tunewell;
using Outcome = TStationTrialResult::TOutcome;
using namespace std::chrono_literals;

class StationTrialTest : public ::testing::Test {
protected:
    // Bytes enough for the stream's chunks; nothing decodes them.
    static void SetUpTestSuite() { Server = new IcyStreamServer(std::string(16 * 1024, 'x'), "Title"); }
    static void TearDownTestSuite() { delete Server; }
    static IcyStreamServer *Server;
};

IcyStreamServer *StationTrialTest::Server = nullptr;

TEST_F(StationTrialTest, SaysWhatEachAddressAnswers) {
    struct Case {
        const char *What;
        std::string Url;
        Outcome Expected;
        std::string StreamUrl;
        bool FromPlaylist;
        std::string ContentType;
    };
    const std::string live = Server->url("/live");
    const std::vector<Case> cases{
        {"an endless stream, cut at its first bytes", live, Outcome::Answers, live, false, "audio/mpeg"},
        {"a PLS with a relative entry", Server->url("/listen.pls"), Outcome::Answers, live, true,
         "audio/mpeg"},
        {"an M3U known by its content type only", Server->url("/tune"), Outcome::Answers, live, true,
         "audio/mpeg"},
        {"a redirect to the stream", Server->url("/moved?to=" + live), Outcome::Answers,
         Server->url("/moved?to=" + live), false, "audio/mpeg"},
        {"a stream under a playlist's name", Server->url("/endless.m3u"), Outcome::Answers,
         Server->url("/endless.m3u"), false, "audio/mpeg"},
        {"a web page", Server->url("/page"), Outcome::NotAudio, Server->url("/page"), false, "text/html"},
        {"not found", Server->url("/gone"), Outcome::Failed, "", false, ""},
        {"nothing listens", "http://127.0.0.1:1/live", Outcome::Failed, "", false, ""},
    };
    for (const auto &c : cases) {
        const auto started = std::chrono::steady_clock::now();
        const TStationTrialResult result = TryStationAddress(c.Url, 5s);
        EXPECT_LT(std::chrono::steady_clock::now() - started, 4s) << c.What;
        EXPECT_EQ(result.Outcome, c.Expected) << c.What << ": " << result.Detail;
        EXPECT_EQ(result.StreamUrl, c.StreamUrl) << c.What;
        EXPECT_EQ(result.FromPlaylist, c.FromPlaylist) << c.What;
        EXPECT_EQ(result.ContentType, c.ContentType) << c.What;
        EXPECT_EQ(result.Detail.empty(), c.Expected != Outcome::Failed) << c.What;
    }
}

TEST_F(StationTrialTest, APeerThatNeverAnswersIsGivenUpAtTheBound) {
    Tunewell::Test::TSilentPeer silent;
    const auto started = std::chrono::steady_clock::now();
    const TStationTrialResult result = TryStationAddress(silent.BaseURL() + "/live", 1s);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(result.Outcome, Outcome::NoAnswer);
    EXPECT_GE(took, 1s);
    EXPECT_LT(took, 3s);
    EXPECT_EQ(StationTrialText(result, 1s), "No answer within 1 s / Sem resposta em 1 s");
}

TEST(StationTrialText, NamesWhatAnsweredInBothLanguages) {
    TStationTrialResult result;
    result.Outcome = Outcome::Answers;
    result.ContentType = "audio/mpeg";
    result.Bitrate = "128";
    EXPECT_EQ(StationTrialText(result, 8s), "Answers: audio/mpeg, 128 kb/s / Responde: audio/mpeg, 128 kb/s");
    result.FromPlaylist = true;
    result.StreamUrl = "http://s/live";
    result.Bitrate.clear();
    EXPECT_EQ(StationTrialText(result, 8s),
              "Answers: audio/mpeg (http://s/live) / Responde: audio/mpeg (http://s/live)");
    result.Outcome = Outcome::Failed;
    result.Detail = "HTTP 404";
    EXPECT_EQ(StationTrialText(result, 8s), "Does not answer: HTTP 404 / N\u00E3o responde: HTTP 404");
}

} // namespace
