#include "Cumulo/RealTimeDB.h"

#include "CloudPeerFixture.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"
#include "Cumulo/HttpResponse.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace Cumulo;
using namespace CumuloTest;

namespace {

class RealTimeDBTest : public CloudPeerFixture {
protected:
    void SetUp() override {
        CloudPeerFixture::SetUp();
        SignIn("tok/en");
        fDB = std::make_shared<TRealTimeDB>(fAuth, fPeer->BaseURL());
    }

    // Lets the token expire on the local clock, so a refusal leads to a refresh.
    void ExpireToken() { fClock->Set(T0 + Seconds(4000)); }

    std::string RefreshAnswer(const std::string &Token) {
        return R"({"access_token":")" + Token + R"(","expires_in":"3600","refresh_token":"refresh-2"})";
    }

    std::shared_ptr<TRealTimeDB> fDB;
};

std::string Text(const TOptionalJSON &Value) {
    return Value ? Value->dump() : "(none)";
}

TEST_F(RealTimeDBTest, NodeURLs) {
    const TQueryParams query = {{"orderBy", "\"$key\""}, {"print", "silent"}};
    struct Case {
        TStringDynArray Path;
        const TQueryParams *Query;
        const char *Target;
    } cases[] = {
        {{}, nullptr, "/.json?auth=tok%2Fen"},
        {{"VERSOES"}, nullptr, "/VERSOES.json?auth=tok%2Fen"},
        {{"CADASTRADO", "a b", "x"}, nullptr, "/CADASTRADO/a+b/x.json?auth=tok%2Fen"},
        {{"água", "x/y"}, nullptr, "/%C3%A1gua/x%2Fy.json?auth=tok%2Fen"},
        {{"ESTACOES"}, &query, "/ESTACOES.json?auth=tok%2Fen&orderBy=%22$key%22&print=silent"},
    };
    for (const auto &c : cases) {
        fDB->GetSynchronous(c.Path, c.Query);
        EXPECT_EQ(LastRequest().Target, c.Target);
    }
    fAuth->SignOut();
    fDB->GetSynchronous({"VERSOES"});
    EXPECT_EQ(LastRequest().Target, "/VERSOES.json?auth=");
}

TEST_F(RealTimeDBTest, MethodsAndBodies) {
    const TJSONValue data = {{"Serie", "12"}, {"Nome", "Rádio/1"}};
    const std::string dataText = R"({"Serie":"12","Nome":"R\u00E1dio\/1"})";
    struct Case {
        const char *Name;
        std::function<void(TRealTimeDB &)> Call;
        const char *Method;
        std::string Body;
        const char *Target;
    } cases[] = {
        {"get", [](auto &db) { db.GetSynchronous({"n"}); }, "GET", "", "/n.json?auth=tok%2Fen"},
        {"put", [&](auto &db) { db.PutSynchronous({"n"}, data); }, "PUT", dataText, "/n.json?auth=tok%2Fen"},
        {"post", [&](auto &db) { db.PostSynchronous({"n"}, data); }, "POST", dataText,
         "/n.json?auth=tok%2Fen"},
        {"patch", [&](auto &db) { db.PatchSynchronous({"n"}, data); }, "PATCH", dataText,
         "/n.json?auth=tok%2Fen"},
        {"delete", [](auto &db) { db.DeleteSynchronous({"n"}); }, "DELETE", "", "/n.json?auth=tok%2Fen"},
        {"server variable",
         [](auto &db) {
             db.GetServerVariablesSynchronous("timestamp", {"n", "t"});
         },
         "PUT", R"({".sv":"timestamp"})", "/n/t.json?auth=tok%2Fen"},
        {"get, asynchronous", [](auto &db) { db.Get({"n"}, nullptr, nullptr); }, "GET", "",
         "/n.json?auth=tok%2Fen"},
        {"put, asynchronous", [&](auto &db) { db.Put({"n"}, data, nullptr, nullptr); }, "PUT", dataText,
         "/n.json?auth=tok%2Fen"},
        {"post, asynchronous", [&](auto &db) { db.Post({"n"}, data, nullptr, nullptr); }, "POST", dataText,
         "/n.json?auth=tok%2Fen"},
        {"patch, asynchronous", [&](auto &db) { db.Patch({"n"}, data, nullptr, nullptr); }, "PATCH", dataText,
         "/n.json?auth=tok%2Fen"},
        {"delete, asynchronous", [](auto &db) { db.Delete({"n"}, nullptr, nullptr); }, "DELETE", "",
         "/n.json?auth=tok%2Fen"},
        {"server variable, asynchronous",
         [](auto &db) { db.GetServerVariables("timestamp", {}, nullptr, nullptr); }, "PUT",
         R"({".sv":"timestamp"})", "/.json?auth=tok%2Fen"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        std::size_t before = fPeer->RequestCount();
        c.Call(*fDB);
        ASSERT_TRUE(fPeer->WaitForRequests(before + 1, std::chrono::seconds(10)));
        Settle();
        auto request = LastRequest();
        EXPECT_EQ(request.Method, c.Method);
        EXPECT_EQ(request.Body, c.Body);
        EXPECT_EQ(request.Target, c.Target);
        EXPECT_FALSE(request.Header("Authorization").has_value());
    }
    // What was handed in stays the caller's, unchanged.
    EXPECT_EQ(data, (TJSONValue{{"Serie", "12"}, {"Nome", "Rádio/1"}}));
}

TEST_F(RealTimeDBTest, SynchronousAnswerRules) {
    struct Case {
        int Status;
        const char *Body;
        // The value's JSON text, or the raised message after "raises ", followed by " (unavailable)"
        // when it says the service is unavailable now.
        const char *Expected;
    } cases[] = {
        {200, "null", "null"},
        {404, R"({"error":"Not found"})", "null"},
        {200, R"({"a":{"b":1}})", R"({"a":{"b":1}})"},
        {200, R"({"error":"child","b":1})", R"({"error":"child","b":1})"},
        {200, R"("text")", R"("text")"},
        {200, "12.5", "12.5"},
        {200, "not json", "(none)"},
        {401, R"({"error":"Permission denied"})", "raises Permission denied"},
        {400, R"({"error":{"message":"Invalid path"}})", "raises Invalid path"},
        {500, "", "raises Internal Server Error (unavailable)"},
        {503, R"({"error":"busy"})", "raises busy (unavailable)"},
        {429, "", "raises Too Many Requests (unavailable)"},
    };
    const auto raised = [](const EFirebaseResponse &e) {
        return std::string("raises ") + e.what() +
               (IsServiceUnavailable(e.StatusCode()) ? " (unavailable)" : "");
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Body);
        for (auto call : std::vector<std::function<TOptionalJSON()>>{
                 [&] { return fDB->GetSynchronous({"n"}); }, [&] { return fDB->PutSynchronous({"n"}, "v"); },
                 [&] { return fDB->PostSynchronous({"n"}, "v"); },
                 [&] {
                     return fDB->PatchSynchronous({"n"}, {{"k", "v"}});
                 }}) {
            Answer(c.Status, c.Body);
            std::string outcome;
            try {
                outcome = Text(call());
            } catch (const EFirebaseResponse &e) {
                outcome = raised(e);
            }
            EXPECT_EQ(outcome, c.Expected);
        }
        // The read for the text readers answers alike, as node text.
        Answer(c.Status, c.Body);
        std::string outcome;
        try {
            outcome = fDB->GetNodeTextSynchronous({"n"}).value_or("(none)");
        } catch (const EFirebaseResponse &e) {
            outcome = raised(e);
        }
        EXPECT_EQ(outcome, c.Expected);
    }
}

TEST_F(RealTimeDBTest, PostAnswersWithTheServicesAnswer) {
    Answer(200, R"({"name":"-Nabc"})");
    EXPECT_EQ(Text(fDB->PostSynchronous({"CADASTRADO"}, {{"Nome", "Ana"}})), R"({"name":"-Nabc"})");
}

TEST_F(RealTimeDBTest, RefusedWriteIsResentOnceAfterARefresh) {
    ExpireToken();
    Answer(401, R"({"error":"Auth token is expired"})");
    Answer(200, RefreshAnswer("fresh"));
    Answer(200, R"({"Serie":"7"})");
    EXPECT_EQ(Text(fDB->PatchSynchronous({"LAST"}, {{"Serie", "7"}})), R"({"Serie":"7"})");
    auto requests = Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].Target, "/LAST.json?auth=tok%2Fen");
    EXPECT_EQ(requests[1].Path, TokenPath);
    EXPECT_EQ(requests[2].Target, "/LAST.json?auth=fresh");
    EXPECT_EQ(requests[2].Body, R"({"Serie":"7"})");
}

