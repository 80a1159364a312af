// The listener against a scripted peer whose event streams the tests release chunk by chunk.

#include "../ScopedTransferLimits.h"
#include "Cumulo/AsyncHttp.h"
#include "Cumulo/QueueDispatcher.h"
#include "Cumulo/RealTimeDB.h"
#include "FakeAuthentication.h"
#include "Tunewell/Test/ScriptedPeer.h"

#include <arpa/inet.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace Cumulo;
using namespace std::chrono_literals;
using Tunewell::Test::TScriptedAnswer;
using Tunewell::Test::TScriptedPeer;
using Tunewell::Test::TStreamedAnswer;

namespace {

struct TReceived {
    std::string Name;
    TStringDynArray Params;
    std::string Data;
    bool operator==(const TReceived &) const = default;
};

struct TError {
    std::string RequestID;
    std::string Message;
};

class ListenerProtocol : public testing::Test {
protected:
    void SetUp() override { SetMainThreadDispatcher(fDispatcher); }
    void TearDown() override {
        fDb.reset();
        SetMainThreadDispatcher(nullptr);
    }

    std::shared_ptr<TStreamedAnswer> QueueStream() {
        auto stream = std::make_shared<TStreamedAnswer>();
        TScriptedAnswer answer;
        answer.ContentType = "text/event-stream; charset=utf-8";
        answer.Stream = stream;
        fPeer.Enqueue(answer);
        return stream;
    }

    void QueueRefusal(int Status, std::string Body) {
        TScriptedAnswer answer;
        answer.Status = Status;
        answer.Body = std::move(Body);
        fPeer.Enqueue(answer);
    }

    std::shared_ptr<IFirebaseEvent> Listen(const TStringDynArray &Params) {
        return fDb->ListenForValueEvents(
            Params,
            [this](const std::string &Name, const TStringDynArray &EventParams, const TJSONValue &Object) {
                fReceived.push_back({Name, EventParams, Object.dump()});
                fCallbackThreads.push_back(std::this_thread::get_id());
            },
            [this] { ++fStops; },
            [this](const std::string &RequestID, const std::string &Message) {
                fErrors.push_back({RequestID, Message});
            });
    }

    struct TRevokedSession {
        std::shared_ptr<IFirebaseEvent> Handle;
        std::shared_ptr<TStreamedAnswer> Stream;
    };
    // Listens on ["a"] with a new client of fAuth and has the service revoke the authorisation on
    // the first stream. The listener pauses before it connects again: time enough to queue what
    // the next connection gets.
    TRevokedSession ListenUntilRevoked() {
        fDb = std::make_shared<TRealTimeDB>(fAuth, fPeer.BaseURL());
        TRevokedSession session{nullptr, QueueStream()};
        session.Handle = Listen({"a"});
        EXPECT_TRUE(session.Stream->WaitUntilStarted(5s));
        session.Stream->Send("event: auth_revoked\ndata: credential is no longer valid\n\n");
        return session;
    }

    bool Pump(const std::function<bool()> &Done, std::chrono::milliseconds Limit = 5s) {
        return fDispatcher->PumpUntil(Done, Limit);
    }

    // The peer only learns that a client has gone when it writes: comments carry no event.
    static bool ClientLeft(TStreamedAnswer &Stream) {
        for (int attempt = 0; attempt < 50; ++attempt) {
            Stream.Send(": anyone there?\n");
            if (Stream.WaitUntilEnded(100ms))
                return Stream.ClientWentAway();
        }
        return false;
    }

    // True once Count procedures wait for the main thread, within a few seconds; none is run.
    bool WaitUntilPosted(std::size_t Count) const {
        for (int attempt = 0; attempt < 500 && fDispatcher->PendingCount() < Count; ++attempt)
            std::this_thread::sleep_for(10ms);
        return fDispatcher->PendingCount() >= Count;
    }

    std::size_t PutCount() const {
        std::size_t puts = 0;
        for (const auto &request : fPeer.Requests())
            puts += request.Method == "PUT";
        return puts;
    }

