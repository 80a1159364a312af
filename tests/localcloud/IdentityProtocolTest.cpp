#include "CloudHttp.h"

#include <Tunewell/BuildValues.h>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

using nlohmann::json;
using TunewellTesting::LocalCloud;
using namespace std::chrono_literals;

namespace {

std::string errorOf(const Answer &answer) {
    return answer.json().at("error").at("message").get<std::string>();
}

class IdentityProtocolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TunewellTesting::LocalCloudOptions options;
        options.extraArguments = {"--oob-lifetime", "2"};
        cloud = std::make_unique<LocalCloud>(options);
    }
    static void TearDownTestSuite() { cloud.reset(); }
    void SetUp() override { http = std::make_unique<CloudHttp>(*cloud); }

    json signUp(const std::string &email, const std::string &password) {
        const auto answer = http->identity(
            "signupNewUser", {{"email", email}, {"password", password}, {"returnSecureToken", "true"}});
        EXPECT_EQ(answer.status, 200) << answer.body;
        return answer.json();
    }

    static std::unique_ptr<LocalCloud> cloud;
    std::unique_ptr<CloudHttp> http;
};

std::unique_ptr<LocalCloud> IdentityProtocolTest::cloud;

TEST_F(IdentityProtocolTest, SignUpAndSignInAnswerTheServiceMembers) {
    const auto created = signUp("New.User@Example.com", "secret1");
    EXPECT_EQ(created.at("kind"), "identitytoolkit#SignupNewUserResponse");
    EXPECT_EQ(created.at("email"), "new.user@example.com");
    EXPECT_EQ(created.at("expiresIn"), "3600");
    for (const char *member : {"idToken", "refreshToken", "localId"})
        EXPECT_FALSE(created.at(member).get<std::string>().empty()) << member;

    // The program sends returnSecureToken as text, in any letter case.
    for (const json &flag : {json("true"), json("TRUE"), json(true)}) {
        const auto signedIn = http->identity(
            "verifyPassword",
            {{"email", "new.user@example.com"}, {"password", "secret1"}, {"returnSecureToken", flag}});
        ASSERT_EQ(signedIn.status, 200) << flag;
        const auto body = signedIn.json();
        EXPECT_EQ(body.at("kind"), "identitytoolkit#VerifyPasswordResponse");
        EXPECT_EQ(body.at("localId"), created.at("localId"));
        EXPECT_EQ(body.at("registered"), true);
        EXPECT_EQ(body.at("expiresIn"), "3600");
        EXPECT_TRUE(body.contains("refreshToken"));
        // The token opens the catalogue.
        const auto read =
            http->database("GET", "/ESTACOES.json?auth=" + body.at("idToken").get<std::string>());
        EXPECT_EQ(read.status, 200);
    }
    const auto anonymous = http->identity("signupNewUser", {{"returnSecureToken", "true"}});
    ASSERT_EQ(anonymous.status, 200);
    EXPECT_FALSE(anonymous.json().contains("email"));
}

TEST_F(IdentityProtocolTest, RefusalsCarryTheServiceErrorTexts) {
    signUp("taken@example.com", "secret1");
    struct Case {
        const char *verb;
        json body;
        const char *error;
    } cases[] = {
        {"verifyPassword", {{"email", "nobody@example.com"}, {"password", "secret1"}}, "EMAIL_NOT_FOUND"},
        {"verifyPassword", {{"email", "taken@example.com"}, {"password", "wrong11"}}, "INVALID_PASSWORD"},
        {"verifyPassword", {{"email", "taken@example.com"}}, "MISSING_PASSWORD"},
        {"verifyPassword", {{"email", "not-an-address"}, {"password", "secret1"}}, "INVALID_EMAIL"},
        {"signupNewUser", {{"email", "TAKEN@example.com"}, {"password", "secret1"}}, "EMAIL_EXISTS"},
        {"signupNewUser",
         {{"email", "short@example.com"}, {"password", "12345"}},
         "WEAK_PASSWORD : Password should be at least 6 characters"},
        {"signupNewUser", {{"email", "x@example.com"}}, "MISSING_PASSWORD"},
        {"signupNewUser", {{"email", "bad address@example.com"}, {"password", "secret1"}}, "INVALID_EMAIL"},
        {"getAccountInfo", {{"idToken", "garbage"}}, "INVALID_ID_TOKEN"},
        {"resetPassword", {{"oobCode", "unknown"}}, "INVALID_OOB_CODE"},
        {"getOobConfirmationCode",
         {{"requestType", "PASSWORD_RESET"}, {"email", "nobody@example.com"}},
         "EMAIL_NOT_FOUND"},
        {"verifyPassword",
         {{"email", "taken@example.com"}, {"password", "secret1"}, {"returnSecureToken", "maybe"}},
         nullptr},
    };
    for (const auto &c : cases) {
        const auto answer = http->identity(c.verb, c.body);
        EXPECT_EQ(answer.status, 400) << c.verb << " " << c.body;
        const auto body = answer.json();
        if (c.error) {
            EXPECT_EQ(errorOf(answer), c.error) << c.verb << " " << c.body;
            EXPECT_EQ(body.at("error").at("code"), 400);
            EXPECT_EQ(body.at("error").at("errors").at(0).at("domain"), "global");
        }
    }
    const auto wrongKey = http->identity("verifyPassword", {{"email", "taken@example.com"}}, "WRONG");
    EXPECT_EQ(wrongKey.status, 400);
    EXPECT_EQ(errorOf(wrongKey), "API key not valid. Please pass a valid API key.");
    EXPECT_EQ(http->raw(cloud->authUrl(), "POST",
                        "/www.googleapis.com/identitytoolkit/v3/relyingparty/verifyPassword", "{}",
                        "application/json")
                  .status,
              403);
    EXPECT_EQ(http->identity("noSuchVerb", json::object()).status, 404);
}