TEST_F(RealTimeDBTest, RefusedTwiceRaisesTheSecondAnswersText) {
    struct Case {
        const char *SecondBody;
        const char *Message;
    } cases[] = {{R"({"error":"Permission denied"})", "Permission denied"}, {"", "Unauthorized"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Message);
        SignIn("tok/en");
        ExpireToken();
        Answer(401, R"({"error":"Auth token is expired"})");
        Answer(200, RefreshAnswer("fresh"));
        Answer(401, c.SecondBody);
        EXPECT_EQ(MessageOf<EFirebaseResponse>([&] { fDB->PutSynchronous({"n"}, "v"); }), c.Message);
        EXPECT_EQ(Requests().size(), 3u);
        fClock->Set(T0);
    }
}

TEST_F(RealTimeDBTest, RefusalWithAFreshTokenIsNotResent) {
    Answer(403, R"({"error":"Permission denied"})");
    EXPECT_EQ(MessageOf<EFirebaseResponse>([&] { fDB->GetSynchronous({"n"}); }), "Permission denied");
    EXPECT_EQ(Requests().size(), 1u);
}

TEST_F(RealTimeDBTest, DeleteAnswers) {
    struct Case {
        int Status;
        const char *Expected;
    } cases[] = {{200, "true"}, {404, "false"}, {401, "raises Permission denied"}};
    for (const auto &c : cases) {
        Answer(c.Status, R"({"error":"Permission denied"})");
        std::string outcome;
        try {
            outcome = fDB->DeleteSynchronous({"n"}) ? "true" : "false";
        } catch (const EFirebaseResponse &e) {
            outcome = std::string("raises ") + e.what();
        }
        EXPECT_EQ(outcome, c.Expected) << c.Status;

        Answer(c.Status, R"({"error":"Permission denied"})");
        std::string heard;
        fDB->Delete(
            {"a", "b"},
            [&](const TStringDynArray &Params, bool Success) {
                heard = Params.at(1) + (Success ? " true" : " false");
            },
            [&](const std::string &RequestID, const std::string &ErrMsg) {
                heard = RequestID + ": " + ErrMsg;
            });
        ASSERT_TRUE(PumpUntil([&] { return !heard.empty(); }));
        EXPECT_EQ(heard, c.Status == 401 ? "a,b: Permission denied" : std::string("b ") + c.Expected);
    }
}

