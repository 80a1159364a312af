#include "CloudPeerFixture.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/HttpResponse.h"

#include <gtest/gtest.h>

using namespace Cumulo;
using namespace CumuloTest;

namespace {

class SignInTest : public CloudPeerFixture {};

TEST_F(SignInTest, SignRequestsPostExactBodiesToTheirVerbs) {
    struct Case {
        const char *Name;
        std::function<void(TFirebaseAuthentication &)> Sign;
        const char *Path;
        const char *Body;
    } cases[] = {
        {"sign up", [](auto &a) { a.SignUpWithEmailAndPasswordSynchronous("ana@x.org", "pw 1"); },
         "/signupNewUser", R"({"email":"ana@x.org","password":"pw 1","returnSecureToken":"true"})"},
        {"sign in", [](auto &a) { a.SignInWithEmailAndPasswordSynchronous("ana@x.org", "p\"w/"); },
         "/verifyPassword", R"({"email":"ana@x.org","password":"p\"w\/","returnSecureToken":"true"})"},
        {"anonymous", [](auto &a) { a.SignInAnonymouslySynchronous(); }, "/signupNewUser",
         R"({"returnSecureToken":"true"})"},
        {"sign up, asynchronous",
         [](auto &a) { a.SignUpWithEmailAndPassword("ana@x.org", "pw", nullptr, nullptr); }, "/signupNewUser",
         R"({"email":"ana@x.org","password":"pw","returnSecureToken":"true"})"},
        {"sign in, asynchronous",
         [](auto &a) { a.SignInWithEmailAndPassword("ana@x.org", "pw", nullptr, nullptr); },
         "/verifyPassword", R"({"email":"ana@x.org","password":"pw","returnSecureToken":"true"})"},
        {"anonymous, asynchronous", [](auto &a) { a.SignInAnonymously(nullptr, nullptr); }, "/signupNewUser",
         R"({"returnSecureToken":"true"})"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        Answer(200, SignInAnswer("t"));
        std::size_t before = fPeer->RequestCount();
        c.Sign(*fAuth);
        ASSERT_TRUE(fPeer->WaitForRequests(before + 1, std::chrono::seconds(10)));
        Settle();
        auto request = fPeer->Requests().back();
        EXPECT_EQ(request.Method, "POST");
        EXPECT_EQ(request.Path, std::string(IdentityPath) + c.Path);
        EXPECT_EQ(request.Query, std::string("key=") + ApiKey);
        EXPECT_EQ(request.Body, c.Body);
        EXPECT_EQ(request.Header("Content-Type").value_or(""), "application/json");
    }
}

TEST_F(SignInTest, SuccessfulSignInTakesTheAnswer) {
    EXPECT_FALSE(fAuth->Authenticated());
    EXPECT_EQ(fAuth->Token(), "");
    EXPECT_EQ(fAuth->TokenExpiryDT(), 0);
    EXPECT_TRUE(fAuth->NeedTokenRefresh());

    Answer(200, SignInAnswer("id-1", "ref-1"));
    auto user = fAuth->SignInWithEmailAndPasswordSynchronous("ana@x.org", "pw");
    EXPECT_EQ(user->UID(), "uid-1");
    EXPECT_TRUE(fAuth->Authenticated());
    EXPECT_EQ(fAuth->Token(), "id-1");
    EXPECT_EQ(fAuth->GetRefreshToken(), "ref-1");
    EXPECT_DOUBLE_EQ(fAuth->TokenExpiryDT(), T0 + Seconds(3600));
    EXPECT_EQ(fAuth->TokenJWT(), nullptr);
}

// A failed sign-in leaves the earlier token in place; only the flag tells it failed. An error
// status is never a success, whatever the body holds, and says whether the service is
// unavailable now rather than refusing.
TEST_F(SignInTest, FailedSignInsKeepTheEarlierTokens) {
    struct Case {
        int Status;
        const char *Body;
        const char *Message;
        bool AuthenticatedAfter;
        bool Unavailable;
    } cases[] = {
        {400, R"({"error":{"code":400,"message":"INVALID_PASSWORD"}})", "EFirebaseResponse INVALID_PASSWORD",
         false, false},
        {200, R"({"error":{"message":"EMAIL_NOT_FOUND"}})", "EFirebaseResponse EMAIL_NOT_FOUND", false,
         false},
        {200, R"({"localId":"u","expiresIn":"60"})", "EFirebaseUser idToken not found", true, false},
        {200, "not json", "EFirebaseResponse The reponse from the firestore is not a JSON: not json", false,
         false},
        {200, "[1]", "EFirebaseResponse The reponse from the firestore is not a JSON object: [1]", false,
         false},
        {503, R"({"localId":"u","expiresIn":"60"})", "EFirebaseResponse Service Unavailable", false, true},
        {502, R"({"idToken":"id-2","expiresIn":"60"})", "EFirebaseResponse Bad Gateway", false, true},
        {503, R"({"error":{"message":"UNAVAILABLE"}})", "EFirebaseResponse UNAVAILABLE", false, true},
        {503, "<html>busy</html>",
         "EFirebaseResponse The reponse from the firestore is not a JSON: <html>busy</html>", false, true},
        {429, "{}", "EFirebaseResponse Too Many Requests", false, true},
        {400, "{}", "EFirebaseResponse Bad Request", false, false},
    };
    SignIn("id-1");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Body);
        Answer(c.Status, c.Body);
        std::string message;
        bool unavailable = false;
        try {
            fAuth->SignInWithEmailAndPasswordSynchronous("ana@x.org", "wrong");
        } catch (const EFirebaseResponse &e) {
            message = std::string("EFirebaseResponse ") + e.what();
            unavailable = IsServiceUnavailable(e.StatusCode());
        } catch (const EFirebaseUser &e) {
            message = std::string("EFirebaseUser ") + e.what();
        }
        EXPECT_EQ(message, c.Message);
        EXPECT_EQ(unavailable, c.Unavailable);
        EXPECT_EQ(fAuth->Authenticated(), c.AuthenticatedAfter);
        EXPECT_EQ(fAuth->Token(), "id-1");
        EXPECT_EQ(fAuth->GetRefreshToken(), "refresh-1");
        EXPECT_DOUBLE_EQ(fAuth->TokenExpiryDT(), T0 + Seconds(3600));
    }
}

