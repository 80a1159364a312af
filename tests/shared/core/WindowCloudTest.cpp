#include "shared/core/WindowCloud.h"

#include "Cumulo/CertificateProblem.h"
#include "Cumulo/Exceptions.h"
#include "FakeCloud.h"
#include "shared/core/WindowCloudFailure.h"

#include <gtest/gtest.h>

using namespace Tunewell;
using namespace Tunewell::Testing;
using Cumulo::TJSONValue;
using Cumulo::TStringDynArray;

namespace {

class LinesLog : public IWindowCloudLog {
public:
    void AddLine(const std::string &Line) override { Lines.push_back(Line); }
    void Clear() override { Lines.clear(); }
    std::vector<std::string> Lines;
};

class WindowCloudTest : public ::testing::Test {
protected:
    WindowCloud Make(WindowCloudRole Role, WindowCloudSettings Settings = WindowCloudSettings::FromBuild()) {
        return WindowCloud(Log, Role, std::make_shared<FakeCloudClients>(Script), Settings);
    }
    LinesLog Log;
    std::shared_ptr<FakeCloudScript> Script = std::make_shared<FakeCloudScript>();
};

TEST(WindowCloudPath, JoinsAndSplitsSegments) {
    EXPECT_EQ(WindowCloud::GetPathFromResParams({}), "");
    EXPECT_EQ(WindowCloud::GetPathFromResParams({"ESTACOES"}), "ESTACOES");
    EXPECT_EQ(WindowCloud::GetPathFromResParams({"CADASTRADO", "-Nk1", "LAST"}), "CADASTRADO/-Nk1/LAST");
    EXPECT_EQ(WindowCloud::SplitPath("CADASTRADO\\-Nk1/FAVORITOS/12"),
              (TStringDynArray{"CADASTRADO", "-Nk1", "FAVORITOS", "12"}));
}

TEST_F(WindowCloudTest, ShowRTNodeWritesOneLinePerMemberOrTheValue) {
    struct Case {
        const char *Name;
        TJSONValue Val;
        std::vector<std::string> Lines;
    };
    const std::vector<Case> cases{
        {"null names the path", nullptr, {"Path ESTACOES not found"}},
        {"answer of an add", TJSONValue::parse(R"({"name":"-Nk1"})"), {R"(name: "-Nk1")"}},
        {"slash escaped in full text", TJSONValue::parse(R"({"a":"a/b"})"), {R"(a: "a\/b")"}},
        {"members in stored order, nested compact",
         TJSONValue::parse(R"({"z":{"k":[1,true]},"a":"\u00e9"})"),
         {R"(z: {"k":[1,true]})", R"(a: "\u00E9")"}},
        {"object without members", TJSONValue::object(), {}},
        {"string in simple form", TJSONValue("say \"hi\" a/b"), {R"("say \"hi\" a/b")"}},
        {"number", TJSONValue(12), {"12"}},
    };
    auto cloud = Make(WindowCloudRole::Main);
    for (const auto &c : cases) {
        Log.Clear();
        cloud.ShowRTNode({"ESTACOES"}, c.Val);
        EXPECT_EQ(Log.Lines, c.Lines) << c.Name;
    }
}

TEST_F(WindowCloudTest, SignInReplacesBothClients) {
    auto cloud = Make(WindowCloudRole::Main);
    EXPECT_FALSE(cloud.CheckSignedIn());
    auto outcome = cloud.SignIn();
    EXPECT_TRUE(outcome.Ran);
    EXPECT_TRUE(outcome.Succeeded);
    EXPECT_TRUE(cloud.CheckSignedIn());
    auto firstDatabase = cloud.fRealTimeDB();
    ASSERT_TRUE(firstDatabase);

    // The conditional form leaves a signed-in window alone; the unconditional one starts anew.
    EXPECT_FALSE(cloud.SignInIfNeeded().Ran);
    EXPECT_EQ(Script->AuthenticationsCreated, 1);
    EXPECT_TRUE(cloud.SignIn().Succeeded);
    EXPECT_EQ(Script->AuthenticationsCreated, 2);
    EXPECT_NE(cloud.fRealTimeDB(), firstDatabase);
    EXPECT_TRUE(Log.Lines.empty());
}

TEST_F(WindowCloudTest, RejectedSignInKeepsThePreviousDatabaseClient) {
    struct Case {
        const char *Name;
        std::function<void(FakeCloudScript &)> Reject;
        std::string Error;
        bool Unreachable;
    };
    const std::vector<Case> cases{
        {"password", [](FakeCloudScript &S) { S.AcceptedPassword = "changed99"; }, "INVALID_PASSWORD", false},
        {"e-mail", [](FakeCloudScript &S) { S.AcceptedEmail = "other@tunewell.local"; }, "EMAIL_NOT_FOUND",
         false},
        {"no network", [](FakeCloudScript &S) { S.SignInError = "Connection refused"; }, "Connection refused",
         true},
        {"service unavailable", [](FakeCloudScript &S) { S.SignInStatus = 503; }, "Service Unavailable",
         true},
        {"too many requests", [](FakeCloudScript &S) { S.SignInStatus = 429; }, "Too Many Requests", true},
        {"refused", [](FakeCloudScript &S) { S.SignInStatus = 400; }, "Bad Request", false},
    };
    for (const auto &c : cases) {
        *Script = FakeCloudScript{};
        auto cloud = Make(WindowCloudRole::Main);
        ASSERT_TRUE(cloud.SignIn().Succeeded);
        auto previous = cloud.fRealTimeDB();
        c.Reject(*Script);
        auto outcome = cloud.SignIn();
        EXPECT_FALSE(outcome.Succeeded) << c.Name;
        EXPECT_EQ(outcome.ErrorMessage, c.Error) << c.Name;
        EXPECT_EQ(outcome.Unreachable, c.Unreachable) << c.Name;
        EXPECT_FALSE(cloud.CheckSignedIn()) << c.Name;
        EXPECT_EQ(cloud.fRealTimeDB(), previous) << c.Name;
        // The conditional form tries again while the window is not signed in.
        EXPECT_TRUE(cloud.SignInIfNeeded().Ran) << c.Name;
    }
}

TEST_F(WindowCloudTest, CheckSignedInLogsOnlyOutsideTheMainWindow) {
    auto main = Make(WindowCloudRole::Main);
    EXPECT_FALSE(main.CheckSignedIn());
    EXPECT_FALSE(main.CheckAndCreateRealTimeDBClass());
    EXPECT_TRUE(Log.Lines.empty());
    EXPECT_EQ(main.apiKey(), WindowCloudSettings::FromBuild().ProjectID);

    auto other = Make(WindowCloudRole::Other);
    EXPECT_FALSE(other.CheckAndCreateRealTimeDBClass());
    EXPECT_EQ(Log.Lines, std::vector<std::string>{"Por favor, conecte-se primeiro!"});
    EXPECT_EQ(other.apiKey(), "");
}

TEST_F(WindowCloudTest, CheckAndCreateRealTimeDBClassKeepsAnExistingClient) {
    auto cloud = Make(WindowCloudRole::Other);
    ASSERT_TRUE(cloud.SignIn().Succeeded);
    auto database = cloud.fRealTimeDB();
    EXPECT_TRUE(cloud.CheckAndCreateRealTimeDBClass());
    EXPECT_EQ(cloud.fRealTimeDB(), database);
    EXPECT_EQ(Script->DatabasesCreated, 1);
}

TEST_F(WindowCloudTest, WritesLogTheirOutcome) {
    auto cloud = Make(WindowCloudRole::Main);
    const TStringDynArray path{"CADASTRADO", "-Nk1", "STATUS"};
    const TJSONValue record = TJSONValue::parse(R"({"Status":"Online"})");

    // Without a database client every kind of write still ends in its failure line.
    EXPECT_FALSE(cloud.Patch(path, record).Succeeded);
    ASSERT_EQ(Log.Lines.size(), 1u);
    EXPECT_EQ(Log.Lines[0].rfind("Post CADASTRADO/-Nk1/STATUS failed: ", 0), 0u) << Log.Lines[0];
    EXPECT_EQ(cloud.Delete(path), DeleteOutcome::Failed);
    EXPECT_EQ(Log.Lines[1].rfind("Delete CADASTRADO/-Nk1/STATUS failed: ", 0), 0u) << Log.Lines[1];
    EXPECT_THROW(cloud.Get(path), std::exception);

    ASSERT_TRUE(cloud.SignIn().Succeeded);
    Log.Clear();
    Script->Answer = [](const std::string &Method, const TStringDynArray &, const TJSONValue *Data) {
        if (Method == "PUT")
            throw Cumulo::EFirebaseResponse("Permission denied");
        if (Method == "POST")
            return Cumulo::TOptionalJSON(TJSONValue::parse(R"({"name":"-Nk2"})"));
        return Data ? Cumulo::TOptionalJSON(*Data) : Cumulo::TOptionalJSON();
    };
    EXPECT_TRUE(cloud.Patch(path, record).Succeeded);
    EXPECT_FALSE(cloud.Put(path, record).Succeeded);
    auto posted = cloud.Post({"CADASTRADO"}, record);
    EXPECT_EQ(posted.Answer->at("name"), "-Nk2");
    EXPECT_EQ(Log.Lines, (std::vector<std::string>{R"(Status: "Online")",
                                                   "Post CADASTRADO/-Nk1/STATUS failed: Permission denied",
                                                   R"(name: "-Nk2")"}));
    EXPECT_EQ(Script->Calls.back(), R"(POST CADASTRADO {"Status":"Online"})");
}

// What the user is told depends on it: an unreachable cloud is not a refusal.
TEST_F(WindowCloudTest, ReadFailuresTellAnUnreachableCloudFromARefusal) {
    using TKind = ECloudFailure::TKind;
    struct Case {
        const char *Name;
        std::function<void(FakeCloudScript &)> Break;
        TKind Kind;
        std::string Host;
        std::string Message;
        std::string Path;
        std::optional<Cumulo::TCertificateProblem> Certificate = {};
    };
    const auto failRead = [](std::function<void()> Throw) {
        return [Throw](FakeCloudScript &S) {
            S.Answer = [Throw](const std::string &, const TStringDynArray &, const TJSONValue *) {
                Throw();
                return Cumulo::TOptionalJSON();
            };
        };
    };
    const std::vector<Case> cases{
        {"sign-in unreachable", [](FakeCloudScript &S) { S.SignInError = "Connection refused"; },
         TKind::Unreachable, WindowCloud::IdentityHost(), "Connection refused", ""},
        {"sign-in refused", [](FakeCloudScript &S) { S.AcceptedPassword = "changed99"; }, TKind::NotSignedIn,
         WindowCloud::IdentityHost(), "Not signed in: INVALID_PASSWORD", ""},
        {"read unreachable", failRead([] { throw Cumulo::ETransport("Operation timed out"); }),
         TKind::Unreachable, WindowCloud::DatabaseHost(), "Operation timed out", "ESTACOES"},
        {"read refused", failRead([] { throw Cumulo::EFirebaseResponse("Permission denied", 401); }),
         TKind::Refused, WindowCloud::DatabaseHost(), "Permission denied", "ESTACOES"},
        {"sign-in unavailable", [](FakeCloudScript &S) { S.SignInStatus = 503; }, TKind::Unreachable,
         WindowCloud::IdentityHost(), "Service Unavailable", ""},
        {"read unavailable", failRead([] { throw Cumulo::EFirebaseResponse("Service Unavailable", 503); }),
         TKind::Unreachable, WindowCloud::DatabaseHost(), "Service Unavailable", "ESTACOES"},
        {"read gateway time-out", failRead([] { throw Cumulo::EFirebaseResponse("Gateway Timeout", 504); }),
         TKind::Unreachable, WindowCloud::DatabaseHost(), "Gateway Timeout", "ESTACOES"},
        // Where the certificate was refused: the host that presented it.
        {"read with a refused certificate", failRead([] {
             throw Cumulo::ECertificate(Cumulo::TCertificateProblem::Expired, "db.example:443", "expired");
         }),
         TKind::Unreachable, "db.example:443", "expired", "ESTACOES", Cumulo::TCertificateProblem::Expired},
        {"sign-in with a refused certificate",
         [](FakeCloudScript &S) {
             S.SignInThrows = [] {
                 throw Cumulo::ECertificate(Cumulo::TCertificateProblem::WrongHost, "id.example:443",
                                            "wrong");
             };
         },
         TKind::Unreachable, "id.example:443", "wrong", "", Cumulo::TCertificateProblem::WrongHost},
    };
    for (const auto &c : cases) {
        *Script = FakeCloudScript{};
        c.Break(*Script);
        auto cloud = Make(WindowCloudRole::Main);
        cloud.SignIn();
        try {
            cloud.Get({"ESTACOES"});
            ADD_FAILURE() << c.Name << ": no failure";
        } catch (const ECloudFailure &failure) {
            EXPECT_EQ(failure.Kind(), c.Kind) << c.Name;
            EXPECT_EQ(failure.Host(), c.Host) << c.Name;
            EXPECT_EQ(std::string(failure.what()), c.Message) << c.Name;
            EXPECT_EQ(failure.Path(), c.Path) << c.Name;
            EXPECT_EQ(failure.Certificate(), c.Certificate) << c.Name;
        }
    }
    // Anything else is no cloud failure and passes unchanged.
    *Script = FakeCloudScript{};
    failRead([] { throw std::logic_error("bug"); })(*Script);
    auto cloud = Make(WindowCloudRole::Main);
    cloud.SignIn();
    EXPECT_THROW(cloud.Get({"ESTACOES"}), std::logic_error);
}

TEST_F(WindowCloudTest, DeleteTellsDeletedFromNotFound) {
    auto cloud = Make(WindowCloudRole::Main);
    ASSERT_TRUE(cloud.SignIn().Succeeded);
    bool deleted = true;
    Script->Answer = [&](const std::string &, const TStringDynArray &, const TJSONValue *) {
        return Cumulo::TOptionalJSON(TJSONValue(deleted));
    };
    const TStringDynArray path{"CADASTRADO", "-Nk1", "FAVORITOS", "12"};
    EXPECT_EQ(cloud.Delete(path), DeleteOutcome::Deleted);
    deleted = false;
    EXPECT_EQ(cloud.Delete(path), DeleteOutcome::NotFound);
    EXPECT_EQ(Log.Lines, (std::vector<std::string>{"Delete CADASTRADO/-Nk1/FAVORITOS/12 passed",
                                                   "Path CADASTRADO/-Nk1/FAVORITOS/12 not found"}));
}

} // namespace