TEST_F(RealTimeDBTest, ServerVariables) {
    Answer(200, "1700000000000");
    EXPECT_EQ(Text(fDB->GetServerVariablesSynchronous("timestamp", {"t"})), "1700000000000");
    Answer(400, R"({"error":"Invalid data"})");
    EXPECT_EQ(Text(fDB->GetServerVariablesSynchronous("timestamp", {"t"})), "(none)");

    struct Case {
        int Status;
        const char *Body;
        const char *Heard;
    } cases[] = {
        {200, "1700000000000", "timestamp = 1700000000000"},
        {400, R"({"error":"Invalid data"})", "timestamp failed: Invalid data"},
        {500, "{}", "timestamp failed: Internal Server Error"},
        {500, "oops", "timestamp failed: The reponse from the firestore is not a JSON: oops"},
    };
    for (const auto &c : cases) {
        Answer(c.Status, c.Body);
        std::string heard;
        fDB->GetServerVariables(
            "timestamp", {"t"},
            [&](const std::string &ServerVar, const TOptionalJSON &Val) {
                heard = ServerVar + " = " + Text(Val);
            },
            [&](const std::string &RequestID, const std::string &ErrMsg) {
                heard = RequestID + " failed: " + ErrMsg;
            });
        ASSERT_TRUE(PumpUntil([&] { return !heard.empty(); }));
        EXPECT_EQ(heard, c.Heard);
    }
}