TEST_F(SignInTest, TokenNeedsRefreshFromFiveSecondsBeforeExpiry) {
    SignIn();
    const TDateTime expiry = fAuth->TokenExpiryDT();
    struct Case {
        double SecondsBeforeExpiry;
        bool Expected;
    } cases[] = {{3600, false}, {6, false}, {5, false}, {4.999, true}, {4, true}, {0, true}, {-60, true}};
    for (const auto &c : cases) {
        fClock->Set(expiry - Seconds(c.SecondsBeforeExpiry));
        EXPECT_EQ(fAuth->NeedTokenRefresh(), c.Expected) << c.SecondsBeforeExpiry << " s before expiry";
    }
}

TEST_F(SignInTest, AnswerWithoutLifetimeIsDueAtOnce) {
    Answer(200, R"({"idToken":"id","refreshToken":"r"})");
    fAuth->SignInAnonymouslySynchronous();
    EXPECT_DOUBLE_EQ(fAuth->TokenExpiryDT(), T0);
    EXPECT_TRUE(fAuth->NeedTokenRefresh());
}

TEST_F(SignInTest, SignOutClearsTokensButKeepsTheExpiry) {
    SignIn();
    fAuth->SignOut();
    EXPECT_FALSE(fAuth->Authenticated());
    EXPECT_EQ(fAuth->Token(), "");
    EXPECT_EQ(fAuth->GetRefreshToken(), "");
    EXPECT_DOUBLE_EQ(fAuth->TokenExpiryDT(), T0 + Seconds(3600));
    EXPECT_TRUE(Requests().empty());
}

