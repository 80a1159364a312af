// The cloud client against the local cloud over TLS, as listeners meet the real services: straight
// to the cloud, which speaks HTTP/1.1, and through nghttpx, which speaks HTTP/2 by ALPN. The
// cloud's authority is trusted through TUNEWELL_CA_FILE.
#include "Cumulo/Authentication.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/QueueDispatcher.h"
#include "Cumulo/RealTimeDB.h"
#include "Http2Front.h"
#include "LocalCloud.h"
#include "ServiceAccount.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace Cumulo;
using namespace std::chrono_literals;
using TunewellTesting::Http2Front;
using TunewellTesting::LocalCloud;
using TunewellTesting::LocalCloudOptions;
using TunewellTesting::SignedInServiceAccount;

namespace {

enum class TFront { Direct, Http2 };

std::string FrontName(const testing::TestParamInfo<TFront> &Info) {
    return Info.param == TFront::Direct ? "Http11" : "Http2";
}

class CloudOverTls : public testing::TestWithParam<TFront> {
protected:
    void SetUp() override { SetMainThreadDispatcher(fDispatcher); }
    void TearDown() override {
        fListening.reset();
        fWriting.reset();
        SetMainThreadDispatcher(nullptr);
        ::unsetenv("TUNEWELL_CA_FILE");
    }

    void StartCloud(LocalCloudOptions Options) {
        Options.tls = true;
        // The client's paths, not the program's: its own rules would refuse them.
        Options.extraArguments.insert(Options.extraArguments.end(), {"--rules", "open"});
        fCloud = std::make_unique<LocalCloud>(Options);
        ::setenv("TUNEWELL_CA_FILE", fCloud->caFile().c_str(), 1);
        if (GetParam() == TFront::Http2)
            fFront = std::make_unique<Http2Front>(*fCloud);
        fListening = SignedInClient();
        fWriting = SignedInClient();
    }

    // The cloud and the front before it, as one server.
    void RestartServer() {
        if (fFront)
            fFront->stop();
        fCloud->restart();
        if (fFront)
            fFront->start();
    }

    std::shared_ptr<TRealTimeDB> SignedInClient() const {
        auto auth = SignedInServiceAccount({fFront ? fFront->identityUrl() : fCloud->identityUrl(),
                                            fFront ? fFront->tokenUrl() : fCloud->tokenUrl()});
        return std::make_shared<TRealTimeDB>(auth, fFront ? fFront->databaseUrl() : fCloud->databaseUrl());
    }

    std::shared_ptr<IFirebaseEvent> Listen(const TStringDynArray &Params) {
        return fListening->ListenForValueEvents(
            Params,
            [this](const std::string &, const TStringDynArray &, const TJSONValue &Object) {
                fHeard.push_back(Object.value("data", TJSONValue()).dump());
            },
            [] {}, [](const std::string &, const std::string &) {});
    }

    bool Pump(const std::function<bool()> &Done, std::chrono::milliseconds Limit = 10s) {
        return fDispatcher->PumpUntil(Done, Limit);
    }

    std::shared_ptr<TQueueDispatcher> fDispatcher = std::make_shared<TQueueDispatcher>();
    std::unique_ptr<LocalCloud> fCloud;
    std::unique_ptr<Http2Front> fFront;
    std::shared_ptr<TRealTimeDB> fListening;
    std::shared_ptr<TRealTimeDB> fWriting;
    std::vector<std::string> fHeard;
};

INSTANTIATE_TEST_SUITE_P(Fronts, CloudOverTls, testing::Values(TFront::Direct, TFront::Http2), FrontName);

TEST_P(CloudOverTls, RequestsAreAnsweredAndHttp2KeepsToOneConnection) {
    StartCloud({});
    for (int i = 0; i < 5; ++i) {
        fWriting->PutSynchronous({"tls", "n"}, i);
        EXPECT_EQ(fWriting->GetSynchronous({"tls", "n"})->get<int>(), i);
    }
    // Four threads at once, as a window's steps and the odd asynchronous request may come.
    std::vector<std::thread> threads;
    std::atomic<int> answered{0};
    for (int thread = 0; thread < 4; ++thread)
        threads.emplace_back([&, thread] {
            for (int i = 0; i < 10; ++i) {
                fWriting->PatchSynchronous({"tls", "threads"}, TJSONValue{{std::to_string(thread), i}});
                if (fWriting->GetSynchronous({"tls", "threads", std::to_string(thread)}) == TJSONValue(i))
                    ++answered;
            }
        });
    for (auto &thread : threads)
        thread.join();
    EXPECT_EQ(answered, 40);

    if (GetParam() == TFront::Http2) {
        const auto connections = fFront->connections();
        EXPECT_EQ(connections.protocols, std::set<std::string>{"h2"});
        EXPECT_EQ(connections.database.size(), 1u) << "one HTTP/2 connection carries every database request";
    }
}

// The service revokes a stream when its token expires; the listener renews the token, connects
// again and hears the next write; and so after the server went away and came back.
TEST_P(CloudOverTls, EventStreamCarriesOnThroughARenewalAndARestart) {
    LocalCloudOptions options;
    options.tokenLifetimeSeconds = 3;
    options.keepAliveSeconds = 1;
    StartCloud(options);
    auto handle = Listen({"tls", "stream"});
    ASSERT_TRUE(Pump([&] { return fHeard.size() == 1; }));
    fWriting->PutSynchronous({"tls", "stream"}, "first");
    ASSERT_TRUE(Pump([&] { return !fHeard.empty() && fHeard.back() == R"("first")"; }));

    // Past the expiry the stream was opened again with a new token: its first event repeats.
    const std::size_t before = fHeard.size();
    ASSERT_TRUE(Pump([&] { return fHeard.size() > before; }, 10s));
    EXPECT_EQ(fHeard.back(), R"("first")");

    RestartServer();
    // The front answers 502 until it has reconnected to the restarted cloud, and the writer's
    // connection to the front that went away may still be taken for the first write (an HTTP/2
    // stream error), which a slow sanitizer build makes likelier: the write is tried until it
    // goes through.
    const auto giveUp = std::chrono::steady_clock::now() + 20s;
    const auto tryAgain = [&giveUp] {
        if (std::chrono::steady_clock::now() > giveUp)
            throw;
        std::this_thread::sleep_for(200ms);
    };
    for (;;) {
        try {
            fWriting->PutSynchronous({"tls", "stream"}, "after restart");
            break;
        } catch (const Cumulo::EFirebaseResponse &) {
            tryAgain();
        } catch (const Cumulo::ETransport &) {
            tryAgain();
        }
    }
    EXPECT_TRUE(Pump([&] { return fHeard.back() == R"("after restart")"; }, 20s)) << fHeard.back();
    handle->StopListening("");
}

} // namespace
