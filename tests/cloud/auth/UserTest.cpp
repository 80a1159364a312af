#include "Cumulo/User.h"

#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"
#include "ExceptionMessage.h"
#include "FakeClock.h"

#include <gtest/gtest.h>

using namespace Cumulo;
using CumuloTest::MessageOf;
using CumuloTest::Seconds;
using CumuloTest::TFakeClock;

namespace {

const TDateTime kUserT0 = 46000.5;

TFirebaseUser MakeUser(const char *Json, bool TokenExpected = false) {
    TFakeClock clock(kUserT0);
    return TFirebaseUser(TJSONValue::parse(Json), TokenExpected, clock);
}

TEST(FirebaseUser, SignInAnswerGivesTokensAndExpiry) {
    auto user = MakeUser(R"({"idToken":"tok","expiresIn":"3600","refreshToken":"ref","localId":"u1"})", true);
    EXPECT_EQ(user.Token(), "tok");
    EXPECT_EQ(user.RefreshToken(), "ref");
    EXPECT_DOUBLE_EQ(user.ExpiresAt(), kUserT0 + Seconds(3600));
    EXPECT_EQ(user.TokenJWT(), nullptr);
    EXPECT_TRUE(user.ClaimFieldNames().empty());
    EXPECT_FALSE(user.ClaimField("sub").has_value());
    EXPECT_EQ(user.UID(), "u1");
}

TEST(FirebaseUser, MissingRefreshTokenIsEmpty) {
    EXPECT_EQ(MakeUser(R"({"idToken":"tok","expiresIn":"60"})", true).RefreshToken(), "");
}

TEST(FirebaseUser, MissingIdTokenRaisesOnlyWhenExpected) {
    EXPECT_EQ(MessageOf<EFirebaseUser>([] { MakeUser(R"({"refreshToken":"r"})", true); }),
              "idToken not found");
    EXPECT_EQ(MessageOf<EFirebaseUser>([] { MakeUser(R"({"idToken":42})", true); }), "idToken not found");
    EXPECT_EQ(MakeUser(R"({"refreshToken":"r"})", false).Token(), "");
}

TEST(FirebaseUser, LifetimeForms) {
    struct Case {
        const char *Json;
        double ExpectedSeconds;
    } cases[] = {
        {R"({"expiresIn":"3600"})", 3600},
        {R"({"expiresIn":3600})", 3600},
        {R"({"expiresIn":"0"})", 0},
        {R"({})", 0},
        {R"({"expiresIn":"abc"})", 0},
        {R"({"expiresIn":"36.5"})", 0},
        {R"({"expiresIn":"-5"})", 0},
        {R"({"expiresIn":36.5})", 0},
        {R"({"expiresIn":""})", 0},
        {R"({"expiresIn":null})", 0},
        {R"({"expiresIn":"99999999999999999999"})", 0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(MakeUser(c.Json).ExpiresAt(), kUserT0 + Seconds(c.ExpectedSeconds)) << c.Json;
}

TEST(FirebaseUser, ThreeStateMembers) {
    struct Case {
        const char *Value;
        TThreeStateBoolean Expected;
    } cases[] = {
        {"true", tsbTrue},         {"false", tsbFalse},
        {nullptr, tsbUnspecified}, {R"("yes")", tsbUnspecified},
        {R"("TRUE")", tsbTrue},    {R"("false")", tsbFalse},
        {"1", tsbUnspecified},     {"null", tsbUnspecified},
    };
    using Getter = TThreeStateBoolean (TFirebaseUser::*)();
    const std::pair<const char *, Getter> members[] = {{"registered", &TFirebaseUser::IsEMailRegistered},
                                                       {"emailVerified", &TFirebaseUser::IsEMailVerified},
                                                       {"disabled", &TFirebaseUser::IsDisabled}};
    for (const auto &c : cases) {
        for (const auto &[member, getter] : members) {
            std::string json = c.Value ? std::string("{\"") + member + "\":" + c.Value + "}" : "{}";
            auto user = MakeUser(json.c_str());
            EXPECT_EQ((user.*getter)(), c.Expected) << json;
        }
    }
}

TEST(FirebaseUser, NewSignupKindMatchesOnlyAtTheEndInAnyCase) {
    struct Case {
        const char *Json;
        bool Expected;
    } cases[] = {
        {R"({"kind":"identitytoolkit#SignupNewUserResponse"})", true},
        {R"({"kind":"IDENTITYTOOLKIT#signupnewuserresponse"})", true},
        {R"({"kind":"#SignupNewUserResponse"})", true},
        {R"({"kind":"identitytoolkit#SignupNewUserResponse2"})", false},
        {R"({"kind":"identitytoolkit#VerifyPasswordResponse"})", false},
        {R"({"kind":42})", false},
        {R"({})", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MakeUser(c.Json).IsNewSignupUser(), c.Expected) << c.Json;
}

TEST(FirebaseUser, AccountTimesDropMillisecondsAndUseLocalTime) {
    TDateTime oneSecond = TFirebaseHelpers::ConvertTimeStampToLocalDateTime(1000);
    auto user = MakeUser(R"({"createdAt":1999,"lastLoginAt":"1999"})");
    EXPECT_TRUE(user.IsCreatedAtAvailable());
    EXPECT_DOUBLE_EQ(user.CreatedAt(), oneSecond);
    EXPECT_DOUBLE_EQ(user.LastLoginAt(), oneSecond);
    EXPECT_DOUBLE_EQ(MakeUser(R"({"createdAt":"1595000000000"})").CreatedAt(),
                     TFirebaseHelpers::ConvertTimeStampToLocalDateTime(1595000000000));
}

TEST(FirebaseUser, GettersOfMissingOrUnreadableMembersRaise) {
    auto empty = MakeUser("{}");
    auto wrongKinds = MakeUser(R"({"localId":1,"email":true,"displayName":[],"photoUrl":{},"createdAt":"x",)"
                               R"("lastLoginAt":1.5})");
    for (TFirebaseUser *user : {&empty, &wrongKinds}) {
        EXPECT_EQ(MessageOf<EFirebaseUser>([&] { user->UID(); }), "localId not found");
        EXPECT_EQ(MessageOf<EFirebaseUser>([&] { user->EMail(); }), "email not found");
        EXPECT_EQ(MessageOf<EFirebaseUser>([&] { user->DisplayName(); }), "displayName not found");
        EXPECT_EQ(MessageOf<EFirebaseUser>([&] { user->PhotoURL(); }), "photoURL not found");
        EXPECT_EQ(MessageOf<EFirebaseUser>([&] { user->CreatedAt(); }), "createdAt not found");
        EXPECT_EQ(MessageOf<EFirebaseUser>([&] { user->LastLoginAt(); }), "lastLoginAt not found");
    }
    EXPECT_FALSE(empty.IsEMailAvailable());
    EXPECT_FALSE(empty.IsDisplayNameAvailable());
    EXPECT_FALSE(empty.IsPhotoURLAvailable());
    EXPECT_FALSE(empty.IsCreatedAtAvailable());
    EXPECT_FALSE(empty.IsLastLoginAtAvailable());
    // Presence accepts a member of any kind.
    EXPECT_TRUE(wrongKinds.IsEMailAvailable());
    EXPECT_TRUE(wrongKinds.IsLastLoginAtAvailable());
}

TEST(FirebaseUser, StringMembers) {
    auto user = MakeUser(R"({"email":null,"displayName":"Ana","photoUrl":"http://p/x.png","PhotoURL":"no"})");
    EXPECT_TRUE(user.IsEMailAvailable());
    EXPECT_EQ(user.EMail(), "");
    EXPECT_EQ(user.DisplayName(), "Ana");
    EXPECT_EQ(user.PhotoURL(), "http://p/x.png");
    // Member names match exactly, letter case included.
    EXPECT_EQ(MessageOf<EFirebaseUser>([] { MakeUser(R"({"LocalId":"u"})").UID(); }), "localId not found");
}

} // namespace
