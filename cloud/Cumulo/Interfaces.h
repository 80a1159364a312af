#pragma once

// The cloud client's interfaces. Operations are declared in slot order; objects are held
// through std::shared_ptr, and an empty callback is simply not called.

#include "Cumulo/Types.h"

#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Cumulo {

class IFirebaseResponse;
class IFirebaseUser;
class IFirebaseEvent;

using TOnResponse =
    std::function<void(const std::string &RequestID, std::shared_ptr<IFirebaseResponse> Response)>;
using TOnRequestError = std::function<void(const std::string &RequestID, const std::string &ErrMsg)>;
using TOnTokenRefresh = std::function<void(bool TokenRefreshed)>;
using TOnUserResponse = std::function<void(const std::string &Info, std::shared_ptr<IFirebaseUser> User)>;
using TOnFetchProviders = std::function<void(const std::string &EMail, bool IsRegistered,
                                             const std::vector<std::string> &Providers)>;
using TOnPasswordVerification =
    std::function<void(const std::string &Info, TPasswordVerificationResult Result)>;
using TFirebaseUserList = std::vector<std::shared_ptr<IFirebaseUser>>;
using TOnGetUserData = std::function<void(const TFirebaseUserList &FirebaseUserList)>;
// The value lives only for the call; std::nullopt stands for "none" (a 404).
using TOnGetValue = std::function<void(const TStringDynArray &ResourceParams, const TOptionalJSON &Val)>;
using TOnDelete = std::function<void(const TStringDynArray &Params, bool Success)>;
using TOnServerVariable = std::function<void(const std::string &ServerVar, const TOptionalJSON &Val)>;
using TOnReceiveEvent =
    std::function<void(const std::string &Event, const TStringDynArray &Params, const TJSONValue &JSONObj)>;
using TNotifyEvent = std::function<void()>;

// A decoded ID token. Nothing in this system creates one: TokenJWT always returns null.
class ITokenJWT {
public:
    virtual ~ITokenJWT() = default;
    virtual bool VerifySignature() = 0;
    virtual TJSONValue GetHeader() = 0;
    virtual TJSONValue GetClaims() = 0;
};

class IFirebaseResponse {
public:
    virtual ~IFirebaseResponse() = default;
    virtual std::string ContentAsString() = 0;
    virtual TOptionalJSON GetContentAsJSONObj() = 0;
    virtual TOptionalJSON GetContentAsJSONArr() = 0;
    virtual TOptionalJSON GetContentAsJSONVal() = 0;
    virtual void CheckForJSONObj() = 0;
    virtual bool IsJSONObj() = 0;
    virtual void CheckForJSONArr() = 0;
    virtual bool StatusOk() = 0;
    virtual bool StatusIsUnauthorized() = 0;
    virtual bool StatusNotFound() = 0;
    virtual int StatusCode() = 0;
    virtual std::string StatusText() = 0;
    virtual std::string ErrorMsg() = 0;
    virtual std::string ErrorMsgOrStatusText() = 0;
    virtual TDateTime GetServerTime(TTimeZone TimeZone) = 0;
};

class IFirebaseRequest {
public:
    virtual ~IFirebaseRequest() = default;
    // Data: nullptr for no body; the body is serialised before the call returns.
    virtual void SendRequest(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                             const TJSONValue *Data, const TQueryParams *QueryParams, TTokenMode TokenMode,
                             TOnResponse OnResponse, TOnRequestError OnRequestError) = 0;
    // Data: a stream body or nullptr; the stream stays the caller's and must outlive the request.
    virtual void SendRequest(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                             std::istream *Data, TRESTContentType ContentType,
                             const TQueryParams *QueryParams, TTokenMode TokenMode, TOnResponse OnResponse,
                             TOnRequestError OnRequestError) = 0;
    virtual std::shared_ptr<IFirebaseResponse>
    SendRequestSynchronous(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                           const TJSONValue *Data, const TQueryParams *QueryParams, TTokenMode TokenMode) = 0;
    virtual std::shared_ptr<IFirebaseResponse>
    SendRequestSynchronous(const TStringDynArray &ResourceParams, TRESTRequestMethod Method,
                           std::istream *Data, TRESTContentType ContentType, const TQueryParams *QueryParams,
                           TTokenMode TokenMode) = 0;
};