    std::shared_ptr<TQueueDispatcher> fDispatcher = std::make_shared<TQueueDispatcher>();
    TScriptedPeer fPeer;
    std::shared_ptr<CumuloTest::TFakeAuthentication> fAuth =
        std::make_shared<CumuloTest::TFakeAuthentication>();
    std::shared_ptr<TRealTimeDB> fDb = std::make_shared<TRealTimeDB>(fAuth, fPeer.BaseURL());
    std::vector<TReceived> fReceived;
    std::vector<std::thread::id> fCallbackThreads;
    std::vector<TError> fErrors;
    int fStops = 0;
};

TEST_F(ListenerProtocol, DeliversEveryEventWholeAndInOrderOnTheMainThread) {
    auto stream = QueueStream();
    auto handle = Listen({"a", "b c"});
    ASSERT_TRUE(stream->WaitUntilStarted(5s));
    // Cut inside a name, a line end and a UTF-8 character; several events in one arrival.
    stream->Send("event: put\ndata: {\"path\":\"/\",\"da");
    stream->Send("ta\":\"r\xC3");
    stream->Send("\xA1"
                 "dio\"}\r");
    stream->Send("\n\r\nevent: patch\r\ndata: {\"path\":\"/x\",\"data\":1}\r\n\r\n"
                 "event: keep-alive\ndata: null\n\nevent: put\rdata: {\"path\":\"/y\",\"data\":2}\r\r");
    ASSERT_TRUE(Pump([&] { return fReceived.size() == 3; }))
        << fReceived.size() << " " << (fErrors.empty() ? "" : fErrors[0].RequestID + fErrors[0].Message);

    const TStringDynArray params{"a", "b c"};
    EXPECT_EQ(fReceived, (std::vector<TReceived>{
                             {"put", params,
                              "{\"path\":\"/\",\"data\":\"r\xC3\xA1"
                              "dio\"}"},
                             {"patch", params, "{\"path\":\"/x\",\"data\":1}"},
                             {"put", params, "{\"path\":\"/y\",\"data\":2}"},
                         }));
    for (const auto id : fCallbackThreads)
        EXPECT_EQ(id, std::this_thread::get_id());
    EXPECT_GT(fDb->GetLastKeepAliveTimeStamp(), 0);
    EXPECT_TRUE(fErrors.empty());

    const auto request = fPeer.Requests().at(0);
    EXPECT_EQ(request.Method, "GET");
    EXPECT_EQ(request.Path, "/a/b+c.json");
    EXPECT_EQ(request.Query, "auth=token1");
    EXPECT_EQ(request.Header("Accept"), "text/event-stream");
    // Compressed, the events would wait in the compressor's buffers.
    EXPECT_EQ(request.Header("Accept-Encoding"), "identity");
    EXPECT_EQ(handle->GetResourceParams(), params);
}

// The limits of requests do not apply to the stream, which is meant to last and may be silent
// between keep-alives.
TEST_F(ListenerProtocol, TheStreamOutlastsTheLimitsOfRequests) {
    TTransferLimits limits;
    limits.FirstByte = limits.ProgressWindow = limits.SmallRequestDeadline = 300ms;
    CloudTest::TScopedTransferLimits scoped(limits);
    auto stream = QueueStream();
    auto handle = Listen({"a"});
    ASSERT_TRUE(stream->WaitUntilStarted(5s));
    stream->Send("event: put\ndata: {\"data\":1}\n\n");
    ASSERT_TRUE(Pump([&] { return fReceived.size() == 1; }));
    std::this_thread::sleep_for(600ms);
    stream->Send("event: put\ndata: {\"data\":2}\n\n");
    ASSERT_TRUE(Pump([&] { return fReceived.size() == 2; }));
    EXPECT_EQ(fPeer.RequestCount(), 1u);
    EXPECT_TRUE(fErrors.empty());
}

TEST_F(ListenerProtocol, ListensAtTheRoot) {
    auto stream = QueueStream();
    auto handle = Listen({});
    ASSERT_TRUE(stream->WaitUntilStarted(5s));
    EXPECT_EQ(fPeer.Requests().at(0).Path, "/.json");
}

TEST_F(ListenerProtocol, DataThatIsNoObjectIsReportedOrDroppedAndTheStreamGoesOn) {
    auto stream = QueueStream();
    auto handle = Listen({"a"});
    ASSERT_TRUE(stream->WaitUntilStarted(5s));
    stream->Send("event: put\ndata: {\"path\":\n\n"
                 "event: put\ndata: \"text\"\n\n"
                 "event: put\ndata:\n\n"
                 "event: put\ndata: {\"path\":\"/\",\"data\":3}\n\n");
    ASSERT_TRUE(Pump([&] { return fReceived.size() == 1 && fErrors.size() == 1; }));
    EXPECT_EQ(fReceived[0].Data, "{\"path\":\"/\",\"data\":3}");
    EXPECT_EQ(fErrors[0].RequestID, "Exception in event parser");
    EXPECT_EQ(fErrors[0].Message, "Data of event put is a JSON string, not an object");
}

// After "auth_revoked" the stream is left and the next connection carries a renewed token,
// whether or not the local clock finds the old one due.
TEST_F(ListenerProtocol, AuthRevokedRenewsTheTokenBeforeTheNextConnection) {
    for (const bool dueByClock : {false, true}) {
        SCOPED_TRACE(dueByClock ? "due by the clock" : "fresh by the clock");
        fAuth = std::make_shared<CumuloTest::TFakeAuthentication>();
        fAuth->DueByClock = dueByClock;
        const auto before = fPeer.RequestCount();
        const auto revoked = ListenUntilRevoked();
        auto renewed = QueueStream();
        ASSERT_TRUE(Pump([&] { return renewed->WaitUntilStarted(0ms); }));
        EXPECT_TRUE(ClientLeft(*revoked.Stream));
        renewed->Send("event: put\ndata: {\"data\":1}\n\n");
        ASSERT_TRUE(Pump([&] { return !fReceived.empty(); }));

        const auto requests = fPeer.Requests();
        EXPECT_EQ(requests.at(before).Query, "auth=token1");
        EXPECT_EQ(requests.at(before + 1).Query, "auth=token2");
        EXPECT_EQ(fAuth->Checks, 1);
        EXPECT_EQ(fAuth->Refreshes, dueByClock ? 0 : 1);
        EXPECT_TRUE(fErrors.empty());
        fDb.reset();
        fReceived.clear();
    }
}

// A refused renewal, whether the synchronous one raised or the forced one reported it, is
// reported; the listener stays, tries the renewal again after its pause, and only then connects.
TEST_F(ListenerProtocol, ARefusedRenewalIsReportedAndTriedAgain) {
    for (const bool dueByClock : {true, false}) {
        SCOPED_TRACE(dueByClock ? "due by the clock" : "fresh by the clock");
        fAuth = std::make_shared<CumuloTest::TFakeAuthentication>();
        fAuth->DueByClock = dueByClock;
        fAuth->RefusedRenewals = 1;
        fErrors.clear();
        fStops = 0;
        const auto before = fPeer.RequestCount();
        const auto revoked = ListenUntilRevoked();
        auto renewed = QueueStream();
        ASSERT_TRUE(Pump([&] { return renewed->WaitUntilStarted(0ms); }));

        ASSERT_EQ(fErrors.size(), 1u);
        EXPECT_EQ(fErrors[0].RequestID, "a");
        EXPECT_EQ(fErrors[0].Message, "Authorisation token refresh failed: TOKEN_EXPIRED");
        EXPECT_EQ(fStops, 0);
        const auto requests = fPeer.Requests();
        ASSERT_EQ(requests.size(), before + 2);
        EXPECT_EQ(requests.at(before + 1).Query, "auth=token2");
        EXPECT_EQ(fAuth->Checks + fAuth->Refreshes, dueByClock ? 2 : 4);
        fDb.reset();
        fDispatcher->ProcessPending();
    }
}

// A renewal may wait on the token service for as long as the transport allows; releasing the
// client or listening anew must not wait with it. The renewal ends on its own afterwards.
TEST_F(ListenerProtocol, StoppingDoesNotWaitForARenewalInFlight) {
    for (const bool release : {true, false}) {
        SCOPED_TRACE(release ? "client released" : "listening anew");
        fAuth = std::make_shared<CumuloTest::TFakeAuthentication>();
        fAuth->DueByClock = true;
        fAuth->HoldRenewals();
        const auto revoked = ListenUntilRevoked();
        ASSERT_TRUE(fAuth->WaitForHeldRenewal(5s));

        if (release) {
            fDb.reset();
        } else {
            QueueStream();
            Listen({"b"});
        }
        EXPECT_EQ(fAuth->RenewalsHeld(), 1);
        fAuth->ReleaseRenewals();
        EXPECT_TRUE(Pump([] { return RunningAsyncRequests() == 0; }));
        fDb.reset();
        fDispatcher->ProcessPending();
    }
}

// A refused answer is never read as events: its status and text reach the error callback,
// 401 renews the token, and each further attempt waits longer than the one before.
TEST_F(ListenerProtocol, RefusedAnswersAreReportedAndRetriedWithGrowingPauses) {
    QueueRefusal(401, "{\"error\":\"Permission denied\"}");
    QueueRefusal(503, "event: put\ndata: {\"not\":\"an event\"}\n\n");
    auto stream = QueueStream();
    const auto start = std::chrono::steady_clock::now();
    auto handle = Listen({"a", "b"});
    ASSERT_TRUE(fPeer.WaitForRequests(1, 5s));
    ASSERT_TRUE(Pump([&] { return fPeer.RequestCount() >= 2; }));
    const auto second = std::chrono::steady_clock::now();
    ASSERT_TRUE(Pump([&] { return fPeer.RequestCount() >= 3; }));
    const auto third = std::chrono::steady_clock::now();
    ASSERT_TRUE(stream->WaitUntilStarted(5s));
    stream->Send("event: put\ndata: {\"data\":1}\n\n");
    ASSERT_TRUE(Pump([&] { return !fReceived.empty() && fErrors.size() == 2; }));

    EXPECT_EQ(fErrors[0].RequestID, "a,b");
    EXPECT_EQ(fErrors[0].Message, "401 Unauthorized: {\"error\":\"Permission denied\"}");
    EXPECT_EQ(fErrors[1].Message, "503 Service Unavailable: event: put\ndata: {\"not\":\"an event\"}\n\n");
    ASSERT_EQ(fReceived.size(), 1u);
    EXPECT_EQ(fReceived[0].Data, "{\"data\":1}");
    const auto requests = fPeer.Requests();
    EXPECT_EQ(requests.at(0).Query, "auth=token1");
    EXPECT_EQ(requests.at(1).Query, "auth=token2");
    EXPECT_EQ(fAuth->Refreshes, 1);
    EXPECT_GE(second - start, 450ms);
    EXPECT_GE(third - second, 950ms);
}

TEST_F(ListenerProtocol, StopListeningEndsAQuietStreamAndWritesOnlyBelowTheNode) {
    struct Case {
        std::string NodeName;
        std::size_t Writes;
    };
    for (const Case &c : {Case{"", 0}, Case{"stop", 1}}) {
        SCOPED_TRACE("node name '" + c.NodeName + "'");
        fStops = 0;
        const auto putsBefore = PutCount();
        auto stream = QueueStream();
        auto handle = Listen({"a"});
        ASSERT_TRUE(stream->WaitUntilStarted(5s));
        EXPECT_FALSE(handle->IsStopped());

        handle->StopListening(c.NodeName);
        EXPECT_TRUE(handle->IsStopped());
        EXPECT_TRUE(Pump([&] { return fStops == 1; }, 1s));
        EXPECT_TRUE(ClientLeft(*stream));
        if (c.Writes) {
            ASSERT_TRUE(Pump([&] { return PutCount() == putsBefore + 1; }));
        }
        EXPECT_EQ(PutCount(), putsBefore + c.Writes);
        for (const auto &request : fPeer.Requests()) {
            if (request.Method == "PUT") {
                EXPECT_EQ(request.Path, "/a/stop.json");
                EXPECT_EQ(request.Body, "{\".sv\":\"timestamp\"}");
            }
        }
        EXPECT_TRUE(fErrors.empty());
    }
}

TEST_F(ListenerProtocol, ASecondListenEndsTheFirstAndTheOldHandleCannotStopTheNew) {
    auto first = QueueStream();
    auto oldHandle = Listen({"a"});
    ASSERT_TRUE(first->WaitUntilStarted(5s));
    auto second = QueueStream();
    auto newHandle = Listen({"b"});
    EXPECT_TRUE(Pump([&] { return fStops == 1; }));
    EXPECT_TRUE(ClientLeft(*first));
    ASSERT_TRUE(second->WaitUntilStarted(5s));

    oldHandle->StopListening("");
    second->Send("event: put\ndata: {\"data\":2}\n\n");
    ASSERT_TRUE(Pump([&] { return !fReceived.empty(); }));
    EXPECT_EQ(fReceived[0].Params, TStringDynArray{"b"});
    EXPECT_EQ(fStops, 1);
    EXPECT_FALSE(second->ClientWentAway());
}

// Whoever owns the client may be gone once it is released: nothing of that client is called
// back afterwards, not even what its listener had already posted.
TEST_F(ListenerProtocol, ReleasingTheClientEndsItsListenerAndItsCallbacks) {
    auto stream = QueueStream();
    auto handle = Listen({"a"});
    ASSERT_TRUE(stream->WaitUntilStarted(5s));
    stream->Send("event: put\ndata: {\"data\":1}\n\nevent: put\ndata: \"not an object\"\n\n");
    ASSERT_TRUE(WaitUntilPosted(2));

    fDb.reset();
    EXPECT_TRUE(ClientLeft(*stream));
    fDispatcher->ProcessPending();
    EXPECT_TRUE(fReceived.empty());
    EXPECT_TRUE(fErrors.empty());
    EXPECT_EQ(fStops, 0);
    handle->StopListening("late");
    EXPECT_TRUE(handle->IsStopped());
    EXPECT_EQ(PutCount(), 0u);
}

// A callback run while StopListening waits may release the client and stop again: the second
// stop writes nothing, and the released client hears nothing more.
TEST_F(ListenerProtocol, AClientReleasedWhileStoppingIsNotWrittenThroughNorCalledBack) {
    auto stream = QueueStream();
    std::shared_ptr<IFirebaseEvent> handle;
    int events = 0;
    handle = fDb->ListenForValueEvents(
        {"a"},
        [&](const std::string &, const TStringDynArray &, const TJSONValue &) {
            ++events;
            fDb.reset();
            handle->StopListening("late");
        },
        [this] { ++fStops; }, nullptr);
    ASSERT_TRUE(stream->WaitUntilStarted(5s));
    stream->Send("event: put\ndata: {\"data\":1}\n\nevent: put\ndata: {\"data\":2}\n\n");
    ASSERT_TRUE(WaitUntilPosted(2));

    handle->StopListening("stop");
    ASSERT_TRUE(Pump([] { return RunningAsyncRequests() == 0; }));
    fDispatcher->ProcessPending();
    EXPECT_EQ(events, 1);
    EXPECT_EQ(fStops, 0);
    std::vector<std::string> written;
    for (const auto &request : fPeer.Requests())
        if (request.Method == "PUT")
            written.push_back(request.Path);
    EXPECT_EQ(written, std::vector<std::string>{"/a/stop.json"});
}

// Without a peer of its own: nothing answers on the port at all, as while the cloud restarts.
// The transport error used to end the listener for good; it is reported and tried again.
TEST(ListenerWithoutPeer, ATransportFailureIsReportedAndTriedAgain) {
    auto dispatcher = std::make_shared<TQueueDispatcher>();
    SetMainThreadDispatcher(dispatcher);
    auto db = std::make_shared<TRealTimeDB>(std::make_shared<CumuloTest::TFakeAuthentication>(),
                                            "http://127.0.0.1:" +
                                                std::to_string(Tunewell::Test::UnusedLoopbackPort()));
    std::vector<TError> errors;
    int stops = 0;
    auto handle = db->ListenForValueEvents(
        {"a", "b"}, nullptr, [&] { ++stops; },
        [&](const std::string &RequestID, const std::string &Message) {
            errors.push_back({RequestID, Message});
        });
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return errors.size() >= 2; }, 10s));
    EXPECT_EQ(errors[0].RequestID, "a,b");
    EXPECT_FALSE(errors[0].Message.empty());
    EXPECT_EQ(stops, 0);
    db.reset();
    dispatcher->ProcessPending();
    SetMainThreadDispatcher(nullptr);
}

TEST_F(ListenerProtocol, TheThreadCarriesItsName) {
    auto stream = QueueStream();
    auto handle = Listen({"a"});
    ASSERT_TRUE(stream->WaitUntilStarted(5s));
    std::vector<std::string> names;
    for (const auto &task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        names.push_back(name);
    }
    // Linux keeps the first 15 characters.
    EXPECT_NE(std::find(names.begin(), names.end(), "Cumulo.RTDB.Lis"), names.end());
}

} // namespace
