#include "CloudPeerFixture.h"
#include "Cumulo/Exceptions.h"

#include <gtest/gtest.h>

using namespace Cumulo;
using namespace CumuloTest;

namespace {

class AccountTest : public CloudPeerFixture {
protected:
    void SetUp() override {
        CloudPeerFixture::SetUp();
        SignIn("id-1");
    }
};

const std::string TwoProviders = R"({"registered":true,"allProviders":["password","go\"ogle.com"]})";

TEST_F(AccountTest, SynchronousOperationsPostExactBodiesToTheirVerbs) {
    struct Case {
        const char *Name;
        std::function<void(TFirebaseAuthentication &)> Call;
        const char *Verb;
        const char *Body;
    } cases[] = {
        {"providers",
         [](auto &a) {
             std::vector<std::string> list;
             a.FetchProvidersForEMailSynchronous("ana@x.org", list);
         },
         "/createAuthUri", R"({"identifier":"ana@x.org","continueUri":"http:\/\/localhost"})"},
        {"reset e-mail", [](auto &a) { a.SendPasswordResetEMailSynchronous("ana@x.org"); },
         "/getOobConfirmationCode", R"({"email":"ana@x.org","requestType":"PASSWORD_RESET"})"},
        {"verify code", [](auto &a) { a.VerifyPasswordResetCodeSynchronous("c0de"); }, "/resetPassword",
         R"({"oobCode":"c0de"})"},
        {"confirm reset", [](auto &a) { a.ConfirmPasswordResetSynchronous("c0de", "new pw"); },
         "/resetPassword", R"({"oobCode":"c0de","newPassword":"new pw"})"},
        {"display name only", [](auto &a) { a.ChangeProfileSynchronous("", "", "Ana", ""); },
         "/setAccountInfo", R"({"idToken":"id-1","returnSecureToken":"FALSE","displayName":"Ana"})"},
        {"nothing to change", [](auto &a) { a.ChangeProfileSynchronous("", "", "", ""); }, "/setAccountInfo",
         R"({"idToken":"id-1","returnSecureToken":"FALSE"})"},
        {"every field", [](auto &a) { a.ChangeProfileSynchronous("b@x.org", "pw", "Bia", "http://p/b.png"); },
         "/setAccountInfo",
         R"({"idToken":"id-1","returnSecureToken":"FALSE","email":"b@x.org","password":"pw",)"
         R"("displayName":"Bia","photoUrl":"http:\/\/p\/b.png"})"},
        {"delete", [](auto &a) { a.DeleteCurrentUserSynchronous(); }, "/deleteAccount",
         R"({"idToken":"id-1"})"},
        {"account data", [](auto &a) { a.GetUserDataSynchronous(); }, "/getAccountInfo",
         R"({"idToken":"id-1"})"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        Answer(200, R"({"registered":false,"users":[]})");
        c.Call(*fAuth);
        auto request = LastRequest();
        EXPECT_EQ(request.Method, "POST");
        EXPECT_EQ(request.Path, std::string(IdentityPath) + c.Verb);
        EXPECT_EQ(request.Query, std::string("key=") + ApiKey);
        EXPECT_EQ(request.Body, c.Body);
    }
}

TEST_F(AccountTest, AsynchronousOperationsNameTheirRequests) {
    struct Case {
        std::function<void(TFirebaseAuthentication &, TOnResponse)> Call;
        const char *Info;
    } cases[] = {
        {[](auto &a, auto r) { a.SendPasswordResetEMail("ana@x.org", r, nullptr); },
         "EMail to reset the password sent to ana@x.org"},
        {[](auto &a, auto r) { a.ConfirmPasswordReset("c0de", "pw", r, nullptr); }, "Confirm password reset"},
        {[](auto &a, auto r) { a.ChangeProfile("", "", "Ana", "", r, nullptr); },
         "Change profile for \"Display name\""},
        {[](auto &a, auto r) { a.ChangeProfile("b@x.org", "pw", "Bia", "http://p", r, nullptr); },
         "Change profile for EMail,Password,\"Display name\",\"Photo URL\""},
        {[](auto &a, auto r) { a.DeleteCurrentUser(r, nullptr); }, "Delete signed-in user account"},
    };
    for (const auto &c : cases) {
        Answer(400, R"({"error":{"message":"INVALID_ID_TOKEN"}})");
        std::string info;
        int status = 0;
        c.Call(*fAuth, [&](const std::string &RequestID, std::shared_ptr<IFirebaseResponse> Response) {
            info = RequestID;
            status = Response->StatusCode();
        });
        ASSERT_TRUE(PumpUntil([&] { return status != 0; })) << c.Info;
        // The raw answer goes to the caller, error statuses included.
        EXPECT_EQ(info, c.Info);
        EXPECT_EQ(status, 400);
    }
}

TEST_F(AccountTest, ProviderLookupOfARegisteredAddressListsProvidersAsJsonText) {
    const std::vector<std::string> expected = {"\"password\"", "\"go\\\"ogle.com\""};
    Answer(200, TwoProviders);
    std::vector<std::string> list = {"old entry"};
    EXPECT_TRUE(fAuth->FetchProvidersForEMailSynchronous("ana@x.org", list));
    EXPECT_EQ(list, expected);

    Answer(200, TwoProviders);
    std::vector<std::string> heard;
    std::string email;
    bool registered = false;
    fAuth->FetchProvidersForEMail(
        "ana@x.org",
        [&](const std::string &EMail, bool IsRegistered, const std::vector<std::string> &Providers) {
            email = EMail;
            registered = IsRegistered;
            heard = Providers;
        },
        nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !email.empty(); }));
    EXPECT_EQ(email, "ana@x.org");
    EXPECT_TRUE(registered);
    EXPECT_EQ(heard, expected);
}