TEST_F(RealTimeDBTest, AsynchronousAnswerRules) {
    using Start = std::function<void(TRealTimeDB &, TOnGetValue, TOnRequestError)>;
    const Start starts[] = {
        [](auto &db, auto v, auto e) {
            db.Get({"a", "b"}, v, e);
        },
        [](auto &db, auto v, auto e) {
            db.Put({"a", "b"}, "x", v, e);
        },
        [](auto &db, auto v, auto e) {
            db.Post({"a", "b"}, "x", v, e);
        },
        [](auto &db, auto v, auto e) {
            db.Patch({"a", "b"}, {{"k", "x"}}, v, e);
        },
    };
    struct Case {
        int Status;
        const char *Body;
        const char *Heard;
    } cases[] = {
        {200, R"({"k":"x"})", R"(a/b = {"k":"x"})"},
        {200, R"({"error":"child"})", R"(a/b = {"error":"child"})"},
        {200, "null", "a/b = null"},
        {404, "", "a/b = (none)"},
        {401, R"({"error":"Permission denied"})", "a,b: Permission denied"},
        {200, R"({"error":{"message":"Bad"}})", "a/b = {\"error\":{\"message\":\"Bad\"}}"},
    };
    for (const auto &c : cases) {
        for (const auto &start : starts) {
            SCOPED_TRACE(c.Body);
            Answer(c.Status, c.Body);
            std::string heard;
            start(
                *fDB,
                [&](const TStringDynArray &Params, const TOptionalJSON &Val) {
                    heard = Params.at(0) + "/" + Params.at(1) + " = " + Text(Val);
                },
                [&](const std::string &RequestID, const std::string &ErrMsg) {
                    heard = RequestID + ": " + ErrMsg;
                });
            ASSERT_TRUE(PumpUntil([&] { return !heard.empty(); }));
            EXPECT_EQ(heard, c.Heard);
        }
    }
}

TEST_F(RealTimeDBTest, EmptySegmentsAndMemberNamesAreRefusedUnsent) {
    // An empty last segment would address the parent ("FAVORITOS/" becomes "FAVORITOS.json"),
    // one inside the path another node; the service itself refuses an empty member name.
    const TStringDynArray emptyLast{"CADASTRADO", "P", "FAVORITOS", ""};
    const TStringDynArray emptyInside{"CADASTRADO", "", "LAST"};
    const TJSONValue emptyName = {{"", "1"}};
    const TJSONValue emptyDeepName = {{"a", {{"b", {{"", 1}}}}}};
    const TJSONValue fine = {{"Serie", "12"}};
    using Call = std::function<void(TRealTimeDB &)>;
    struct Case {
        const char *Name;
        Call Synchronous;
        std::function<void(TRealTimeDB &, TOnRequestError)> Asynchronous;
    } cases[] = {
        {"delete, empty last segment", [&](auto &db) { db.DeleteSynchronous(emptyLast); },
         [&](auto &db, auto e) { db.Delete(emptyLast, nullptr, e); }},
        {"get, empty segment inside", [&](auto &db) { db.GetSynchronous(emptyInside); },
         [&](auto &db, auto e) { db.Get(emptyInside, nullptr, e); }},
        {"put, empty segment", [&](auto &db) { db.PutSynchronous(emptyLast, fine); },
         [&](auto &db, auto e) { db.Put(emptyLast, fine, nullptr, e); }},
        {"post, empty segment", [&](auto &db) { db.PostSynchronous(emptyInside, fine); },
         [&](auto &db, auto e) { db.Post(emptyInside, fine, nullptr, e); }},
        {"patch, empty member name",
         [&](auto &db) {
             db.PatchSynchronous({"CADASTRADO", "P", "FAVORITOS"}, emptyName);
         },
         [&](auto &db, auto e) {
             db.Patch({"CADASTRADO", "P", "FAVORITOS"}, emptyName, nullptr, e);
         }},
        {"put, empty member name deep down", [&](auto &db) { db.PutSynchronous({"n"}, emptyDeepName); },
         [&](auto &db, auto e) { db.Put({"n"}, emptyDeepName, nullptr, e); }},
        {"server variable, empty segment",
         [&](auto &db) { db.GetServerVariablesSynchronous("timestamp", emptyLast); },
         [&](auto &db, auto e) { db.GetServerVariables("timestamp", emptyLast, nullptr, e); }},
        {"single empty segment", [&](auto &db) { db.GetSynchronous({""}); },
         [&](auto &db, auto e) { db.Get({""}, nullptr, e); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        const std::size_t before = fPeer->RequestCount();
        EXPECT_THROW(c.Synchronous(*fDB), EInvalidRequest);
        std::string heard;
        c.Asynchronous(*fDB, [&](const std::string &, const std::string &ErrMsg) { heard = ErrMsg; });
        ASSERT_TRUE(PumpUntil([&] { return !heard.empty(); }));
        EXPECT_NE(heard.find("not sent"), std::string::npos) << heard;
        Settle();
        EXPECT_EQ(fPeer->RequestCount(), before);
    }
    // The root stays the empty list, and a value (not an object) has no member names.
    const std::size_t sent = fPeer->RequestCount();
    fDB->GetSynchronous({});
    fDB->PutSynchronous({"n"}, "");
    EXPECT_EQ(fPeer->RequestCount(), sent + 2);
}

TEST_F(RealTimeDBTest, AsynchronousFailuresWithoutErrorCallbackAreLogged) {
    Answer(401, R"({"error":"Permission denied"})");
    fDB->Get({"a", "b"}, nullptr, nullptr);
    // The peer answers in arrival order: let the first exchange end before the second starts.
    Settle();
    // An exception of the caller's own callback takes the same road.
    Answer(200, "1");
    fDB->Put(
        {"c"}, 1, [](auto &&...) { throw std::runtime_error("callback broke"); }, nullptr);
    Settle();
    auto lines = LogLines();
    auto has = [&](const std::string &Line) {
        return std::find(lines.begin(), lines.end(), Line) != lines.end();
    };
    EXPECT_TRUE(has("Firebase failure in a,b: Permission denied"));
    EXPECT_TRUE(has("Firebase failure in c: callback broke"));
}

TEST_F(RealTimeDBTest, OverlappingCallsAreEachAnsweredWithTheirOwnPath) {
    fPeer->SetResponder([](const TRecordedRequest &Request) {
        TScriptedAnswer answer;
        answer.Body = "\"" + Request.Path + "\"";
        return answer;
    });
    std::map<std::string, std::string> firstHeard, secondHeard, thirdHeard;
    auto collect = [](std::map<std::string, std::string> &Into) {
        return [&Into](const TStringDynArray &Params, const TOptionalJSON &Val) {
            Into[TFirebaseHelpers::ArrStrToCommaStr(Params) + " (" + std::to_string(Params.size()) + ")"] =
                Val->get<std::string>();
        };
    };
    fDB->Get({"first"}, collect(firstHeard), nullptr);
    fDB->Get({"second"}, collect(secondHeard), nullptr);
    // A comma inside a segment stays inside it.
    fDB->Get({"x,y"}, collect(thirdHeard), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return firstHeard.size() + secondHeard.size() + thirdHeard.size() == 3; }));
    EXPECT_EQ(firstHeard, (std::map<std::string, std::string>{{"first (1)", "/first.json"}}));
    EXPECT_EQ(secondHeard, (std::map<std::string, std::string>{{"second (1)", "/second.json"}}));
    EXPECT_EQ(thirdHeard, (std::map<std::string, std::string>{{"x,y (1)", "/x%2Cy.json"}}));
}

