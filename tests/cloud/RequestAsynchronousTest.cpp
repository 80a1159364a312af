#include "Cumulo/Request.h"
#include "FakeAuthentication.h"
#include "MainThreadFixture.h"
#include "Tunewell/Test/ScriptedPeer.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace Cumulo;
using namespace Tunewell::Test;
using CloudTest::TFakeAuthentication;

namespace {

// What reached the caller's callbacks, and on which thread.
struct TOutcome {
    std::string RequestID;
    int Status = 0;
    std::string Body;
    std::string Error;
    bool OnMainThread = false;
    bool Done = false;
};

class RequestAsynchronous : public CloudTest::TMainThreadFixture {
protected:
    TOnResponse Answered(TOutcome &Outcome) {
        return [this, &Outcome](const std::string &RequestID, std::shared_ptr<IFirebaseResponse> Response) {
            Outcome.RequestID = RequestID;
            Outcome.Status = Response->StatusCode();
            Outcome.Body = Response->ContentAsString();
            Outcome.OnMainThread = OnMainThread();
            Outcome.Done = true;
        };
    }
    TOnRequestError Failed(TOutcome &Outcome) {
        return [this, &Outcome](const std::string &RequestID, const std::string &ErrMsg) {
            Outcome.RequestID = RequestID;
            Outcome.Error = ErrMsg;
            Outcome.OnMainThread = OnMainThread();
            Outcome.Done = true;
        };
    }