TEST_F(AccountTest, ProviderLookupOfAnUnregisteredAddressLeavesTheCallersListAlone) {
    Answer(200, R"({"registered":false,"allProviders":["password"]})");
    std::vector<std::string> list = {"keep"};
    EXPECT_FALSE(fAuth->FetchProvidersForEMailSynchronous("ana@x.org", list));
    EXPECT_EQ(list, std::vector<std::string>{"keep"});

    Answer(200, R"({"registered":false})");
    std::optional<std::vector<std::string>> heard;
    bool registered = true;
    fAuth->FetchProvidersForEMail(
        "ana@x.org",
        [&](const std::string &, bool IsRegistered, const std::vector<std::string> &Providers) {
            registered = IsRegistered;
            heard = Providers;
        },
        nullptr);
    ASSERT_TRUE(PumpUntil([&] { return heard.has_value(); }));
    EXPECT_FALSE(registered);
    EXPECT_TRUE(heard->empty());
}

TEST_F(AccountTest, MalformedProviderAnswers) {
    struct Case {
        const char *Body;
        const char *Message;
    } cases[] = {
        {R"({"allProviders":["password"]})", "JSON field registered missing"},
        {R"({"registered":"maybe"})", "JSON field registered missing"},
        {R"({"registered":true})", "JSON field allProviders missing"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Body);
        Answer(200, c.Body);
        std::vector<std::string> list;
        EXPECT_EQ(MessageOf<EFirebaseAuthentication>(
                      [&] { fAuth->FetchProvidersForEMailSynchronous("a@x.org", list); }),
                  c.Message);

        Answer(200, c.Body);
        std::string heard;
        fAuth->FetchProvidersForEMail(
            "a@x.org", [&](auto &&...) { heard = "answer"; },
            [&](const std::string &RequestID, const std::string &ErrMsg) {
                heard = RequestID + ": " + ErrMsg;
            });
        ASSERT_TRUE(PumpUntil([&] { return !heard.empty(); }));
        EXPECT_EQ(heard, std::string("a@x.org: ") + c.Message);
    }
}

