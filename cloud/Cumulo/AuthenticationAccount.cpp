// The account operations of the authentication client: provider lookup, password reset,
// profile change, account deletion and account data.

#include "Cumulo/Authentication.h"
#include "Cumulo/AuthenticationFields.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"
#include "Cumulo/JsonText.h"
#include "Cumulo/Request.h"
#include "Cumulo/User.h"

#include <algorithm>
#include <cctype>

namespace Cumulo {

namespace {
using AuthenticationFields::RaiseForErrorStatus;

// The service never reads this address back; it only has to be a valid URI.
const char *const ContinueURI = "http://localhost";

TJSONValue StringObject(std::initializer_list<std::pair<const char *, std::string>> Pairs) {
    TJSONValue body = TJSONValue::object();
    for (const auto &[name, value] : Pairs)
        body[name] = value;
    return body;
}

std::string Upper(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return Text;
}

// Reads "registered" and, for a registered address, appends the JSON text of each provider.
// The list is cleared only when there is something to put in it.
bool ReadProviders(const TJSONValue &Answer, std::vector<std::string> &Providers) {
    auto registered = AuthenticationFields::ReadBoolean(Answer, "registered");
    if (!registered)
        throw EFirebaseAuthentication("JSON field registered missing");
    if (!*registered)
        return false;
    auto all = Answer.find("allProviders");
    if (all == Answer.end())
        throw EFirebaseAuthentication("JSON field allProviders missing");
    if (!all->is_array())
        throw EInvalidTypeConversion("JSON field allProviders is not an array");
    Providers.clear();
    for (const auto &provider : *all)
        Providers.push_back(RequestBodyText(provider));
    return true;
}

// The three reset-code errors that are answers, not failures.
std::optional<TPasswordVerificationResult> VerificationResultOf(const std::string &ErrorText) {
    std::string upper = Upper(ErrorText);
    if (upper == "OPERATION_NOT_ALLOWED")
        return pvrOpNotAllowed;
    if (upper == "EXPIRED_OOB_CODE")
        return pvrpvrExpired;
    if (upper == "INVALID_OOB_CODE")
        return pvrInvalid;
    return std::nullopt;
}

// ErrorMsg, or the status text when the body names no error.
std::string ErrorTextOf(IFirebaseResponse &Response) {
    std::string text = Response.ErrorMsg();
    return text.empty() ? Response.StatusText() : text;
}

TFirebaseUserList ReadUserList(IFirebaseResponse &Response, const IClock &Clock) {
    TFirebaseUserList users;
    TOptionalJSON answer = Response.GetContentAsJSONVal();
    if (!answer || !answer->is_object() || !answer->contains("users") || !(*answer)["users"].is_array())
        throw EFirebaseResponse("users field not found in getAccountInfo");
    for (const auto &entry : (*answer)["users"]) {
        if (!entry.is_object())
            throw EInvalidTypeConversion("getAccountInfo users entry is not a JSON object");
        users.push_back(std::make_shared<TFirebaseUser>(entry, false, Clock));
    }
    return users;
}

std::string ChangedFieldLabels(const std::string &EMail, const std::string &Password,
                               const std::string &DisplayName, const std::string &PhotoURL) {
    std::vector<std::string> labels;
    if (!EMail.empty())
        labels.emplace_back("EMail");
    if (!Password.empty())
        labels.emplace_back("Password");
    if (!DisplayName.empty())
        labels.emplace_back("\"Display name\"");
    if (!PhotoURL.empty())
        labels.emplace_back("\"Photo URL\"");
    return TFirebaseHelpers::ArrStrToCommaStr(labels);
}

TJSONValue ChangeProfileBody(const std::string &IdToken, const std::string &EMail,
                             const std::string &Password, const std::string &DisplayName,
                             const std::string &PhotoURL) {
    // Unlike the sign requests, this one sends the upper-case text "FALSE".
    TJSONValue body = StringObject({{"idToken", IdToken}, {"returnSecureToken", "FALSE"}});
    if (!EMail.empty())
        body["email"] = EMail;
    if (!Password.empty())
        body["password"] = Password;
    if (!DisplayName.empty())
        body["displayName"] = DisplayName;
    if (!PhotoURL.empty())
        body["photoUrl"] = PhotoURL;
    return body;
}
} // namespace

std::shared_ptr<IFirebaseResponse>
TFirebaseAuthentication::PostToIdentitySynchronous(const std::string &Verb, const TJSONValue &Body) {
    TQueryParams query = KeyQuery();
    TFirebaseRequest request(fEndpoints.IdentityBaseURI, std::string(), nullptr);
    return request.SendRequestSynchronous({Verb}, rmPOST, &Body, &query, tmNoToken);
}

void TFirebaseAuthentication::PostToIdentity(const std::string &Verb, const TJSONValue &Body,
                                             const std::string &Info, TOnResponse OnResponse,
                                             TOnRequestError OnError) {
    TQueryParams query = KeyQuery();
    TFirebaseRequest request(fEndpoints.IdentityBaseURI, Info, nullptr);
    request.SendRequest({Verb}, rmPOST, &Body, &query, tmNoToken, fGate.Guard(std::move(OnResponse)),
                        fGate.Guard(std::move(OnError)));
}

void TFirebaseAuthentication::FetchProvidersForEMail(const std::string &EMail,
                                                     TOnFetchProviders OnFetchProviders,
                                                     TOnRequestError OnError) {
    auto onAnswer = [OnFetchProviders, OnError](const std::string &RequestID,
                                                std::shared_ptr<IFirebaseResponse> Response) {
        try {
            RaiseForErrorStatus(*Response);
            Response->CheckForJSONObj();
            std::vector<std::string> providers;
            bool registered = ReadProviders(Response->GetContentAsJSONObj().value(), providers);
            if (OnFetchProviders)
                OnFetchProviders(RequestID, registered, providers);
        } catch (const std::exception &e) {
            // Without an error callback the failure is dropped: nobody asked to hear about it.
            if (OnError)
                OnError(RequestID, e.what());
        }
    };
    PostToIdentity("createAuthUri", StringObject({{"identifier", EMail}, {"continueUri", ContinueURI}}),
                   EMail, onAnswer, OnError);
}

bool TFirebaseAuthentication::FetchProvidersForEMailSynchronous(const std::string &EMail,
                                                                std::vector<std::string> &Strings) {
    auto response = PostToIdentitySynchronous(
        "createAuthUri", StringObject({{"identifier", EMail}, {"continueUri", ContinueURI}}));
    RaiseForErrorStatus(*response);
    response->CheckForJSONObj();
    return ReadProviders(response->GetContentAsJSONObj().value(), Strings);
}

void TFirebaseAuthentication::SendPasswordResetEMail(const std::string &Email, TOnResponse OnResponse,
                                                     TOnRequestError OnError) {
    PostToIdentity("getOobConfirmationCode",
                   StringObject({{"email", Email}, {"requestType", "PASSWORD_RESET"}}),
                   "EMail to reset the password sent to " + Email, std::move(OnResponse), std::move(OnError));
}

void TFirebaseAuthentication::SendPasswordResetEMailSynchronous(const std::string &Email) {
    RaiseForErrorStatus(*PostToIdentitySynchronous(
        "getOobConfirmationCode", StringObject({{"email", Email}, {"requestType", "PASSWORD_RESET"}})));
}

void TFirebaseAuthentication::VerifyPasswordResetCode(const std::string &ResetPasswortCode,
                                                      TOnPasswordVerification OnPasswordVerification,
                                                      TOnRequestError OnError) {
    // Exceptions are left to the request layer, which hands them to OnError.
    auto onAnswer = [OnPasswordVerification, OnError](const std::string &RequestID,
                                                      std::shared_ptr<IFirebaseResponse> Response) {
        if (!OnPasswordVerification)
            return;
        if (Response->StatusOk()) {
            OnPasswordVerification(RequestID, pvrPassed);
            return;
        }
        std::string errorText = ErrorTextOf(*Response);
        if (auto result = VerificationResultOf(errorText))
            OnPasswordVerification(RequestID, *result);
        else if (OnError)
            OnError(RequestID, errorText);
        else
            TFirebaseHelpers::Log("Verify password failed: " + errorText);
    };
    PostToIdentity("resetPassword", StringObject({{"oobCode", ResetPasswortCode}}),
                   "Verify password reset code", onAnswer, OnError);
}

TPasswordVerificationResult
TFirebaseAuthentication::VerifyPasswordResetCodeSynchronous(const std::string &ResetPasswortCode) {
    auto response =
        PostToIdentitySynchronous("resetPassword", StringObject({{"oobCode", ResetPasswortCode}}));
    if (response->StatusOk())
        return pvrPassed;
    std::string errorText = ErrorTextOf(*response);
    if (auto result = VerificationResultOf(errorText))
        return *result;
    throw EFirebaseResponse(errorText, response->StatusCode());
}

void TFirebaseAuthentication::ConfirmPasswordReset(const std::string &ResetPasswortCode,
                                                   const std::string &NewPassword, TOnResponse OnResponse,
                                                   TOnRequestError OnError) {
    PostToIdentity("resetPassword",
                   StringObject({{"oobCode", ResetPasswortCode}, {"newPassword", NewPassword}}),
                   "Confirm password reset", std::move(OnResponse), std::move(OnError));
}

void TFirebaseAuthentication::ConfirmPasswordResetSynchronous(const std::string &ResetPasswortCode,
                                                              const std::string &NewPassword) {
    RaiseForErrorStatus(*PostToIdentitySynchronous(
        "resetPassword", StringObject({{"oobCode", ResetPasswortCode}, {"newPassword", NewPassword}})));
}

void TFirebaseAuthentication::ChangeProfile(const std::string &EMail, const std::string &Password,
                                            const std::string &DisplayName, const std::string &PhotoURL,
                                            TOnResponse OnResponse, TOnRequestError OnError) {
    PostToIdentity("setAccountInfo", ChangeProfileBody(Token(), EMail, Password, DisplayName, PhotoURL),
                   "Change profile for " + ChangedFieldLabels(EMail, Password, DisplayName, PhotoURL),
                   std::move(OnResponse), std::move(OnError));
}

void TFirebaseAuthentication::ChangeProfileSynchronous(const std::string &EMail, const std::string &Password,
                                                       const std::string &DisplayName,
                                                       const std::string &PhotoURL) {
    auto response = PostToIdentitySynchronous(
        "setAccountInfo", ChangeProfileBody(Token(), EMail, Password, DisplayName, PhotoURL));
    RaiseForErrorStatus(*response);
    TFirebaseHelpers::Log("Change profile for " + ChangedFieldLabels(EMail, Password, DisplayName, PhotoURL));
    TFirebaseHelpers::Log(response->ContentAsString());
}

void TFirebaseAuthentication::DeleteCurrentUser(TOnResponse OnResponse, TOnRequestError OnError) {
    PostToIdentity("deleteAccount", StringObject({{"idToken", Token()}}), "Delete signed-in user account",
                   std::move(OnResponse), std::move(OnError));
}

void TFirebaseAuthentication::DeleteCurrentUserSynchronous() {
    auto response = PostToIdentitySynchronous("deleteAccount", StringObject({{"idToken", Token()}}));
    RaiseForErrorStatus(*response);
    TFirebaseHelpers::Log(response->ContentAsString());
}

void TFirebaseAuthentication::GetUserData(TOnGetUserData OnGetUserData, TOnRequestError OnError) {
    auto onAnswer = [clock = fClock, OnGetUserData, OnError](const std::string &RequestID,
                                                             std::shared_ptr<IFirebaseResponse> Response) {
        try {
            RaiseForErrorStatus(*Response);
            if (OnGetUserData)
                OnGetUserData(ReadUserList(*Response, *clock));
        } catch (const std::exception &e) {
            if (OnError)
                OnError(RequestID, e.what());
            else
                TFirebaseHelpers::Log(std::string("Firebase GetAccountInfo failed: ") + e.what());
        }
    };
    PostToIdentity("getAccountInfo", StringObject({{"idToken", Token()}}), "Get account info", onAnswer,
                   OnError);
}

TFirebaseUserList TFirebaseAuthentication::GetUserDataSynchronous() {
    auto response = PostToIdentitySynchronous("getAccountInfo", StringObject({{"idToken", Token()}}));
    RaiseForErrorStatus(*response);
    return ReadUserList(*response, *fClock);
}

} // namespace Cumulo