class IFirebaseUser {
public:
    virtual ~IFirebaseUser() = default;
    virtual std::string UID() = 0;
    virtual bool IsEMailAvailable() = 0;
    virtual TThreeStateBoolean IsEMailRegistered() = 0;
    virtual TThreeStateBoolean IsEMailVerified() = 0;
    virtual std::string EMail() = 0;
    virtual std::string DisplayName() = 0;
    virtual bool IsDisplayNameAvailable() = 0;
    virtual bool IsPhotoURLAvailable() = 0;
    virtual std::string PhotoURL() = 0;
    virtual TThreeStateBoolean IsDisabled() = 0;
    virtual bool IsNewSignupUser() = 0;
    virtual bool IsLastLoginAtAvailable() = 0;
    virtual TDateTime LastLoginAt() = 0;
    virtual bool IsCreatedAtAvailable() = 0;
    virtual TDateTime CreatedAt() = 0;
    virtual std::string Token() = 0;
    virtual std::shared_ptr<ITokenJWT> TokenJWT() = 0;
    virtual TDateTime ExpiresAt() = 0;
    virtual std::string RefreshToken() = 0;
    virtual std::vector<std::string> ClaimFieldNames() = 0;
    virtual TOptionalJSON ClaimField(const std::string &FieldName) = 0;
};

class IFirebaseAuthentication {
public:
    virtual ~IFirebaseAuthentication() = default;
    virtual void SignUpWithEmailAndPassword(const std::string &Email, const std::string &Password,
                                            TOnUserResponse OnUserResponse, TOnRequestError OnError) = 0;
    virtual std::shared_ptr<IFirebaseUser>
    SignUpWithEmailAndPasswordSynchronous(const std::string &Email, const std::string &Password) = 0;
    virtual void SignInWithEmailAndPassword(const std::string &Email, const std::string &Password,
                                            TOnUserResponse OnUserResponse, TOnRequestError OnError) = 0;
    virtual std::shared_ptr<IFirebaseUser>
    SignInWithEmailAndPasswordSynchronous(const std::string &Email, const std::string &Password) = 0;
    virtual void SignInAnonymously(TOnUserResponse OnUserResponse, TOnRequestError OnError) = 0;
    virtual std::shared_ptr<IFirebaseUser> SignInAnonymouslySynchronous() = 0;
    virtual void SignOut() = 0;
    virtual void FetchProvidersForEMail(const std::string &EMail, TOnFetchProviders OnFetchProviders,
                                        TOnRequestError OnError) = 0;
    virtual bool FetchProvidersForEMailSynchronous(const std::string &EMail,
                                                   std::vector<std::string> &Strings) = 0;
    virtual void SendPasswordResetEMail(const std::string &Email, TOnResponse OnResponse,
                                        TOnRequestError OnError) = 0;
    virtual void SendPasswordResetEMailSynchronous(const std::string &Email) = 0;
    virtual void VerifyPasswordResetCode(const std::string &ResetPasswortCode,
                                         TOnPasswordVerification OnPasswordVerification,
                                         TOnRequestError OnError) = 0;
    virtual TPasswordVerificationResult
    VerifyPasswordResetCodeSynchronous(const std::string &ResetPasswortCode) = 0;
    virtual void ConfirmPasswordReset(const std::string &ResetPasswortCode, const std::string &NewPassword,
                                      TOnResponse OnResponse, TOnRequestError OnError) = 0;
    virtual void ConfirmPasswordResetSynchronous(const std::string &ResetPasswortCode,
                                                 const std::string &NewPassword) = 0;
    virtual void ChangeProfile(const std::string &EMail, const std::string &Password,
                               const std::string &DisplayName, const std::string &PhotoURL,
                               TOnResponse OnResponse, TOnRequestError OnError) = 0;
    virtual void ChangeProfileSynchronous(const std::string &EMail, const std::string &Password,
                                          const std::string &DisplayName, const std::string &PhotoURL) = 0;
    virtual void DeleteCurrentUser(TOnResponse OnResponse, TOnRequestError OnError) = 0;
    virtual void DeleteCurrentUserSynchronous() = 0;
    virtual void GetUserData(TOnGetUserData OnGetUserData, TOnRequestError OnError) = 0;
    virtual TFirebaseUserList GetUserDataSynchronous() = 0;
    virtual void RefreshToken(TOnTokenRefresh OnTokenRefresh, TOnRequestError OnError) = 0;
    virtual bool CheckAndRefreshTokenSynchronous() = 0;
    virtual bool Authenticated() = 0;
    virtual std::string Token() = 0;
    virtual std::shared_ptr<ITokenJWT> TokenJWT() = 0;
    virtual TDateTime TokenExpiryDT() = 0;
    virtual bool NeedTokenRefresh() = 0;
    virtual std::string GetRefreshToken() = 0;
};