TEST_F(RealTimeDBTest, AsynchronousCallWaitsForTheRefreshOfAnExpiredToken) {
    ExpireToken();
    Answer(200, RefreshAnswer("fresh"));
    Answer(200, R"("v")");
    std::string heard;
    fDB->Get(
        {"n"}, [&](auto &, const TOptionalJSON &Val) { heard = Text(Val); }, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !heard.empty(); }));
    EXPECT_EQ(heard, R"("v")");
    auto requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Path, TokenPath);
    EXPECT_EQ(requests[1].Target, "/n.json?auth=fresh");
}

TEST(RealTimeDBConstruction, AbsentAuthenticationIsRefused) {
    try {
        TRealTimeDB db("tunewell-local", nullptr);
        FAIL() << "a client was created";
    } catch (const std::invalid_argument &e) {
        EXPECT_STREQ(e.what(), "Authentication not initalized");
    }
}

// The project ID argument is ignored: the build values (and the emulator variable) decide.
TEST_F(RealTimeDBTest, ProjectIDIsNotUsedAndTheEmulatorVariableIsHonoured) {
    ::setenv("FIREBASE_DATABASE_EMULATOR_HOST", ("127.0.0.1:" + std::to_string(fPeer->Port())).c_str(), 1);
    TRealTimeDB db("some-other-project", fAuth);
    ::unsetenv("FIREBASE_DATABASE_EMULATOR_HOST");
    Answer(200, R"({"v":1})");
    EXPECT_EQ(Text(db.GetSynchronous({"VERSOES"})), R"({"v":1})");
    EXPECT_EQ(LastRequest().Path, "/VERSOES.json");
}

// Listening itself is tested with the listener's suites.
TEST_F(RealTimeDBTest, KeepAliveTimeStampIsZeroBeforeListening) {
    EXPECT_EQ(fDB->GetLastKeepAliveTimeStamp(), 0);
}