    TScriptedPeer fPeer;
};

TEST_F(RequestAsynchronous, AnswerArrivesOnTheMainThreadWhenPumped) {
    fPeer.Enqueue(TScriptedAnswer::Json(200, R"({"name":"-N1"})"));
    auto auth = std::make_shared<TFakeAuthentication>();
    TOutcome outcome;
    {
        auto request = std::make_shared<TFirebaseRequest>(fPeer.BaseURL(), "post-1", auth);
        const TJSONValue body = {{"nome", "ã/"}};
        request->SendRequest({"ESTACOES.json"}, rmPOST, &body, nullptr, tmAuthParam, Answered(outcome),
                             Failed(outcome));
        // Both the request object and the body may go at once.
    }
    ASSERT_TRUE(fPeer.WaitForRequests(1, CloudTest::kPumpLimit));
    EXPECT_FALSE(outcome.Done); // nothing runs before the main thread pumps
    ASSERT_TRUE(Pump([&] { return outcome.Done; }));
    EXPECT_TRUE(outcome.OnMainThread);
    EXPECT_EQ(outcome.RequestID, "post-1");
    EXPECT_EQ(outcome.Status, 200);
    EXPECT_EQ(outcome.Body, R"({"name":"-N1"})");
    const auto sent = fPeer.Requests().front();
    EXPECT_EQ(sent.Target, "/ESTACOES.json?auth=token-1");
    EXPECT_EQ(sent.Body, R"({"nome":"\u00E3\/"})");
    EXPECT_EQ(sent.Header("Content-Type"), "application/json");
}

TEST_F(RequestAsynchronous, ErrorStatusGoesToOnResponseAndIsLogged) {
    fPeer.Enqueue(TScriptedAnswer::Json(400, "{\n \"error\" : \"bad value\"\r\n}"));
    auto auth = std::make_shared<TFakeAuthentication>();
    auth->CurrentToken = "secret";
    TOutcome outcome;
    TFirebaseRequest request(fPeer.BaseURL(), "r", auth);
    request.SendRequest({"a.json"}, rmGET, nullptr, nullptr, tmAuthParam, Answered(outcome), Failed(outcome));
    ASSERT_TRUE(Pump([&] { return outcome.Done; }));
    EXPECT_EQ(outcome.Status, 400);
    EXPECT_EQ(outcome.Error, "");
    const std::string url = fPeer.BaseURL() + "/a.json?auth=<redacted>";
    EXPECT_EQ(LogLines(), (std::vector<std::string>{" Request: rmGET: " + url, " Protocol error: Bad Request",
                                                    "        Details: {\"error\":\"badvalue\"}",
                                                    "        Request: rmGET: " + url}));
}

TEST_F(RequestAsynchronous, ClosedPortReachesOnRequestError) {
    TOutcome outcome;
    TFirebaseRequest request("http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()), "get-9", nullptr);
    request.SendRequest({"a.json"}, rmGET, nullptr, nullptr, tmNoToken, Answered(outcome), Failed(outcome));
    ASSERT_TRUE(Pump([&] { return outcome.Done; }));
    EXPECT_TRUE(outcome.OnMainThread);
    EXPECT_EQ(outcome.RequestID, "get-9");
    EXPECT_EQ(outcome.Status, 0);
    EXPECT_FALSE(outcome.Error.empty());
}

TEST_F(RequestAsynchronous, ExceptionOfTheAnswerCallback) {
    TFirebaseRequest request(fPeer.BaseURL(), "cb", nullptr);
    auto raising = [](const std::string &, std::shared_ptr<IFirebaseResponse> Response) {
        Response->CheckForJSONObj(); // the default answer "null" is no object
    };
    TOutcome outcome;
    request.SendRequest({"a.json"}, rmGET, nullptr, nullptr, tmNoToken, raising, Failed(outcome));
    ASSERT_TRUE(Pump([&] { return outcome.Done; }));
    EXPECT_EQ(outcome.Error, "The reponse from the firestore is not a JSON object: null");

    // Without an error callback it is logged.
    request.SendRequest({"a.json"}, rmGET, nullptr, nullptr, tmNoToken, raising, nullptr);
    ASSERT_TRUE(Pump([&] { return RunningAsyncRequests() == 0 && fDispatcher->PendingCount() == 0; }));
    EXPECT_EQ(LogLines().back(),
              "Exception in request cb: The reponse from the firestore is not a JSON object: null");
}

TEST_F(RequestAsynchronous, NoAnswerCallbackOnceTheApplicationTerminates) {
    TOutcome outcome;
    TFirebaseRequest request(fPeer.BaseURL(), "late", nullptr);
    request.SendRequest({"a.json"}, rmGET, nullptr, nullptr, tmNoToken, Answered(outcome), Failed(outcome));
    TFirebaseHelpers::SetAppTerminated(true);
    ASSERT_TRUE(Pump([&] { return RunningAsyncRequests() == 0 && fDispatcher->PendingCount() == 0; }));
    EXPECT_FALSE(outcome.Done);
}

TEST_F(RequestAsynchronous, StreamBodyIsSentWithItsContentType) {
    TOutcome outcome;
    std::istringstream body("plain text");
    TFirebaseRequest request(fPeer.BaseURL(), "s", nullptr);
    request.SendRequest({"upload"}, rmPUT, &body, ctTEXT_PLAIN, nullptr, tmNoToken, Answered(outcome),
                        Failed(outcome));
    ASSERT_TRUE(Pump([&] { return outcome.Done; }));
    const auto sent = fPeer.Requests().front();
    EXPECT_EQ(sent.Header("Content-Type"), "text/plain");
    EXPECT_EQ(sent.Body, "plain text");
}

// Without a body the transport must not fall back on its own default, a form content type.
TEST_F(RequestAsynchronous, BodylessWritesAreNotSentAsAForm) {
    for (const auto method : {rmPOST, rmPUT, rmPATCH}) {
        SCOPED_TRACE(RequestMethodName(method));
        TOutcome outcome;
        TFirebaseRequest(fPeer.BaseURL(), "empty", nullptr)
            .SendRequest({"a.json"}, method, static_cast<const TJSONValue *>(nullptr), nullptr, tmNoToken,
                         Answered(outcome), Failed(outcome));
        ASSERT_TRUE(Pump([&] { return outcome.Done; }));
        const auto sent = fPeer.Requests().back();
        EXPECT_EQ(sent.Header("Content-Type"), std::nullopt);
        EXPECT_EQ(sent.Body, "");
    }
}

TEST_F(RequestAsynchronous, DueTokenIsRefreshedBeforeTheSend) {
    auto auth = std::make_shared<TFakeAuthentication>();
    auth->TokenDue = true;
    TOutcome outcome;
    {
        TFirebaseRequest request(fPeer.BaseURL(), "after-refresh", auth);
        const TQueryParams query = {{"print", "silent"}};
        const TJSONValue body = {{"a", 1}};
        request.SendRequest({"x.json"}, rmPATCH, &body, &query, tmAuthParam, Answered(outcome),
                            Failed(outcome));
    }
    EXPECT_EQ(auth->AsynchronousRefreshCalls, 1);
    EXPECT_EQ(TFirebaseRequest::WaitingForTokenRefresh(), 1u);
    fDispatcher->ProcessPending();
    EXPECT_EQ(fPeer.RequestCount(), 0u);

    auth->CompleteRefresh(); // on the main thread, as the authentication client reports it
    ASSERT_TRUE(Pump([&] { return outcome.Done; }));
    EXPECT_TRUE(outcome.OnMainThread);
    EXPECT_EQ(outcome.RequestID, "after-refresh");
    const auto sent = fPeer.Requests().front();
    EXPECT_EQ(sent.Target, "/x.json?auth=token-2&print=silent");
    EXPECT_EQ(sent.Body, R"({"a":1})");
    EXPECT_EQ(TFirebaseRequest::WaitingForTokenRefresh(), 0u);
}

TEST_F(RequestAsynchronous, EveryWaitingRequestIsSentInOrderAfterTheRefresh) {
    auto auth = std::make_shared<TFakeAuthentication>();
    auth->TokenDue = true;
    std::vector<TOutcome> outcomes(3);
    std::istringstream streamBody("third");
    TFirebaseRequest first(fPeer.BaseURL(), "first", auth);
    TFirebaseRequest second(fPeer.BaseURL(), "second", auth);
    const TJSONValue body = "v";
    first.SendRequest({"1.json"}, rmPUT, &body, nullptr, tmAuthParam, Answered(outcomes[0]),
                      Failed(outcomes[0]));
    second.SendRequest({"2.json"}, rmGET, nullptr, nullptr, tmBearer, Answered(outcomes[1]),
                       Failed(outcomes[1]));
    first.SendRequest({"3"}, rmPOST, &streamBody, ctTEXT_PLAIN, nullptr, tmAuthParam, Answered(outcomes[2]),
                      Failed(outcomes[2]));
    EXPECT_EQ(TFirebaseRequest::WaitingForTokenRefresh(), 3u);

    auth->CompleteRefresh(); // only the last refresh's callbacks are kept by the client
    ASSERT_TRUE(fPeer.WaitForRequests(3, CloudTest::kPumpLimit));
    ASSERT_TRUE(Pump([&] { return outcomes[0].Done && outcomes[1].Done && outcomes[2].Done; }));
    EXPECT_EQ(outcomes[0].RequestID, "first");
    EXPECT_EQ(outcomes[1].RequestID, "second");
    EXPECT_EQ(outcomes[2].RequestID, "first");
    std::vector<std::string> paths;
    for (const auto &sent : fPeer.Requests())
        paths.push_back(sent.Path);
    // Workers may reach the peer in any order; each one is sent once, with the new token.
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{"/1.json", "/2.json", "/3"}));
    for (const auto &sent : fPeer.Requests()) {
        if (sent.Path == "/2.json") {
            EXPECT_EQ(sent.Header("Authorization"), "Bearer token-2");
        } else {
            EXPECT_EQ(sent.Query, "auth=token-2");
        }
        if (sent.Path == "/3") {
            EXPECT_EQ(sent.Body, "third");
        }
    }
}

