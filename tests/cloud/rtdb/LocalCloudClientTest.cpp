// The authentication and database clients against a real local cloud: sign-in, reads, writes,
// merges, additions and deletions as the windows make them.

#include "Cumulo/Authentication.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/HttpTransport.h"
#include "Cumulo/QueueDispatcher.h"
#include "Cumulo/RealTimeDB.h"
#include "ExceptionMessage.h"
#include "FakeClock.h"

#include <LocalCloud.h>
#include <ServiceAccount.h>
#include <Tunewell/BuildValues.h>
#include <chrono>
#include <gtest/gtest.h>

using namespace Cumulo;
using namespace CumuloTest;
namespace BuildValues = Tunewell::BuildValues;

namespace {

// The client is tested on nodes of its own, outside the program's tree: the cloud's rules open.
TunewellTesting::LocalCloudOptions OpenRules() {
    TunewellTesting::LocalCloudOptions options;
    options.extraArguments = {"--rules", "open"};
    return options;
}

class LocalCloudClientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fCloud = std::make_unique<TunewellTesting::LocalCloud>(OpenRules()); }
    static void TearDownTestSuite() { fCloud.reset(); }

    void SetUp() override {
        fClock = std::make_shared<TFakeClock>(SystemClock()->Now());
        fAuth = TunewellTesting::SignedInServiceAccount({fCloud->identityUrl(), fCloud->tokenUrl()}, fClock);
        fDB = std::make_shared<TRealTimeDB>(fAuth, fCloud->databaseUrl());
    }

    static std::unique_ptr<TunewellTesting::LocalCloud> fCloud;
    std::shared_ptr<TFakeClock> fClock;
    std::shared_ptr<TFirebaseAuthentication> fAuth;
    std::shared_ptr<TRealTimeDB> fDB;
};

std::unique_ptr<TunewellTesting::LocalCloud> LocalCloudClientTest::fCloud;

TEST_F(LocalCloudClientTest, SignInGivesAFreshToken) {
    EXPECT_TRUE(fAuth->Authenticated());
    EXPECT_FALSE(fAuth->Token().empty());
    EXPECT_FALSE(fAuth->GetRefreshToken().empty());
    EXPECT_FALSE(fAuth->NeedTokenRefresh());
    EXPECT_EQ(MessageOf<EFirebaseResponse>([&] {
                  fAuth->SignInWithEmailAndPasswordSynchronous(BuildValues::kServiceEmail, "wrong pw");
              }),
              "INVALID_PASSWORD");
    EXPECT_FALSE(fAuth->Authenticated());
}

TEST_F(LocalCloudClientTest, ReadWriteMergeAddDelete) {
    const TStringDynArray node = {"CADASTRADO", "client test", "LAST"};
    EXPECT_EQ(fDB->GetSynchronous(node), TJSONValue(nullptr));

    EXPECT_EQ(fDB->PutSynchronous(node, {{"Serie", "12"}}), (TJSONValue{{"Serie", "12"}}));
    EXPECT_EQ(fDB->PatchSynchronous(node, {{"Nome", "Rádio Ação/1"}}),
              (TJSONValue{{"Nome", "Rádio Ação/1"}}));
    EXPECT_EQ(fDB->GetSynchronous(node), (TJSONValue{{"Nome", "Rádio Ação/1"}, {"Serie", "12"}}));

    auto added = fDB->PostSynchronous({"CADASTRADO"}, {{"Nome", "Ana"}});
    ASSERT_TRUE(added && added->contains("name"));
    const std::string key = (*added)["name"].get<std::string>();
    EXPECT_EQ(fDB->GetSynchronous({"CADASTRADO", key, "Nome"}), TJSONValue("Ana"));

    EXPECT_TRUE(fDB->DeleteSynchronous({"CADASTRADO", key}));
    EXPECT_TRUE(fDB->DeleteSynchronous(node));
    EXPECT_EQ(fDB->GetSynchronous({"CADASTRADO", key}), TJSONValue(nullptr));
}