TEST_F(SignInTest, FreshTokenIsNotRefreshed) {
    SignIn();
    EXPECT_FALSE(fAuth->CheckAndRefreshTokenSynchronous());
    EXPECT_TRUE(Requests().empty());
}

TEST_F(SignInTest, NewClientRefreshPostsEmptyRefreshTokenAndRaisesTheServiceText) {
    Answer(400, R"({"error":{"message":"INVALID_REFRESH_TOKEN"}})");
    EXPECT_EQ(MessageOf<EFirebaseResponse>([&] { fAuth->CheckAndRefreshTokenSynchronous(); }),
              "INVALID_REFRESH_TOKEN");
    auto request = LastRequest();
    EXPECT_EQ(request.Path, TokenPath);
    EXPECT_EQ(request.Query, std::string("key=") + ApiKey);
    EXPECT_EQ(request.Body, R"({"grant_type":"refresh_token","refresh_token":""})");
    EXPECT_FALSE(fAuth->Authenticated());
}

TEST_F(SignInTest, DueRefreshTakesTheAnswer) {
    struct Case {
        const char *Body;
        bool Result;
        const char *Token;
        const char *RefreshToken;
        double ExpirySeconds; // after the refresh moment
    } cases[] = {
        {R"({"access_token":"id-2","expires_in":"3600","refresh_token":"ref-2"})", true, "id-2", "ref-2",
         3600},
        {R"({"access_token":"id-2","expires_in":120})", false, "id-2", "", 120},
        {R"({"access_token":"id-2","refresh_token":"ref-2"})", true, "id-2", "ref-2", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Body);
        SignIn("id-1");
        const TDateTime now = T0 + Seconds(3599);
        fClock->Set(now);
        Answer(200, c.Body);
        EXPECT_EQ(fAuth->CheckAndRefreshTokenSynchronous(), c.Result);
        EXPECT_EQ(LastRequest().Body, R"({"grant_type":"refresh_token","refresh_token":"refresh-1"})");
        EXPECT_TRUE(fAuth->Authenticated());
        EXPECT_EQ(fAuth->Token(), c.Token);
        EXPECT_EQ(fAuth->GetRefreshToken(), c.RefreshToken);
        EXPECT_DOUBLE_EQ(fAuth->TokenExpiryDT(), now + Seconds(c.ExpirySeconds));
        fClock->Set(T0);
    }
}

// An error status is no refresh, whatever the body holds.
TEST_F(SignInTest, RefreshAnsweredWithAnErrorStatusTakesNothing) {
    SignIn("id-1");
    fClock->Set(T0 + Seconds(3599));
    Answer(503, R"({"access_token":"id-2","expires_in":"3600","refresh_token":"ref-2"})");
    EXPECT_EQ(MessageOf<EFirebaseResponse>([&] { fAuth->CheckAndRefreshTokenSynchronous(); }),
              "Service Unavailable");
    EXPECT_FALSE(fAuth->Authenticated());
    EXPECT_EQ(fAuth->Token(), "id-1");
    EXPECT_EQ(fAuth->GetRefreshToken(), "refresh-1");
}

TEST_F(SignInTest, RefreshWithoutAccessTokenClearsOnlyTheToken) {
    SignIn("id-1");
    fClock->Set(T0 + Seconds(3599));
    Answer(200, R"({"expires_in":"3600","refresh_token":"ref-2"})");
    EXPECT_EQ(MessageOf<EFirebaseAuthentication>([&] { fAuth->CheckAndRefreshTokenSynchronous(); }),
              "access_token not found");
    EXPECT_TRUE(fAuth->Authenticated());
    EXPECT_EQ(fAuth->Token(), "");
    EXPECT_EQ(fAuth->GetRefreshToken(), "refresh-1");
    EXPECT_DOUBLE_EQ(fAuth->TokenExpiryDT(), T0 + Seconds(3600));
}

