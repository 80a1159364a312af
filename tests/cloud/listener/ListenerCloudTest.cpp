// The listener against the local cloud: a second client writes, the listener hears every change.

#include "Cumulo/Authentication.h"
#include "Cumulo/QueueDispatcher.h"
#include "Cumulo/RealTimeDB.h"
#include "LocalCloud.h"
#include "ServiceAccount.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace Cumulo;
using namespace std::chrono_literals;
using TunewellTesting::LocalCloud;
using TunewellTesting::LocalCloudOptions;
using TunewellTesting::SignedInServiceAccount;

namespace {

struct TChange {
    std::string Name;
    std::string Data;
    bool operator==(const TChange &) const = default;
};

void PrintTo(const TChange &Change, std::ostream *Out) {
    *Out << Change.Name << " " << Change.Data;
}

class ListenerCloud : public testing::Test {
protected:
    void SetUp() override { SetMainThreadDispatcher(fDispatcher); }
    void TearDown() override {
        fListening.reset();
        fWriting.reset();
        SetMainThreadDispatcher(nullptr);
    }

    void StartCloud(LocalCloudOptions Options) {
        // The listener is tested on nodes of its own, outside the program's tree: rules open.
        Options.extraArguments.insert(Options.extraArguments.end(), {"--rules", "open"});
        fCloud = std::make_unique<LocalCloud>(Options);
        fListening = SignedInClient();
        fWriting = SignedInClient();
    }

    std::shared_ptr<TRealTimeDB> SignedInClient() const {
        return std::make_shared<TRealTimeDB>(
            SignedInServiceAccount({fCloud->identityUrl(), fCloud->tokenUrl()}), fCloud->databaseUrl());
    }

    std::shared_ptr<IFirebaseEvent> Listen(const TStringDynArray &Params) {
        return fListening->ListenForValueEvents(
            Params,
            [this](const std::string &Name, const TStringDynArray &, const TJSONValue &Object) {
                fChanges.push_back({Name, Object.dump()});
            },
            [this] { ++fStops; },
            [this](const std::string &RequestID, const std::string &Message) {
                ADD_FAILURE() << "error " << RequestID << ": " << Message;
            });
    }

    bool Pump(const std::function<bool()> &Done, std::chrono::milliseconds Limit = 10s) {
        return fDispatcher->PumpUntil(Done, Limit);
    }

    std::shared_ptr<TQueueDispatcher> fDispatcher = std::make_shared<TQueueDispatcher>();
    std::unique_ptr<LocalCloud> fCloud;
    std::shared_ptr<TRealTimeDB> fListening;
    std::shared_ptr<TRealTimeDB> fWriting;
    std::vector<TChange> fChanges;
    int fStops = 0;
};

TEST_F(ListenerCloud, HearsEveryWriteAtAndBelowTheNodeInOrderAndStopsWithinASecond) {
    LocalCloudOptions options;
    options.keepAliveSeconds = 1;
    StartCloud(options);
    auto handle = Listen({"it", "node"});
    ASSERT_TRUE(Pump([&] { return fChanges.size() == 1; }));

    fWriting->PutSynchronous({"it", "node"}, TJSONValue{{"a", 1}});
    fWriting->PatchSynchronous({"it", "node"}, TJSONValue{{"b", 2}});
    const auto pushed = fWriting->PostSynchronous({"it", "node", "list"}, "x")->at("name").get<std::string>();
    fWriting->PutSynchronous({"it", "other"}, 9);
    fWriting->PutSynchronous({"it", "node", "a"}, "\xC3\xA1gua");
    fWriting->DeleteSynchronous({"it", "node", "b"});
    fWriting->PatchSynchronous({"it"}, TJSONValue{{"node/c", 3}});
    fWriting->DeleteSynchronous({"it", "node"});

    const std::vector<TChange> expected = {
        {"put", R"({"path":"/","data":null})"},
        {"put", R"({"path":"/","data":{"a":1}})"},
        {"patch", R"({"path":"/","data":{"b":2}})"},
        {"put", R"({"path":"/list/)" + pushed + R"(","data":"x"})"},
        {"put", "{\"path\":\"/a\",\"data\":\"\xC3\xA1gua\"}"},
        {"put", R"({"path":"/b","data":null})"},
        {"put", R"({"path":"/c","data":3})"},
        {"put", R"({"path":"/","data":null})"},
    };
    ASSERT_TRUE(Pump([&] { return fChanges.size() >= expected.size(); }));
    EXPECT_EQ(fChanges, expected);
    EXPECT_TRUE(Pump([&] { return fListening->GetLastKeepAliveTimeStamp() > 0; }, 5s));

    // Nothing is written for an empty node name: the stop alone ends the stream.
    fWriting->PutSynchronous({"it", "node"}, TJSONValue{{"kept", true}});
    ASSERT_TRUE(Pump([&] { return fChanges.size() == expected.size() + 1; }));
    handle->StopListening("");
    EXPECT_TRUE(Pump([&] { return fStops == 1; }, 1s));
    EXPECT_EQ(fWriting->GetSynchronous({"it", "node"})->dump(), R"({"kept":true})");
}

TEST_F(ListenerCloud, StopWithANodeNameWritesTheServerTimeBelowTheNode) {
    StartCloud({});
    auto handle = Listen({"it", "stop"});
    ASSERT_TRUE(Pump([&] { return fChanges.size() == 1; }));
    handle->StopListening("wake");
    EXPECT_TRUE(Pump([&] { return fStops == 1; }, 1s));
    EXPECT_TRUE(Pump([&] { return fWriting->GetSynchronous({"it", "stop", "wake"})->is_number(); }, 5s));
}

// The service revokes the stream when the token expires; the listener renews the token,
// reconnects and hears the next write.
TEST_F(ListenerCloud, CarriesOnAfterTheTokenExpires) {
    LocalCloudOptions options;
    // Long enough for a renewed token to reach the server unexpired on a slow sanitizer build.
    options.tokenLifetimeSeconds = 4;
    options.keepAliveSeconds = 30;
    StartCloud(options);
    auto handle = Listen({"it", "expiry"});
    ASSERT_TRUE(Pump([&] { return fChanges.size() == 1; }));
    // Past the expiry, the stream has been revoked and opened again (its first event repeats).
    ASSERT_TRUE(Pump([&] { return fChanges.size() == 2; }, 15s));
    fWriting->PutSynchronous({"it", "expiry"}, "late");
    ASSERT_TRUE(Pump([&] { return fChanges.size() == 3; }));
    EXPECT_EQ(fChanges.back(), (TChange{"put", R"({"path":"/","data":"late"})"}));
    EXPECT_EQ(fStops, 0);
}

} // namespace
