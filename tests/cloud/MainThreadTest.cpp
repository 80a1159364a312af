#include "Cumulo/Helpers.h"
#include "Cumulo/RealTimeDB.h"
#include "FakeAuthentication.h"
#include "MainThreadFixture.h"
#include "Tunewell/Test/ScriptedPeer.h"

#include <gtest/gtest.h>
#include <sstream>
#include <thread>

using namespace Cumulo;
using namespace Tunewell::Test;

namespace {

TEST(QueueDispatcher, RunsPostsInOrderIncludingThoseMadeWhileRunning) {
    TQueueDispatcher dispatcher;
    std::vector<int> ran;
    dispatcher.Post([&] {
        ran.push_back(1);
        dispatcher.Post([&] { ran.push_back(3); });
    });
    dispatcher.Post([&] { ran.push_back(2); });
    EXPECT_EQ(dispatcher.PendingCount(), 2u);
    EXPECT_TRUE(ran.empty());
    dispatcher.ProcessPending();
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(dispatcher.PendingCount(), 0u);
}

TEST(QueueDispatcher, PumpUntilRunsWorkerPostsOnTheCallingThread) {
    TQueueDispatcher dispatcher;
    std::thread::id ranOn;
    std::thread worker([&] { dispatcher.Post([&] { ranOn = std::this_thread::get_id(); }); });
    EXPECT_TRUE(dispatcher.PumpUntil([&] { return ranOn != std::thread::id(); }, CloudTest::kPumpLimit));
    worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_FALSE(dispatcher.PumpUntil([] { return false; }, std::chrono::milliseconds(1)));
}

class MainThreadHelpers : public CloudTest::TMainThreadFixture {};

TEST_F(MainThreadHelpers, SleepAndMessageLoopRunsWhatWaits) {
    bool ran = false;
    PostToMainThread([&] { ran = true; });
    TFirebaseHelpers::SleepAndMessageLoop(0);
    EXPECT_TRUE(ran);
}

TEST_F(MainThreadHelpers, AppIsTerminatedIsOneFlag) {
    EXPECT_FALSE(TFirebaseHelpers::AppIsTerminated());
    std::thread([] { TFirebaseHelpers::SetAppTerminated(true); }).join();
    EXPECT_TRUE(TFirebaseHelpers::AppIsTerminated());
}

TEST_F(MainThreadHelpers, SimpleDownloadReportsOnTheMainThread) {
    TScriptedPeer peer;
    peer.Enqueue(TScriptedAnswer::Json(200, "lista de rádios"));
    peer.Enqueue(TScriptedAnswer::Json(404, "missing"));
    auto stream = std::make_shared<std::ostringstream>();
    std::vector<std::string> outcomes;
    const auto success = [&](const std::string &URL) {
        EXPECT_TRUE(OnMainThread());
        outcomes.push_back("ok " + URL);
    };
    const auto failure = [&](const std::string &URL, const std::string &ErrMsg) {
        EXPECT_TRUE(OnMainThread());
        outcomes.push_back("error " + URL + " " + ErrMsg);
    };
    TFirebaseHelpers::SimpleDownload(peer.BaseURL() + "/a.txt", stream, success, failure);
    ASSERT_TRUE(Pump([&] { return outcomes.size() == 1; }));
    EXPECT_EQ(stream->str(), "lista de rádios");

    TFirebaseHelpers::SimpleDownload(peer.BaseURL() + "/b.txt", stream, success, failure);
    ASSERT_TRUE(Pump([&] { return outcomes.size() == 2; }));
    EXPECT_EQ(LogLines().back(), "missing");

    const std::string closed = "http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/c.txt";
    TFirebaseHelpers::SimpleDownload(closed, stream, success, failure);
    ASSERT_TRUE(Pump([&] { return outcomes.size() == 3; }));
    TFirebaseHelpers::SimpleDownload(closed, stream, success, nullptr);
    ASSERT_TRUE(Pump([] { return RunningAsyncRequests() == 0; }));

    EXPECT_EQ(outcomes[0], "ok " + peer.BaseURL() + "/a.txt");
    EXPECT_EQ(outcomes[1], "error " + peer.BaseURL() + "/b.txt Not Found");
    EXPECT_TRUE(outcomes[2].starts_with("error " + closed + " ")) << outcomes[2];
    EXPECT_TRUE(LogLines().back().starts_with("Firebase failure in " + closed + ": ")) << LogLines().back();
    EXPECT_EQ(stream->str(), "lista de rádios");
}

// A tool that installed no main thread still hears of what its workers could not deliver, and an
// asynchronous call never raises into its caller for want of one.
TEST_F(MainThreadHelpers, WithoutADispatcherWhatCannotBeDeliveredIsLogged) {
    TScriptedPeer peer;
    auto auth = std::make_shared<CloudTest::TFakeAuthentication>();
    TRealTimeDB database(auth, peer.BaseURL());
    const struct {
        const char *Name;
        std::function<void()> Start;
        std::string Line;
    } cases[] = {
        {"an answer",
         [&] {
             ExecuteAsync({rmGET, peer.BaseURL() + "/a", {}, {}}, nullptr, nullptr);
         },
         "Answer 200 to " + peer.BaseURL() + "/a"},
        {"a download's report",
         [&] {
             TFirebaseHelpers::SimpleDownload(
                 peer.BaseURL() + "/b", nullptr, [](const std::string &) {}, nullptr);
         },
         "Download report of " + peer.BaseURL() + "/b"},
        {"a request refused before it is sent",
         [&] {
             database.Get({"a", ""}, nullptr, nullptr);
         },
         "Firebase failure in a,: "},
    };
    Cumulo::SetMainThreadDispatcher(nullptr);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        const std::size_t before = LogLines().size();
        EXPECT_NO_THROW(c.Start());
        ASSERT_TRUE(Pump([&] { return RunningAsyncRequests() == 0 && LogLines().size() > before; }));
        const std::string line = LogLines().back();
        EXPECT_TRUE(line.starts_with(c.Line)) << line;
        EXPECT_NE(line.find("(not delivered: No main-thread dispatcher installed)"), std::string::npos)
            << line;
    }
}

} // namespace