class IFirebaseEvent {
public:
    virtual ~IFirebaseEvent() = default;
    virtual void StopListening(const std::string &NodeName) = 0;
    virtual TStringDynArray GetResourceParams() = 0;
    virtual bool IsStopped() = 0;
};

class IRealTimeDB {
public:
    virtual ~IRealTimeDB() = default;
    virtual void Get(const TStringDynArray &ResourceParams, TOnGetValue OnGetValue,
                     TOnRequestError OnRequestError, const TQueryParams *QueryParams = nullptr) = 0;
    virtual TOptionalJSON GetSynchronous(const TStringDynArray &ResourceParams,
                                         const TQueryParams *QueryParams = nullptr) = 0;
    virtual void Put(const TStringDynArray &ResourceParams, const TJSONValue &Data, TOnGetValue OnPutValue,
                     TOnRequestError OnRequestError, const TQueryParams *QueryParams = nullptr) = 0;
    virtual TOptionalJSON PutSynchronous(const TStringDynArray &ResourceParams, const TJSONValue &Data,
                                         const TQueryParams *QueryParams = nullptr) = 0;
    virtual void Post(const TStringDynArray &ResourceParams, const TJSONValue &Data, TOnGetValue OnPostValue,
                      TOnRequestError OnRequestError, const TQueryParams *QueryParams = nullptr) = 0;
    virtual TOptionalJSON PostSynchronous(const TStringDynArray &ResourceParams, const TJSONValue &Data,
                                          const TQueryParams *QueryParams = nullptr) = 0;
    virtual void Patch(const TStringDynArray &ResourceParams, const TJSONValue &Data,
                       TOnGetValue OnPatchValue, TOnRequestError OnRequestError,
                       const TQueryParams *QueryParams = nullptr) = 0;
    virtual TOptionalJSON PatchSynchronous(const TStringDynArray &ResourceParams, const TJSONValue &Data,
                                           const TQueryParams *QueryParams = nullptr) = 0;
    virtual void Delete(const TStringDynArray &ResourceParams, TOnDelete OnDelete,
                        TOnRequestError OnRequestError, const TQueryParams *QueryParams = nullptr) = 0;
    virtual bool DeleteSynchronous(const TStringDynArray &ResourceParams,
                                   const TQueryParams *QueryParams = nullptr) = 0;
    virtual std::shared_ptr<IFirebaseEvent> ListenForValueEvents(const TStringDynArray &ResourceParams,
                                                                 TOnReceiveEvent ListenEvent,
                                                                 TNotifyEvent OnStopListening,
                                                                 TOnRequestError OnError) = 0;
    virtual TDateTime GetLastKeepAliveTimeStamp() = 0;
    virtual void GetServerVariables(const std::string &ServerVarName, const TStringDynArray &ResourceParams,
                                    TOnServerVariable OnServerVariable, TOnRequestError OnError) = 0;
    virtual TOptionalJSON GetServerVariablesSynchronous(const std::string &ServerVarName,
                                                        const TStringDynArray &ResourceParams) = 0;
    // A read for the windows' text readers: the node's node text (see NodeText), "null" for a
    // node that does not exist, none for an answer that is not JSON; errors as GetSynchronous.
    // By default through GetSynchronous; the real client writes the text while it parses the
    // answer, so a large node never exists as a value.
    virtual std::optional<std::string> GetNodeTextSynchronous(const TStringDynArray &ResourceParams);
};

} // namespace Cumulo