TEST_F(IdentityProtocolTest, TokenRefreshTakesJsonAndFormBodies) {
    const auto created = signUp("refresh@example.com", "secret1");
    const std::string refresh = created.at("refreshToken");
    const auto byForm =
        http->token("grant_type=refresh_token&refresh_token=" + refresh, "application/x-www-form-urlencoded");
    ASSERT_EQ(byForm.status, 200) << byForm.body;
    const auto body = byForm.json();
    for (const char *member : {"access_token", "id_token", "refresh_token", "user_id", "project_id"})
        EXPECT_TRUE(body.contains(member)) << member;
    EXPECT_EQ(body.at("expires_in"), "3600");
    EXPECT_EQ(body.at("token_type"), "Bearer");
    EXPECT_EQ(body.at("user_id"), created.at("localId"));
    const auto byJson = http->token(json{{"grant_type", "refresh_token"}, {"refresh_token", refresh}}.dump(),
                                    "application/json");
    EXPECT_EQ(byJson.status, 200);

    struct Case {
        std::string body;
        const char *error;
    } cases[] = {
        {"grant_type=password&refresh_token=" + refresh, "INVALID_GRANT_TYPE"},
        {"grant_type=refresh_token", "MISSING_REFRESH_TOKEN"},
        {"grant_type=refresh_token&refresh_token=", "MISSING_REFRESH_TOKEN"},
        {"grant_type=refresh_token&refresh_token=abc", "INVALID_REFRESH_TOKEN"},
        // An ID token is not a refresh token.
        {"grant_type=refresh_token&refresh_token=" + created.at("idToken").get<std::string>(),
         "INVALID_REFRESH_TOKEN"},
    };
    for (const auto &c : cases) {
        const auto answer = http->token(c.body, "application/x-www-form-urlencoded");
        EXPECT_EQ(answer.status, 400) << c.body;
        EXPECT_EQ(errorOf(answer), c.error) << c.body;
    }
}

TEST_F(IdentityProtocolTest, PasswordChangeAndDeletionRevokeRefreshTokens) {
    const auto created = signUp("revoke@example.com", "secret1");
    const std::string idToken = created.at("idToken");
    const auto refreshWith = [&](const std::string &token) {
        return http->token("grant_type=refresh_token&refresh_token=" + token,
                           "application/x-www-form-urlencoded");
    };
    const auto changed = http->identity("setAccountInfo", {{"idToken", idToken},
                                                           {"password", "secret2"},
                                                           {"displayName", "Rev"},
                                                           {"returnSecureToken", "FALSE"}});
    ASSERT_EQ(changed.status, 200) << changed.body;
    EXPECT_EQ(changed.json().at("displayName"), "Rev");
    EXPECT_FALSE(changed.json().contains("refreshToken"));
    EXPECT_EQ(errorOf(refreshWith(created.at("refreshToken"))), "TOKEN_EXPIRED");

    const auto again = http->identity(
        "verifyPassword",
        {{"email", "revoke@example.com"}, {"password", "secret2"}, {"returnSecureToken", "true"}});
    ASSERT_EQ(again.status, 200);
    const auto info = http->identity("getAccountInfo", {{"idToken", idToken}});
    ASSERT_EQ(info.status, 200);
    const auto user = info.json().at("users").at(0);
    EXPECT_EQ(user.at("email"), "revoke@example.com");
    EXPECT_EQ(user.at("displayName"), "Rev");
    EXPECT_TRUE(user.at("createdAt").is_string());
    EXPECT_TRUE(user.at("lastLoginAt").is_string());

    ASSERT_EQ(http->identity("deleteAccount", {{"idToken", idToken}}).status, 200);
    EXPECT_EQ(errorOf(refreshWith(again.json().at("refreshToken"))), "USER_NOT_FOUND");
    EXPECT_EQ(errorOf(http->identity("getAccountInfo", {{"idToken", idToken}})), "USER_NOT_FOUND");
    EXPECT_EQ(
        errorOf(http->identity("verifyPassword", {{"email", "revoke@example.com"}, {"password", "secret2"}})),
        "EMAIL_NOT_FOUND");
}