TEST_F(LocalCloudClientTest, DueTokenIsRenewed) {
    // Once the local clock says the token is due, it is renewed with the refresh token.
    const TDateTime due = fAuth->TokenExpiryDT();
    fClock->Set(due);
    EXPECT_TRUE(fAuth->CheckAndRefreshTokenSynchronous());
    EXPECT_TRUE(fAuth->Authenticated());
    EXPECT_FALSE(fAuth->Token().empty());
    EXPECT_DOUBLE_EQ(fAuth->TokenExpiryDT(), due + Seconds(3600));
    EXPECT_EQ(fDB->PutSynchronous({"VERSOES", "client test"}, "2.2"), TJSONValue("2.2"));
    EXPECT_TRUE(fDB->DeleteSynchronous({"VERSOES", "client test"}));
}

TEST_F(LocalCloudClientTest, AsynchronousReadAndWrite) {
    auto dispatcher = std::make_shared<TQueueDispatcher>();
    SetMainThreadDispatcher(dispatcher);
    std::string written, read;
    fDB->Put(
        {"ASYNC"}, {{"k", "v"}}, [&](auto &, const TOptionalJSON &Val) { written = Val->dump(); },
        [&](auto &, const std::string &ErrMsg) { written = "error " + ErrMsg; });
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return !written.empty(); }, std::chrono::seconds(10)));
    fDB->Get(
        {"ASYNC", "k"}, [&](auto &, const TOptionalJSON &Val) { read = Val->dump(); },
        [&](auto &, const std::string &ErrMsg) { read = "error " + ErrMsg; });
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return !read.empty(); }, std::chrono::seconds(10)));
    SetMainThreadDispatcher(nullptr);
    EXPECT_EQ(written, R"({"k":"v"})");
    EXPECT_EQ(read, R"("v")");
    EXPECT_TRUE(fDB->DeleteSynchronous({"ASYNC"}));
}

// Only the first request to each host opens a connection, whether synchronous or asynchronous,
// from one client or another; a listener's stream has a connection of its own. A POST (here the
// sign-in and the token's renewal) always opens its own, so that it is never sent twice. With
// reuse off (for comparisons) every request opens one.
TEST(LocalCloudConnections, RequestsShareOneConnectionPerHostAndTheStreamHasItsOwn) {
    struct Case {
        bool Reuse;
        std::uint64_t Database;
        std::uint64_t Identity;
    } const cases[] = {{true, 2, 2}, {false, 7, 2}};
    auto dispatcher = std::make_shared<TQueueDispatcher>();
    SetMainThreadDispatcher(dispatcher);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Reuse ? "reuse" : "no reuse");
        THttpTransport::Shared().SetConnectionReuse(c.Reuse);
        TunewellTesting::LocalCloud cloud(OpenRules());
        const auto clock = std::make_shared<TFakeClock>(SystemClock()->Now());
        auto auth = TunewellTesting::SignedInServiceAccount({cloud.identityUrl(), cloud.tokenUrl()}, clock);
        clock->Set(auth->TokenExpiryDT());
        ASSERT_TRUE(auth->CheckAndRefreshTokenSynchronous());
        auto first = std::make_shared<TRealTimeDB>(auth, cloud.databaseUrl());
        auto second = std::make_shared<TRealTimeDB>(auth, cloud.databaseUrl());
        first->PutSynchronous({"n"}, 1);
        second->GetSynchronous({"n"});
        first->PatchSynchronous({"m"}, {{"a", 1}});
        bool answered = false;
        second->Put(
            {"n"}, 2, [&](auto &, auto &) { answered = true; }, nullptr);
        ASSERT_TRUE(dispatcher->PumpUntil([&] { return answered; }, std::chrono::seconds(10)));
        answered = false;
        first->Get(
            {"n"}, [&](auto &, auto &) { answered = true; }, nullptr);
        ASSERT_TRUE(dispatcher->PumpUntil([&] { return answered; }, std::chrono::seconds(10)));

        int events = 0;
        auto handle = first->ListenForValueEvents(
            {"n"}, [&](auto &, auto &, auto &) { ++events; }, nullptr, nullptr);
        ASSERT_TRUE(dispatcher->PumpUntil([&] { return events == 1; }, std::chrono::seconds(10)));
        second->PutSynchronous({"n"}, 3);
        ASSERT_TRUE(dispatcher->PumpUntil([&] { return events == 2; }, std::chrono::seconds(10)));
        first.reset();

        const auto accepted = cloud.connectionsAccepted();
        EXPECT_EQ(accepted.database, c.Database);
        EXPECT_EQ(accepted.identity, c.Identity + 1); // the question's own
    }
    THttpTransport::Shared().SetConnectionReuse(true);
    SetMainThreadDispatcher(nullptr);
}

} // namespace
