#include "Cumulo/User.h"

#include "Cumulo/AsciiCase.h"
#include "Cumulo/AuthenticationFields.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"

namespace Cumulo {

namespace Fields = AuthenticationFields;

TFirebaseUser::TFirebaseUser(TJSONValue JSONResp, bool TokenExpected, const IClock &Clock)
    : fJSONResp(std::move(JSONResp)) {
    auto token = Fields::ReadString(fJSONResp, "idToken");
    if (!token && TokenExpected)
        throw EFirebaseUser("idToken not found");
    fToken = token.value_or(std::string());
    fExpiresAt = Fields::ExpiryFromLifetime(fJSONResp, "expiresIn", Clock.Now());
    fRefreshToken = Fields::ReadString(fJSONResp, "refreshToken").value_or(std::string());
}

bool TFirebaseUser::Has(const char *Name) const {
    return fJSONResp.is_object() && fJSONResp.contains(Name);
}

std::string TFirebaseUser::RequiredString(const char *Name, const char *Message) const {
    auto value = Fields::ReadString(fJSONResp, Name);
    if (!value)
        throw EFirebaseUser(Message);
    return *value;
}

TThreeStateBoolean TFirebaseUser::ThreeState(const char *Name) const {
    auto value = Fields::ReadBoolean(fJSONResp, Name);
    if (!value)
        return tsbUnspecified;
    return *value ? tsbTrue : tsbFalse;
}

TDateTime TFirebaseUser::RequiredTimeStamp(const char *Name, const char *Message) const {
    auto milliseconds = Fields::ReadWholeNumber(fJSONResp, Name);
    if (!milliseconds)
        throw EFirebaseUser(Message);
    return TFirebaseHelpers::ConvertTimeStampToLocalDateTime(*milliseconds);
}

std::string TFirebaseUser::UID() {
    return RequiredString("localId", "localId not found");
}

bool TFirebaseUser::IsEMailAvailable() {
    return Has("email");
}

TThreeStateBoolean TFirebaseUser::IsEMailRegistered() {
    return ThreeState("registered");
}

TThreeStateBoolean TFirebaseUser::IsEMailVerified() {
    return ThreeState("emailVerified");
}

std::string TFirebaseUser::EMail() {
    return RequiredString("email", "email not found");
}

std::string TFirebaseUser::DisplayName() {
    return RequiredString("displayName", "displayName not found");
}

bool TFirebaseUser::IsDisplayNameAvailable() {
    return Has("displayName");
}

bool TFirebaseUser::IsPhotoURLAvailable() {
    return Has("photoUrl");
}

std::string TFirebaseUser::PhotoURL() {
    return RequiredString("photoUrl", "photoURL not found");
}

TThreeStateBoolean TFirebaseUser::IsDisabled() {
    return ThreeState("disabled");
}

// Only a sign-up answer carries this kind.
bool TFirebaseUser::IsNewSignupUser() {
    auto kind = Fields::ReadString(fJSONResp, "kind");
    return kind && LowerAscii(*kind).ends_with("#signupnewuserresponse");
}

bool TFirebaseUser::IsLastLoginAtAvailable() {
    return Has("lastLoginAt");
}

TDateTime TFirebaseUser::LastLoginAt() {
    return RequiredTimeStamp("lastLoginAt", "lastLoginAt not found");
}

bool TFirebaseUser::IsCreatedAtAvailable() {
    return Has("createdAt");
}

TDateTime TFirebaseUser::CreatedAt() {
    return RequiredTimeStamp("createdAt", "createdAt not found");
}

std::string TFirebaseUser::Token() {
    return fToken;
}

std::shared_ptr<ITokenJWT> TFirebaseUser::TokenJWT() {
    return fTokenJWT;
}

TDateTime TFirebaseUser::ExpiresAt() {
    return fExpiresAt;
}

std::string TFirebaseUser::RefreshToken() {
    return fRefreshToken;
}

std::vector<std::string> TFirebaseUser::ClaimFieldNames() {
    std::vector<std::string> names;
    for (const auto &[name, value] : fClaimFields)
        names.push_back(name);
    return names;
}

TOptionalJSON TFirebaseUser::ClaimField(const std::string &FieldName) {
    auto found = fClaimFields.find(FieldName);
    if (found == fClaimFields.end())
        return std::nullopt;
    return found->second;
}

} // namespace Cumulo
