#include "Cumulo/Authentication.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/Log.h"
#include "Cumulo/RealTimeDB.h"
#include "Cumulo/Request.h"
#include "FakeAuthentication.h"
#include "ScopedTransferLimits.h"
#include "Tunewell/Test/RawPeer.h"
#include "Tunewell/Test/ScriptedPeer.h"
#include "Tunewell/Test/SilentPeer.h"

#include <gtest/gtest.h>
#include <mutex>
#include <sstream>

using namespace Cumulo;
using namespace Tunewell::Test;
using CloudTest::TFakeAuthentication;
using CloudTest::TScopedTransferLimits;

namespace {

// Records the log of one test.
class TLogRecorder {
public:
    TLogRecorder() {
        fPrevious = SetLogSink([this](const std::string &Line) {
            std::lock_guard lock(fMutex);
            fLines.push_back(Line);
        });
    }
    ~TLogRecorder() { SetLogSink(fPrevious); }
    std::vector<std::string> Lines() {
        std::lock_guard lock(fMutex);
        return fLines;
    }

private:
    TLogSink fPrevious;
    std::mutex fMutex;
    std::vector<std::string> fLines;
};

struct TCompositionCase {
    const char *Name;
    TTokenMode Mode;
    bool WithAuth;
    TRESTRequestMethod Method;
    TStringDynArray Path;
    std::optional<TQueryParams> Query;
    std::optional<TJSONValue> Body;
    // What the peer must see. The peer's server library resolves percent escapes in header
    // values, so the URL-encoded bearer token reads as the token itself there.
    const char *Verb;
    std::string Target;
    std::optional<std::string> Authorization;
    std::string SentBody;
};

TEST(RequestSynchronous, ComposesURLHeadersAndBodyForEachTokenMode) {
    const TCompositionCase cases[] = {
        {"database read",
         tmAuthParam,
         true,
         rmGET,
         {"VERSOES.json"},
         {},
         {},
         "GET",
         "/base/VERSOES.json?auth=a%2Bb%2Fc%3D",
         std::nullopt,
         ""},
        {"database query",
         tmAuthParam,
         true,
         rmGET,
         {"ESTACOES.json"},
         TQueryParams{{"orderBy", "\"$key\""}},
         {},
         "GET",
         "/base/ESTACOES.json?auth=a%2Bb%2Fc%3D&orderBy=%22$key%22",
         std::nullopt,
         ""},
        {"database write",
         tmAuthParam,
         true,
         rmPATCH,
         {"CADASTRADO", "id 1", "LAST.json"},
         {},
         TJSONValue{{"Serie", "12"}, {"nome", "Rádio a/b"}},
         "PATCH",
         "/base/CADASTRADO/id+1/LAST.json?auth=a%2Bb%2Fc%3D",
         std::nullopt,
         R"({"Serie":"12","nome":"R\u00E1dio a\/b"})"},
        {"no client, empty token",
         tmAuthParam,
         false,
         rmDELETE,
         {"x.json"},
         {},
         {},
         "DELETE",
         "/base/x.json?auth=",
         std::nullopt,
         ""},
        {"bearer",
         tmBearer,
         true,
         rmPOST,
         {"getAccountInfo"},
         TQueryParams{{"key", "K"}},
         TJSONValue::object(),
         "POST",
         "/base/getAccountInfo?key=K",
         "Bearer a+b/c=",
         "{}"},
        {"bearer without client",
         tmBearer,
         false,
         rmPUT,
         {"a"},
         {},
         TJSONValue("x"),
         "PUT",
         "/base/a",
         std::nullopt,
         R"("x")"},
        {"sign-in",
         tmNoToken,
         true,
         rmPOST,
         {"verifyPassword"},
         TQueryParams{{"key", "K"}},
         TJSONValue{{"email", "a@b.c"}, {"returnSecureToken", true}},
         "POST",
         "/base/verifyPassword?key=K",
         std::nullopt,
         R"({"email":"a@b.c","returnSecureToken":true})"},
        {"root", tmNoToken, false, rmGET, {}, {}, {}, "GET", "/base", std::nullopt, ""},
    };
    TScriptedPeer peer;
    auto auth = std::make_shared<TFakeAuthentication>();
    auth->CurrentToken = "a+b/c=";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        TFirebaseRequest request(peer.BaseURL() + "/base", "id", c.WithAuth ? auth : nullptr);
        const auto response = request.SendRequestSynchronous(c.Path, c.Method, c.Body ? &*c.Body : nullptr,
                                                             c.Query ? &*c.Query : nullptr, c.Mode);
        EXPECT_EQ(response->StatusCode(), 200);
        const auto sent = peer.Requests().back();
        EXPECT_EQ(sent.Method, c.Verb);
        EXPECT_EQ(sent.Target, c.Target);
        EXPECT_EQ(sent.Header("Authorization"), c.Authorization);
        // Every method carries the content type, GET and DELETE included.
        EXPECT_EQ(sent.Header("Content-Type"), "application/json");
        EXPECT_EQ(sent.Body, c.SentBody);
    }
}

