#pragma once

#include "Cumulo/Clock.h"
#include "Cumulo/Interfaces.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Cumulo {

// The read-only record of one account as the identity service describes it. The token, its
// expiry and the refresh token are taken once at construction; every other getter reads the
// kept answer afresh.
class TFirebaseUser : public IFirebaseUser {
public:
    // JSONResp: the sign-in answer or one "users" entry. With TokenExpected a missing "idToken"
    // raises EFirebaseUser "idToken not found". The expiry counts from Clock's "now".
    TFirebaseUser(TJSONValue JSONResp, bool TokenExpected, const IClock &Clock = *SystemClock());

    std::string UID() override;
    bool IsEMailAvailable() override;
    TThreeStateBoolean IsEMailRegistered() override;
    TThreeStateBoolean IsEMailVerified() override;
    std::string EMail() override;
    std::string DisplayName() override;
    bool IsDisplayNameAvailable() override;
    bool IsPhotoURLAvailable() override;
    std::string PhotoURL() override;
    TThreeStateBoolean IsDisabled() override;
    bool IsNewSignupUser() override;
    bool IsLastLoginAtAvailable() override;
    TDateTime LastLoginAt() override;
    bool IsCreatedAtAvailable() override;
    TDateTime CreatedAt() override;
    std::string Token() override;
    std::shared_ptr<ITokenJWT> TokenJWT() override;
    TDateTime ExpiresAt() override;
    std::string RefreshToken() override;
    std::vector<std::string> ClaimFieldNames() override;
    TOptionalJSON ClaimField(const std::string &FieldName) override;

private:
    bool Has(const char *Name) const;
    std::string RequiredString(const char *Name, const char *Message) const;
    TThreeStateBoolean ThreeState(const char *Name) const;
    TDateTime RequiredTimeStamp(const char *Name, const char *Message) const;

    TJSONValue fJSONResp;
    std::string fToken;
    std::shared_ptr<ITokenJWT> fTokenJWT;
    TDateTime fExpiresAt = 0;
    std::string fRefreshToken;
    std::map<std::string, TJSONValue> fClaimFields;
};

} // namespace Cumulo