TEST_F(RequestAsynchronous, FailedRefreshIsReportedToEveryWaitingRequest) {
    for (const bool reportedAsFalse : {false, true}) {
        SCOPED_TRACE(reportedAsFalse ? "refresh reported false" : "refresh raised an error");
        auto auth = std::make_shared<TFakeAuthentication>();
        auth->TokenDue = true;
        std::vector<TOutcome> outcomes(2);
        TFirebaseRequest request(fPeer.BaseURL(), "waiting", auth);
        for (auto &outcome : outcomes)
            request.SendRequest({"a.json"}, rmGET, nullptr, nullptr, tmAuthParam, Answered(outcome),
                                Failed(outcome));
        if (reportedAsFalse)
            auth->ReportRefresh(false);
        else
            auth->FailRefresh("INVALID_REFRESH_TOKEN");
        for (const auto &outcome : outcomes) {
            EXPECT_EQ(outcome.Error, "Authorisation token refresh failed");
            EXPECT_EQ(outcome.RequestID, "waiting");
        }
        EXPECT_EQ(TFirebaseRequest::WaitingForTokenRefresh(), 0u);
        // A later refresh sends nothing that was already reported as failed.
        auth->CompleteRefresh();
        fDispatcher->ProcessPending();
        EXPECT_EQ(fPeer.RequestCount(), 0u);
    }
}

TEST_F(RequestAsynchronous, RefreshOfOneClientReleasesOnlyItsOwnRequests) {
    auto mine = std::make_shared<TFakeAuthentication>();
    auto other = std::make_shared<TFakeAuthentication>();
    mine->TokenDue = other->TokenDue = true;
    TOutcome mineOutcome, otherOutcome;
    TFirebaseRequest(fPeer.BaseURL(), "mine", mine)
        .SendRequest({"m.json"}, rmGET, nullptr, nullptr, tmAuthParam, Answered(mineOutcome),
                     Failed(mineOutcome));
    TFirebaseRequest(fPeer.BaseURL(), "other", other)
        .SendRequest({"o.json"}, rmGET, nullptr, nullptr, tmAuthParam, Answered(otherOutcome),
                     Failed(otherOutcome));
    mine->CompleteRefresh();
    ASSERT_TRUE(Pump([&] { return mineOutcome.Done; }));
    EXPECT_FALSE(otherOutcome.Done);
    EXPECT_EQ(TFirebaseRequest::WaitingForTokenRefresh(), 1u);
    other->FailRefresh("x");
    EXPECT_EQ(otherOutcome.Error, "Authorisation token refresh failed");
}

TEST_F(RequestAsynchronous, NoTokenModeNeverWaitsForARefresh) {
    auto auth = std::make_shared<TFakeAuthentication>();
    auth->TokenDue = true;
    TOutcome outcome;
    TFirebaseRequest(fPeer.BaseURL(), "", auth)
        .SendRequest({"token"}, rmPOST, nullptr, nullptr, tmNoToken, Answered(outcome), Failed(outcome));
    ASSERT_TRUE(Pump([&] { return outcome.Done; }));
    EXPECT_EQ(auth->AsynchronousRefreshCalls, 0);
}

} // namespace