TEST_F(IdentityProtocolTest, ProvidersLookupAndPasswordResetByCode) {
    signUp("reset@example.com", "secret1");
    const auto known = http->identity(
        "createAuthUri", {{"identifier", "reset@example.com"}, {"continueUri", "http://localhost"}});
    EXPECT_EQ(known.json().at("registered"), true);
    EXPECT_EQ(known.json().at("allProviders"), json::array({"password"}));
    const auto unknown = http->identity(
        "createAuthUri", {{"identifier", "none@example.com"}, {"continueUri", "http://localhost"}});
    EXPECT_EQ(unknown.json().at("registered"), false);

    ASSERT_EQ(http->identity("getOobConfirmationCode",
                             {{"requestType", "PASSWORD_RESET"}, {"email", "reset@example.com"}})
                  .status,
              200);
    const auto codes = cloud->oobCodes("reset@example.com");
    ASSERT_EQ(codes.size(), 1u);
    std::ifstream log(cloud->logFile());
    const std::string logged{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
    EXPECT_EQ(logged.find(codes[0]), std::string::npos) << "a reset code in the log";
    const auto checked = http->identity("resetPassword", {{"oobCode", codes[0]}});
    ASSERT_EQ(checked.status, 200);
    EXPECT_EQ(checked.json().at("email"), "reset@example.com");
    EXPECT_EQ(errorOf(http->identity("resetPassword", {{"oobCode", codes[0]}, {"newPassword", "123"}})),
              "WEAK_PASSWORD : Password should be at least 6 characters");
    ASSERT_EQ(http->identity("resetPassword", {{"oobCode", codes[0]}, {"newPassword", "secret3"}}).status,
              200);
    EXPECT_EQ(errorOf(http->identity("resetPassword", {{"oobCode", codes[0]}})), "INVALID_OOB_CODE");
    EXPECT_EQ(
        http->identity("verifyPassword", {{"email", "reset@example.com"}, {"password", "secret3"}}).status,
        200);

    // Codes expire (two seconds in this suite).
    ASSERT_EQ(http->identity("getOobConfirmationCode",
                             {{"requestType", "PASSWORD_RESET"}, {"email", "reset@example.com"}})
                  .status,
              200);
    const auto later = cloud->oobCodes("reset@example.com");
    ASSERT_EQ(later.size(), 1u);
    std::this_thread::sleep_for(2500ms);
    EXPECT_EQ(errorOf(http->identity("resetPassword", {{"oobCode", later[0]}})), "EXPIRED_OOB_CODE");
}

TEST_F(IdentityProtocolTest, DisabledAccountsAreRefused) {
    const auto created = signUp("disabled@example.com", "secret1");
    const auto disabled =
        http->raw(cloud->authUrl(), "POST",
                  std::string("/www.googleapis.com/identitytoolkit/v3/relyingparty/setAccountInfo?key=") +
                      Tunewell::BuildValues::kApiKey,
                  json{{"localId", created.at("localId")}, {"disableUser", true}}.dump(), "application/json");
    ASSERT_EQ(disabled.status, 400) << "the owner's header is required";
    httplib::Client client(cloud->authUrl());
    const auto owner = client.Post(
        std::string("/www.googleapis.com/identitytoolkit/v3/relyingparty/setAccountInfo?key=") +
            Tunewell::BuildValues::kApiKey,
        {{"Authorization", "Bearer owner"}},
        json{{"localId", created.at("localId")}, {"disableUser", true}}.dump(), "application/json");
    ASSERT_TRUE(owner);
    ASSERT_EQ(owner->status, 200) << owner->body;
    EXPECT_EQ(errorOf(http->identity("verifyPassword",
                                     {{"email", "disabled@example.com"}, {"password", "secret1"}})),
              "USER_DISABLED");
    EXPECT_EQ(errorOf(http->token("grant_type=refresh_token&refresh_token=" +
                                      created.at("refreshToken").get<std::string>(),
                                  "application/x-www-form-urlencoded")),
              "USER_DISABLED");
}

TEST(IdentityAnonymousSwitchTest, AnonymousSignInCanBeSwitchedOff) {
    TunewellTesting::LocalCloudOptions options;
    options.extraArguments = {"--no-anonymous"};
    LocalCloud cloud(options);
    CloudHttp http(cloud);
    const auto refused = http.identity("signupNewUser", {{"returnSecureToken", "true"}});
    EXPECT_EQ(refused.status, 400);
    EXPECT_EQ(errorOf(refused), "OPERATION_NOT_ALLOWED");
}

} // namespace