TEST_F(AccountTest, ResetCodeErrorsMapInAnyLetterCase) {
    struct Case {
        int Status;
        const char *ErrorText;
        std::optional<TPasswordVerificationResult> Expected; // none: an error
    } cases[] = {
        {200, nullptr, pvrPassed},
        {400, "OPERATION_NOT_ALLOWED", pvrOpNotAllowed},
        {400, "expired_oob_code", pvrpvrExpired},
        {400, "Invalid_Oob_Code", pvrInvalid},
        {400, "WEAK_PASSWORD", std::nullopt},
    };
    for (const auto &c : cases) {
        std::string body =
            c.ErrorText ? std::string(R"({"error":{"message":")") + c.ErrorText + "\"}}" : "{}";
        SCOPED_TRACE(body);
        Answer(c.Status, body);
        if (c.Expected)
            EXPECT_EQ(fAuth->VerifyPasswordResetCodeSynchronous("c0de"), *c.Expected);
        else
            EXPECT_EQ(
                MessageOf<EFirebaseResponse>([&] { fAuth->VerifyPasswordResetCodeSynchronous("c0de"); }),
                c.ErrorText);

        Answer(c.Status, body);
        std::string heard;
        fAuth->VerifyPasswordResetCode(
            "c0de",
            [&](const std::string &Info, TPasswordVerificationResult Result) {
                heard = Info + ": " + std::to_string(Result);
            },
            [&](const std::string &RequestID, const std::string &ErrMsg) {
                heard = RequestID + " failed: " + ErrMsg;
            });
        ASSERT_TRUE(PumpUntil([&] { return !heard.empty(); }));
        EXPECT_EQ(heard, c.Expected ? "Verify password reset code: " + std::to_string(*c.Expected)
                                    : std::string("Verify password reset code failed: ") + c.ErrorText);
    }
}

TEST_F(AccountTest, ResetCodeAnswerWithoutVerificationCallbackIsIgnored) {
    Answer(400, R"({"error":{"message":"WEAK_PASSWORD"}})");
    bool errorHeard = false;
    fAuth->VerifyPasswordResetCode("c0de", nullptr, [&](auto &&...) { errorHeard = true; });
    Settle();
    EXPECT_FALSE(errorHeard);
}

TEST_F(AccountTest, AccountDataBecomesUserRecordsWithoutTokens) {
    fClock->Set(T0 + Seconds(10));
    Answer(200, R"({"users":[{"localId":"u1","email":"a@x.org"},{"localId":"u2","idToken":"x"}]})");
    auto users = fAuth->GetUserDataSynchronous();
    ASSERT_EQ(users.size(), 2u);
    EXPECT_EQ(users[0]->UID(), "u1");
    EXPECT_EQ(users[0]->EMail(), "a@x.org");
    EXPECT_EQ(users[0]->Token(), "");
    EXPECT_DOUBLE_EQ(users[0]->ExpiresAt(), T0 + Seconds(10));
    EXPECT_EQ(users[1]->UID(), "u2");
    // Reading account data never touches the sign-in state.
    EXPECT_EQ(fAuth->Token(), "id-1");
}