TEST(RequestSynchronous, StreamBodyKeepsItsContentType) {
    TScriptedPeer peer;
    TFirebaseRequest request(peer.BaseURL(), "", nullptr);
    std::istringstream body("grant_type=refresh_token&refresh_token=R");
    request.SendRequestSynchronous({"token"}, rmPOST, &body, ctAPPLICATION_X_WWW_FORM_URLENCODED, nullptr,
                                   tmNoToken);
    const auto sent = peer.Requests().back();
    EXPECT_EQ(sent.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(sent.Body, "grant_type=refresh_token&refresh_token=R");
}

TEST(RequestSynchronous, LogsRequestAndFailureWithoutTheToken) {
    TScriptedPeer peer;
    peer.Enqueue(TScriptedAnswer::Json(404, "{\"error\" : \"gone\"}"));
    auto auth = std::make_shared<TFakeAuthentication>();
    auth->CurrentToken = "secret.token";
    TLogRecorder log;
    TFirebaseRequest request(peer.BaseURL(), "", auth);
    const auto response = request.SendRequestSynchronous({"a.json"}, rmGET, nullptr, nullptr, tmAuthParam);
    EXPECT_TRUE(response->StatusNotFound());
    const std::string url = peer.BaseURL() + "/a.json?auth=<redacted>";
    EXPECT_EQ(log.Lines(),
              (std::vector<std::string>{" Request: rmGET: " + url, "Request failed: 404 / Not Found",
                                        "Content from " + url + ": ", "> {\"error\" : \"gone\"}"}));
}

// Sends one synchronous request whose first answer carries FirstStatus.
struct TRetryCase {
    const char *Name;
    TTokenMode Mode;
    int FirstStatus;
    int SecondStatus;
    bool RefreshResult;
    std::size_t ExpectedSends;
    int ExpectedRefreshCalls;
    int ExpectedStatus;
};

TEST(RequestSynchronous, RetriesOnceAfterARefreshedToken) {
    const TRetryCase cases[] = {
        {"401, refreshed", tmAuthParam, 401, 200, true, 2, 1, 200},
        {"403, refreshed", tmAuthParam, 403, 200, true, 2, 1, 200},
        {"401, bearer, refreshed", tmBearer, 401, 200, true, 2, 1, 200},
        {"401, refresh not due", tmAuthParam, 401, 200, false, 1, 1, 401},
        {"401 without token", tmNoToken, 401, 200, true, 1, 0, 401},
        {"401 twice: no third send", tmAuthParam, 401, 401, true, 2, 1, 401},
        {"200", tmAuthParam, 200, 200, true, 1, 0, 200},
        {"404 is no reason to refresh", tmAuthParam, 404, 200, true, 1, 0, 404},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        TScriptedPeer peer;
        peer.Enqueue(TScriptedAnswer::Json(c.FirstStatus, "{\"error\":\"first\"}"));
        peer.Enqueue(TScriptedAnswer::Json(c.SecondStatus, "{\"second\":true}"));
        peer.Enqueue(TScriptedAnswer::Json(200, "{\"third\":true}"));
        auto auth = std::make_shared<TFakeAuthentication>();
        auth->SynchronousRefreshResult = c.RefreshResult;
        TFirebaseRequest request(peer.BaseURL(), "", auth);
        const TJSONValue body = {{"Serie", "12"}};
        const auto response = request.SendRequestSynchronous({"LAST.json"}, rmPUT, &body, nullptr, c.Mode);

        EXPECT_EQ(response->StatusCode(), c.ExpectedStatus);
        EXPECT_EQ(auth->SynchronousRefreshCalls, c.ExpectedRefreshCalls);
        const auto sent = peer.Requests();
        ASSERT_EQ(sent.size(), c.ExpectedSends);
        if (sent.size() == 2) {
            // The second send carries the new token and the whole body again.
            if (c.Mode == tmAuthParam) {
                EXPECT_EQ(sent[0].Query, "auth=token-1");
                EXPECT_EQ(sent[1].Query, "auth=token-2");
            } else {
                EXPECT_EQ(sent[0].Header("Authorization"), "Bearer token-1");
                EXPECT_EQ(sent[1].Header("Authorization"), "Bearer token-2");
            }
            EXPECT_EQ(sent[1].Body, R"({"Serie":"12"})");
        }
    }
}

TEST(RequestSynchronous, RefreshErrorsReachTheCaller) {
    TScriptedPeer peer;
    peer.Enqueue(TScriptedAnswer::Json(401, "{}"));
    auto auth = std::make_shared<TFakeAuthentication>();
    auth->SynchronousRefreshError = "TOKEN_EXPIRED";
    TFirebaseRequest request(peer.BaseURL(), "", auth);
    EXPECT_THROW(request.SendRequestSynchronous({"a.json"}, rmGET, nullptr, nullptr, tmAuthParam),
                 EFirebaseResponse);
    EXPECT_EQ(peer.RequestCount(), 1u);
}

TEST(RequestSynchronous, NoAnswerRaisesTransportError) {
    TFirebaseRequest request("http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()), "", nullptr);
    EXPECT_THROW(request.SendRequestSynchronous({"a.json"}, rmGET, nullptr, nullptr, tmNoToken), ETransport);
}

// A request is held to its progress, not to a deadline: a large answer that comes slowly but
// steadily completes, though it takes longer than a small request may; a trickle below the
// floor fails, and so does a peer that never answers. A small request (a write, a sign-in) keeps
// an overall limit. The limits are shortened; the peers' pace is far from them either way.
TEST(RequestSynchronous, RequestsAreHeldToTheirProgress) {
    Cumulo::TTransferLimits limits;
    limits.FirstByte = std::chrono::milliseconds(300);
    limits.ProgressWindow = std::chrono::milliseconds(300);
    limits.SlowestProgress = 100; // 30 bytes in the window
    limits.SmallRequestDeadline = std::chrono::milliseconds(300);
    TScopedTransferLimits scoped(limits);
    const auto answer = [](std::size_t Length) {
        const std::string body = "\"" + std::string(Length - 2, 'x') + "\"";
        return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
               std::to_string(Length) + "\r\n\r\n" + body;
    };
    // About 1 kB/s for more than twice the windows, and 50 bytes/s.
    TRawPeer steady(answer(700), std::chrono::milliseconds(1));
    TRawPeer trickle(answer(200), std::chrono::milliseconds(20));
    TSilentPeer silent;
    const auto read = [](const std::string &BaseURL) {
        auto database = std::make_shared<TRealTimeDB>(std::make_shared<TFakeAuthentication>(), BaseURL);
        return database->GetSynchronous({"ESTACOES"})->get<std::string>().size() + 2;
    };
    const auto merge = [](const std::string &BaseURL) {
        TRealTimeDB database(std::make_shared<TFakeAuthentication>(), BaseURL);
        database.PatchSynchronous({"CADASTRADO", "id", "LAST"}, {{"Serie", "1"}});
        return std::size_t{0};
    };
    const auto signIn = [](const std::string &BaseURL) {
        TFirebaseAuthentication auth("key", TAuthenticationEndpoints{BaseURL, BaseURL});
        auth.SignInWithEmailAndPasswordSynchronous("a@b.c", "secret");
        return std::size_t{0};
    };
    const struct {
        const char *Name;
        std::function<std::size_t(const std::string &)> Call;
        std::string BaseURL;
        std::string Outcome; // the bytes read, or the start of the failure's text
    } cases[] = {
        {"read, slow and steady", read, steady.BaseURL(), "700"},
        {"read, trickling", read, trickle.BaseURL(), "Timed out: fewer than 30 bytes moved within 300 ms"},
        {"read, silent", read, silent.BaseURL(), "Timed out: no answer within 300 ms"},
        {"merge, slow and steady", merge, steady.BaseURL(), "Timed out: no complete answer within 300 ms"},
        {"merge, silent", merge, silent.BaseURL(), "Timed out: no"},
        {"sign-in, trickling", signIn, trickle.BaseURL(), "Timed out: "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        std::string outcome;
        try {
            outcome = std::to_string(c.Call(c.BaseURL));
        } catch (const ETransport &e) {
            outcome = e.what();
        }
        EXPECT_TRUE(outcome.starts_with(c.Outcome)) << outcome;
    }
}

TEST(RequestSynchronous, ResponseOutlivesTheRequest) {
    TScriptedPeer peer;
    peer.Enqueue(
        TScriptedAnswer::Json(200, R"({"name":"-N1"})").WithHeader("Date", "Sun, 06 Nov 1994 08:49:37 GMT"));
    std::shared_ptr<IFirebaseResponse> response;
    {
        auto request = std::make_shared<TFirebaseRequest>(peer.BaseURL(), "", nullptr);
        response = request->SendRequestSynchronous({"x.json"}, rmPOST, nullptr, nullptr, tmNoToken);
    }
    EXPECT_TRUE(response->IsJSONObj());
    EXPECT_EQ(response->StatusText(), "OK");
    EXPECT_NEAR(response->GetServerTime(tzUTC), 34644.0 + (8 * 3600 + 49 * 60 + 37) / 86400.0, 1e-9);
}

} // namespace