TEST(RealTimeDBNodePath, JsonExtensionGoesOnTheLastSegment) {
    EXPECT_EQ(TRealTimeDB::AddJSONExtToRequest({}), TStringDynArray{".json"});
    EXPECT_EQ(TRealTimeDB::AddJSONExtToRequest({"a", "b"}), (TStringDynArray{"a", "b.json"}));
    TStringDynArray original = {"x"};
    TRealTimeDB::AddJSONExtToRequest(original);
    EXPECT_EQ(original, TStringDynArray{"x"});
}

// A client released while its answer is on the way calls nothing of what it was given: the
// callbacks' owner may have gone with it. The answer is held back until the release.
TEST_F(RealTimeDBTest, AReleasedClientHearsNoAnswer) {
    int called = 0;
    const TOnGetValue onValue = [&](const TStringDynArray &, const TOptionalJSON &) { ++called; };
    const TOnRequestError onError = [&](const std::string &, const std::string &) { ++called; };
    const auto newAuth = [this](const std::string &BaseURL) {
        return std::make_shared<TFirebaseAuthentication>(
            ApiKey, TAuthenticationEndpoints{BaseURL + IdentityPath, BaseURL + TokenPath}, fClock);
    };
    const auto signIn = [&](const std::string &BaseURL) {
        auto auth = newAuth(BaseURL);
        auth->SignInWithEmailAndPassword(
            "ana@x.org", "pw", [&](const std::string &, std::shared_ptr<IFirebaseUser>) { ++called; },
            onError);
        return std::shared_ptr<void>(auth);
    };
    struct Case {
        const char *Name;
        int Status;
        std::string Body;
        // Starts the call against the peer at BaseURL and returns the only reference to its client.
        std::function<std::shared_ptr<void>(const std::string &BaseURL)> Start;
    } const cases[] = {
        {"read", 200, R"({"a":1})",
         [&](const std::string &BaseURL) {
             auto db = std::make_shared<TRealTimeDB>(fAuth, BaseURL);
             db->Get({"a"}, onValue, onError);
             return std::shared_ptr<void>(db);
         }},
        {"refused write", 500, R"({"error":"broken"})",
         [&](const std::string &BaseURL) {
             auto db = std::make_shared<TRealTimeDB>(fAuth, BaseURL);
             db->Put({"a"}, TJSONValue("x"), onValue, onError);
             return std::shared_ptr<void>(db);
         }},
        {"delete", 200, "null",
         [&](const std::string &BaseURL) {
             auto db = std::make_shared<TRealTimeDB>(fAuth, BaseURL);
             db->Delete(
                 {"a"}, [&](const TStringDynArray &, bool) { ++called; }, onError);
             return std::shared_ptr<void>(db);
         }},
        {"server variable", 200, "1700000000000",
         [&](const std::string &BaseURL) {
             auto db = std::make_shared<TRealTimeDB>(fAuth, BaseURL);
             db->GetServerVariables(
                 "timestamp", {"a"}, [&](const std::string &, const TOptionalJSON &) { ++called; }, onError);
             return std::shared_ptr<void>(db);
         }},
        {"sign-in", 200, SignInAnswer("t"), signIn},
        {"refused sign-in", 400, R"({"error":{"message":"INVALID_PASSWORD"}})", signIn},
        {"token refresh", 200, R"({"access_token":"a","expires_in":"3600","refresh_token":"r"})",
         [&](const std::string &BaseURL) {
             auto auth = newAuth(BaseURL);
             auth->RefreshToken([&](bool) { ++called; }, onError);
             return std::shared_ptr<void>(auth);
         }},
        {"password reset", 200, "{}",
         [&](const std::string &BaseURL) {
             auto auth = newAuth(BaseURL);
             auth->SendPasswordResetEMail(
                 "ana@x.org", [&](const std::string &, std::shared_ptr<IFirebaseResponse>) { ++called; },
                 onError);
             return std::shared_ptr<void>(auth);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        // A peer of its own, so that no connection kept from the case before carries the request.
        TScriptedPeer peer;
        auto held = std::make_shared<Tunewell::Test::TStreamedAnswer>();
        auto answer = TScriptedAnswer::Streamed(held, "application/json; charset=UTF-8");
        answer.Status = c.Status;
        peer.Enqueue(answer);
        auto client = c.Start(peer.BaseURL());
        ASSERT_TRUE(held->WaitUntilStarted(std::chrono::seconds(10)));
        client.reset();
        held->Send(c.Body);
        held->Finish();
        Settle();
        EXPECT_EQ(called, 0);
    }
}

} // namespace