TEST_F(AccountTest, AccountDataAnswers) {
    struct Case {
        int Status;
        const char *Body;
        const char *Heard;       // by the asynchronous form; empty: nothing at all
        const char *SyncOutcome; // of the synchronous form
    } cases[] = {
        {200, R"({"users":[]})", "0 users", "0 users"},
        {200, R"({"users":[{"localId":"u1"}]})", "1 users", "1 users"},
        // An error status is never an answer, even with a body that names no error.
        {500, R"({"note":"busy"})", "Get account info: Internal Server Error", "Internal Server Error"},
        {400, R"({"error":{"message":"INVALID_ID_TOKEN"}})", "Get account info: INVALID_ID_TOKEN",
         "INVALID_ID_TOKEN"},
        {200, R"({"kind":"x"})", "Get account info: users field not found in getAccountInfo",
         "users field not found in getAccountInfo"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Body);
        Answer(c.Status, c.Body);
        std::string syncOutcome;
        try {
            syncOutcome = std::to_string(fAuth->GetUserDataSynchronous().size()) + " users";
        } catch (const EFirebaseResponse &e) {
            syncOutcome = e.what();
        }
        EXPECT_EQ(syncOutcome, c.SyncOutcome);

        Answer(c.Status, c.Body);
        std::string heard;
        fAuth->GetUserData(
            [&](const TFirebaseUserList &Users) { heard = std::to_string(Users.size()) + " users"; },
            [&](const std::string &RequestID, const std::string &ErrMsg) {
                heard = RequestID + ": " + ErrMsg;
            });
        Settle();
        EXPECT_EQ(heard, c.Heard);
    }
}

// A refusal whose body names no error must not pass for success.
TEST_F(AccountTest, RefusedOperationsRaise) {
    struct Case {
        int Status;
        const char *Body;
        const char *Message;
    } cases[] = {
        {400, R"({"error":{"message":"EMAIL_NOT_FOUND"}})", "EMAIL_NOT_FOUND"},
        {500, R"({})", "Internal Server Error"},
        {400, R"({"error":"quota"})", "quota"},
        {503, R"({"registered":false})", "Service Unavailable"},
    };
    std::vector<std::string> providers;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Body);
        for (auto call : std::vector<std::function<void()>>{
                 [&] { fAuth->SendPasswordResetEMailSynchronous("a@x.org"); },
                 [&] { fAuth->ConfirmPasswordResetSynchronous("c", "p"); },
                 [&] { fAuth->ChangeProfileSynchronous("", "", "Ana", ""); },
                 [&] { fAuth->DeleteCurrentUserSynchronous(); },
                 [&] { fAuth->FetchProvidersForEMailSynchronous("a@x.org", providers); }}) {
            Answer(c.Status, c.Body);
            EXPECT_EQ(MessageOf<EFirebaseResponse>(call), c.Message);
        }
    }
}

TEST_F(AccountTest, ProfileChangeAndDeletionLogTheAnswer) {
    Answer(200, R"({"localId":"u1"})");
    fAuth->ChangeProfileSynchronous("", "", "Ana", "http://p");
    Answer(200, R"({"kind":"deleted"})");
    fAuth->DeleteCurrentUserSynchronous();
    auto lines = LogLines();
    auto has = [&](const std::string &Line) {
        return std::find(lines.begin(), lines.end(), Line) != lines.end();
    };
    EXPECT_TRUE(has("Change profile for \"Display name\",\"Photo URL\""));
    EXPECT_TRUE(has(R"({"localId":"u1"})"));
    EXPECT_TRUE(has(R"({"kind":"deleted"})"));
    // The deleted account's tokens stay until the next sign-in.
    EXPECT_EQ(fAuth->Token(), "id-1");
}

TEST_F(AccountTest, OverlappingAccountDataRequestsAreEachAnswered) {
    Answer(200, R"({"users":[{"localId":"first"}]})");
    Answer(200, R"({"users":[{"localId":"second"},{"localId":"third"}]})");
    std::vector<std::size_t> first, second;
    fAuth->GetUserData([&](const TFirebaseUserList &Users) { first.push_back(Users.size()); }, nullptr);
    ASSERT_TRUE(fPeer->WaitForRequests(2, std::chrono::seconds(10)));
    fAuth->GetUserData([&](const TFirebaseUserList &Users) { second.push_back(Users.size()); }, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return first.size() + second.size() == 2; }));
    EXPECT_EQ(first, std::vector<std::size_t>{1});
    EXPECT_EQ(second, std::vector<std::size_t>{2});
}

} // namespace
