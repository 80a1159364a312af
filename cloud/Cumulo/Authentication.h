#pragma once

#include "Cumulo/AuthenticationState.h"
#include "Cumulo/Clock.h"
#include "Cumulo/Interfaces.h"
#include "Cumulo/ReleaseGate.h"

#include <memory>
#include <string>

namespace Cumulo {

// Where the identity and token services live: the identity base URI (ending in
// "/identitytoolkit/v3/relyingparty", the verb is added as a segment) and the token URI
// (ending in "/v1/token").
struct TAuthenticationEndpoints {
    std::string IdentityBaseURI;
    std::string TokenURI;
};

// The cloud client's sign-in state: the web API key, the ID token with its expiry, and the
// refresh token. The token fields are read and written under a lock, because the database
// listener reads and renews them from its own thread while the main thread uses the client.
//
// Every asynchronous operation reports to the callbacks given to that very call, so
// overlapping calls each hear their own answer. A pending answer keeps the sign-in state alive,
// so releasing the client early never leaves an answer writing into freed memory; once the
// client is released, no callback of it is called.
class TFirebaseAuthentication : public IFirebaseAuthentication {
public:
    enum TSignType { stNewUser, stLogin, stAnonymousLogin };

    // Renewal starts this long (5 seconds, as a date-time difference) before the token expires.
    static constexpr TDateTime safetyMargin = 5.0 / 86400;

    // The services of the build values (emulator variables honoured) and the system clock.
    explicit TFirebaseAuthentication(std::string ApiKey);
    // Clock: nullptr stands for the system clock.
    TFirebaseAuthentication(std::string ApiKey, TAuthenticationEndpoints Endpoints,
                            std::shared_ptr<const IClock> Clock = nullptr);
    // Closes the gate of the pending answers.
    ~TFirebaseAuthentication() override;
    TFirebaseAuthentication(const TFirebaseAuthentication &) = delete;
    TFirebaseAuthentication &operator=(const TFirebaseAuthentication &) = delete;

    void SignUpWithEmailAndPassword(const std::string &Email, const std::string &Password,
                                    TOnUserResponse OnUserResponse, TOnRequestError OnError) override;
    std::shared_ptr<IFirebaseUser>
    SignUpWithEmailAndPasswordSynchronous(const std::string &Email, const std::string &Password) override;
    void SignInWithEmailAndPassword(const std::string &Email, const std::string &Password,
                                    TOnUserResponse OnUserResponse, TOnRequestError OnError) override;
    std::shared_ptr<IFirebaseUser>
    SignInWithEmailAndPasswordSynchronous(const std::string &Email, const std::string &Password) override;
    void SignInAnonymously(TOnUserResponse OnUserResponse, TOnRequestError OnError) override;
    std::shared_ptr<IFirebaseUser> SignInAnonymouslySynchronous() override;
    void SignOut() override;
    void FetchProvidersForEMail(const std::string &EMail, TOnFetchProviders OnFetchProviders,
                                TOnRequestError OnError) override;
    bool FetchProvidersForEMailSynchronous(const std::string &EMail,
                                           std::vector<std::string> &Strings) override;
    void SendPasswordResetEMail(const std::string &Email, TOnResponse OnResponse,
                                TOnRequestError OnError) override;
    void SendPasswordResetEMailSynchronous(const std::string &Email) override;
    void VerifyPasswordResetCode(const std::string &ResetPasswortCode,
                                 TOnPasswordVerification OnPasswordVerification,
                                 TOnRequestError OnError) override;
    TPasswordVerificationResult
    VerifyPasswordResetCodeSynchronous(const std::string &ResetPasswortCode) override;
    void ConfirmPasswordReset(const std::string &ResetPasswortCode, const std::string &NewPassword,
                              TOnResponse OnResponse, TOnRequestError OnError) override;
    void ConfirmPasswordResetSynchronous(const std::string &ResetPasswortCode,
                                         const std::string &NewPassword) override;
    void ChangeProfile(const std::string &EMail, const std::string &Password, const std::string &DisplayName,
                       const std::string &PhotoURL, TOnResponse OnResponse, TOnRequestError OnError) override;
    void ChangeProfileSynchronous(const std::string &EMail, const std::string &Password,
                                  const std::string &DisplayName, const std::string &PhotoURL) override;
    void DeleteCurrentUser(TOnResponse OnResponse, TOnRequestError OnError) override;
    void DeleteCurrentUserSynchronous() override;
    void GetUserData(TOnGetUserData OnGetUserData, TOnRequestError OnError) override;
    TFirebaseUserList GetUserDataSynchronous() override;
    void RefreshToken(TOnTokenRefresh OnTokenRefresh, TOnRequestError OnError) override;
    bool CheckAndRefreshTokenSynchronous() override;
    bool Authenticated() override;
    std::string Token() override;
    std::shared_ptr<ITokenJWT> TokenJWT() override;
    TDateTime TokenExpiryDT() override;
    bool NeedTokenRefresh() override;
    std::string GetRefreshToken() override;

private:
    using TStatePtr = std::shared_ptr<TAuthenticationState>;
    using TClockPtr = std::shared_ptr<const IClock>;

    void SignWithEmailAndPassword(TSignType SignType, const std::string &Info, TOnUserResponse OnUserResponse,
                                  TOnRequestError OnError, const std::string &Email = std::string(),
                                  const std::string &Password = std::string());
    std::shared_ptr<IFirebaseUser>
    SignWithEmailAndPasswordSynchronous(TSignType SignType, const std::string &Email = std::string(),
                                        const std::string &Password = std::string());
    TJSONValue RefreshBody() const;
    TQueryParams KeyQuery() const;
    // The account operations share one request shape: a POST of Body to the identity service's Verb.
    std::shared_ptr<IFirebaseResponse> PostToIdentitySynchronous(const std::string &Verb,
                                                                 const TJSONValue &Body);
    void PostToIdentity(const std::string &Verb, const TJSONValue &Body, const std::string &Info,
                        TOnResponse OnResponse, TOnRequestError OnError);

    const std::string fApiKey;
    const TAuthenticationEndpoints fEndpoints;
    const TClockPtr fClock;
    const TStatePtr fState;
    TReleaseGate fGate;
};

} // namespace Cumulo