TEST_F(SignInTest, AsynchronousSignInReportsTheUserToItsCallback) {
    Answer(200, SignInAnswer("id-9"));
    std::string info, uid;
    fAuth->SignInWithEmailAndPassword(
        "ana@x.org", "pw",
        [&](const std::string &Info, std::shared_ptr<IFirebaseUser> User) {
            info = Info;
            uid = User->UID();
        },
        [](const std::string &, const std::string &Message) { ADD_FAILURE() << Message; });
    EXPECT_FALSE(fAuth->Authenticated());
    ASSERT_TRUE(PumpUntil([&] { return !info.empty(); }));
    EXPECT_EQ(info, "Sign in with email for ana@x.org");
    EXPECT_EQ(uid, "uid-1");
    EXPECT_EQ(fAuth->Token(), "id-9");
    EXPECT_TRUE(fAuth->Authenticated());
}

TEST_F(SignInTest, RefusedSignInErrorText) {
    using Sign = std::function<void(TFirebaseAuthentication &, TOnRequestError)>;
    const std::string hint = "In the firebase console under Authentication/Sign-in method firstly enable "
                             "anonymous sign-in provider.";
    struct Case {
        const char *Name;
        Sign Start;
        const char *ServiceText;
        std::string Info;
        std::string Expected;
    } cases[] = {
        {"anonymous", [](auto &a, auto e) { a.SignInAnonymously(nullptr, e); }, "operation_not_allowed",
         "Sign in anonymously", hint},
        {"anonymous, upper case", [](auto &a, auto e) { a.SignInAnonymously(nullptr, e); },
         "OPERATION_NOT_ALLOWED", "Sign in anonymously", hint},
        {"e-mail", [](auto &a, auto e) { a.SignInWithEmailAndPassword("ana@x.org", "pw", nullptr, e); },
         "OPERATION_NOT_ALLOWED", "Sign in with email for ana@x.org", "OPERATION_NOT_ALLOWED"},
        {"sign up", [](auto &a, auto e) { a.SignUpWithEmailAndPassword("ana@x.org", "pw", nullptr, e); },
         "EMAIL_EXISTS", "Sign up with email for ana@x.org", "EMAIL_EXISTS"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        Answer(400, std::string(R"({"error":{"message":")") + c.ServiceText + "\"}}");
        std::string info, message;
        c.Start(*fAuth, [&](const std::string &RequestID, const std::string &ErrMsg) {
            info = RequestID;
            message = ErrMsg;
        });
        ASSERT_TRUE(PumpUntil([&] { return !info.empty(); }));
        EXPECT_EQ(info, c.Info);
        EXPECT_EQ(message, c.Expected);
    }
    // The synchronous anonymous sign-in raises the service's own text.
    Answer(400, R"({"error":{"message":"OPERATION_NOT_ALLOWED"}})");
    EXPECT_EQ(MessageOf<EFirebaseResponse>([&] { fAuth->SignInAnonymouslySynchronous(); }),
              "OPERATION_NOT_ALLOWED");
}

TEST_F(SignInTest, AsynchronousFailureWithoutErrorCallbackIsLogged) {
    Answer(200, R"({"localId":"u"})");
    fAuth->SignInWithEmailAndPassword("ana@x.org", "pw", nullptr, nullptr);
    Settle();
    auto lines = LogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Firebase failure in Sign in with email for ana@x.org: idToken not found"),
              lines.end());
}

// Each caller hears its own answer, even when both calls are pending at once.
TEST_F(SignInTest, OverlappingSignInsAreEachAnsweredToTheirOwnCallbacks) {
    fPeer->SetResponder([](const TRecordedRequest &Request) {
        TScriptedAnswer answer;
        bool first = Request.Body.find("first@x.org") != std::string::npos;
        answer.Body =
            first ? R"({"localId":"first","idToken":"t1"})" : R"({"localId":"second","idToken":"t2"})";
        return answer;
    });
    std::vector<std::string> firstHeard, secondHeard;
    auto collect = [](std::vector<std::string> &Into) {
        return [&Into](const std::string &, std::shared_ptr<IFirebaseUser> User) {
            Into.push_back(User->UID());
        };
    };
    fAuth->SignInWithEmailAndPassword("first@x.org", "pw", collect(firstHeard), nullptr);
    fAuth->SignInWithEmailAndPassword("second@x.org", "pw", collect(secondHeard), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return firstHeard.size() + secondHeard.size() == 2; }));
    EXPECT_EQ(firstHeard, std::vector<std::string>{"first"});
    EXPECT_EQ(secondHeard, std::vector<std::string>{"second"});
}

TEST_F(SignInTest, AsynchronousRefresh) {
    struct Case {
        const char *Body;
        int Status;
        std::vector<std::string> Heard;
        const char *Token;
    } cases[] = {
        {R"({"access_token":"id-2","expires_in":"3600","refresh_token":"ref-2"})",
         200,
         {"refreshed"},
         "id-2"},
        // Without a new refresh token the answer is taken but nobody is called.
        {R"({"access_token":"id-2","expires_in":"3600"})", 200, {}, "id-2"},
        {R"({"expires_in":"3600"})", 200, {"Refresh token: access_token not found"}, ""},
        {R"({"error":{"message":"TOKEN_EXPIRED"}})", 400, {"Refresh token: TOKEN_EXPIRED"}, "id-1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Body);
        SignIn("id-1");
        Answer(c.Status, c.Body);
        std::vector<std::string> heard;
        fAuth->RefreshToken(
            [&](bool Refreshed) { heard.push_back(Refreshed ? "refreshed" : "not refreshed"); },
            [&](const std::string &RequestID, const std::string &ErrMsg) {
                heard.push_back(RequestID + ": " + ErrMsg);
            });
        EXPECT_FALSE(fAuth->Authenticated());
        Settle();
        EXPECT_EQ(LastRequest().Body, R"({"grant_type":"refresh_token","refresh_token":"refresh-1"})");
        EXPECT_EQ(heard, c.Heard);
        EXPECT_EQ(fAuth->Token(), c.Token);
    }
}

TEST_F(SignInTest, AsynchronousRefreshFailureWithoutErrorCallbackIsLogged) {
    Answer(400, R"({"error":{"message":"TOKEN_EXPIRED"}})");
    fAuth->RefreshToken(nullptr, nullptr);
    Settle();
    auto lines = LogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Firebase RefreshToken failed: TOKEN_EXPIRED"),
              lines.end());
}

// The answer still arrives and is taken safely, but the released client calls nothing back.
TEST_F(SignInTest, PendingAnswerOfAReleasedClientIsDropped) {
    Answer(200, SignInAnswer("id-1"));
    std::string uid;
    fAuth->SignInAnonymously(
        [&](const std::string &, std::shared_ptr<IFirebaseUser> User) { uid = User->UID(); }, nullptr);
    fAuth.reset();
    ASSERT_TRUE(fPeer->WaitForRequests(1, std::chrono::seconds(10)));
    Settle();
    EXPECT_EQ(uid, "");
}

TEST_F(SignInTest, TransportFailureReachesTheCaller) {
    auto unreachable = std::make_shared<TFirebaseAuthentication>(
        ApiKey,
        TAuthenticationEndpoints{
            "http://127.0.0.1:" + std::to_string(Tunewell::Test::UnusedLoopbackPort()) + IdentityPath, ""},
        fClock);
    EXPECT_THROW(unreachable->SignInAnonymouslySynchronous(), ETransport);
    std::string message;
    unreachable->SignInAnonymously(nullptr, [&](const std::string &, const std::string &ErrMsg) {
        message = ErrMsg.empty() ? "(empty)" : ErrMsg;
    });
    ASSERT_TRUE(PumpUntil([&] { return !message.empty(); }));
    EXPECT_FALSE(unreachable->Authenticated());
}

} // namespace
