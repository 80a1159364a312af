#include "Cumulo/Authentication.h"

#include "Cumulo/AsciiCase.h"
#include "Cumulo/AuthenticationFields.h"
#include "Cumulo/Endpoints.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"
#include "Cumulo/Request.h"
#include "Cumulo/User.h"

namespace Cumulo {

namespace Fields = AuthenticationFields;

namespace {
const char *const AnonymousSignInInfo = "Sign in anonymously";
const char *const AnonymousSignInHint = "In the firebase console under Authentication/Sign-in method firstly "
                                        "enable anonymous sign-in provider.";

const char *Verb(TFirebaseAuthentication::TSignType SignType) {
    return SignType == TFirebaseAuthentication::stLogin ? "verifyPassword" : "signupNewUser";
}

TJSONValue SignBody(TFirebaseAuthentication::TSignType SignType, const std::string &Email,
                    const std::string &Password) {
    TJSONValue body = TJSONValue::object();
    if (SignType != TFirebaseAuthentication::stAnonymousLogin) {
        body["email"] = Email;
        body["password"] = Password;
    }
    // The service expects the text "true" here, not a JSON boolean.
    body["returnSecureToken"] = "true";
    return body;
}

// Takes a sign answer into the state and returns the record built from it.
std::shared_ptr<IFirebaseUser> TakeSignAnswer(TAuthenticationState &State, const IClock &Clock,
                                              IFirebaseResponse &Response) {
    Fields::RaiseForErrorStatus(Response);
    Response.CheckForJSONObj();
    State.SetAuthenticated(true);
    auto user = std::make_shared<TFirebaseUser>(Response.GetContentAsJSONObj().value(), true, Clock);
    State.TakeSignIn(user->Token(), user->ExpiresAt(), user->RefreshToken());
    return user;
}

// Takes a refresh answer into the state; true when it brought a new refresh token. A missing
// "access_token" raises Missing.
template <class Missing>
bool TakeRefreshAnswer(TAuthenticationState &State, const IClock &Clock, IFirebaseResponse &Response) {
    Fields::RaiseForErrorStatus(Response);
    Response.CheckForJSONObj();
    State.SetAuthenticated(true);
    TJSONValue body = Response.GetContentAsJSONObj().value();
    auto accessToken = Fields::ReadString(body, "access_token");
    auto refreshToken = Fields::ReadString(body, "refresh_token");
    State.TakeRefresh(accessToken, Fields::ExpiryFromLifetime(body, "expires_in", Clock.Now()), refreshToken);
    if (!accessToken)
        throw Missing("access_token not found");
    return refreshToken.has_value();
}

void OnUserResp(TAuthenticationState &State, const IClock &Clock, const TOnUserResponse &OnUserResponse,
                const TOnRequestError &OnError, const std::string &RequestID, IFirebaseResponse &Response) {
    std::string errorText;
    try {
        auto user = TakeSignAnswer(State, Clock, Response);
        if (OnUserResponse)
            OnUserResponse(RequestID, user);
        return;
    } catch (const EFirebaseResponse &e) {
        errorText = e.what();
        if (EqualsIgnoringAsciiCase(errorText, "OPERATION_NOT_ALLOWED") && RequestID == AnonymousSignInInfo)
            errorText = AnonymousSignInHint;
    } catch (const std::exception &e) {
        errorText = e.what();
    }
    if (OnError)
        OnError(RequestID, errorText);
    else
        TFirebaseHelpers::Log("Firebase failure in " + RequestID + ": " + errorText);
}

void CheckAndRefreshTokenResp(TAuthenticationState &State, const IClock &Clock,
                              const TOnTokenRefresh &OnTokenRefresh, const TOnRequestError &OnError,
                              const std::string &RequestID, IFirebaseResponse &Response) {
    try {
        if (TakeRefreshAnswer<EFirebaseUser>(State, Clock, Response) && OnTokenRefresh)
            OnTokenRefresh(true);
    } catch (const std::exception &e) {
        if (OnError)
            OnError(RequestID, e.what());
        else
            TFirebaseHelpers::Log(std::string("Firebase RefreshToken failed: ") + e.what());
    }
}
} // namespace

TFirebaseAuthentication::TFirebaseAuthentication(std::string ApiKey)
    : TFirebaseAuthentication(std::move(ApiKey),
                              TAuthenticationEndpoints{IdentityBaseURL(), TokenBaseURL()}) {}

TFirebaseAuthentication::TFirebaseAuthentication(std::string ApiKey, TAuthenticationEndpoints Endpoints,
                                                 std::shared_ptr<const IClock> Clock)
    : fApiKey(std::move(ApiKey)), fEndpoints(std::move(Endpoints)),
      fClock(Clock ? std::move(Clock) : SystemClock()), fState(std::make_shared<TAuthenticationState>()) {}

TFirebaseAuthentication::~TFirebaseAuthentication() {
    fGate.Close();
}

TQueryParams TFirebaseAuthentication::KeyQuery() const {
    return TQueryParams{{"key", fApiKey}};
}

void TFirebaseAuthentication::SignWithEmailAndPassword(TSignType SignType, const std::string &Info,
                                                       TOnUserResponse OnUserResponse,
                                                       TOnRequestError OnError, const std::string &Email,
                                                       const std::string &Password) {
    fState->SetAuthenticated(false);
    TJSONValue body = SignBody(SignType, Email, Password);
    TQueryParams query = KeyQuery();
    TFirebaseRequest request(fEndpoints.IdentityBaseURI, Info, nullptr);
    const TOnResponse onAnswer = [state = fState, clock = fClock, OnUserResponse,
                                  OnError](const std::string &RequestID,
                                           std::shared_ptr<IFirebaseResponse> Response) {
        OnUserResp(*state, *clock, OnUserResponse, OnError, RequestID, *Response);
    };
    request.SendRequest({Verb(SignType)}, rmPOST, &body, &query, tmNoToken, fGate.Guard(onAnswer),
                        fGate.Guard(OnError));
}

std::shared_ptr<IFirebaseUser>
TFirebaseAuthentication::SignWithEmailAndPasswordSynchronous(TSignType SignType, const std::string &Email,
                                                             const std::string &Password) {
    fState->SetAuthenticated(false);
    TJSONValue body = SignBody(SignType, Email, Password);
    TQueryParams query = KeyQuery();
    TFirebaseRequest request(fEndpoints.IdentityBaseURI, std::string(), nullptr);
    auto response = request.SendRequestSynchronous({Verb(SignType)}, rmPOST, &body, &query, tmNoToken);
    return TakeSignAnswer(*fState, *fClock, *response);
}

void TFirebaseAuthentication::SignUpWithEmailAndPassword(const std::string &Email,
                                                         const std::string &Password,
                                                         TOnUserResponse OnUserResponse,
                                                         TOnRequestError OnError) {
    SignWithEmailAndPassword(stNewUser, "Sign up with email for " + Email, std::move(OnUserResponse),
                             std::move(OnError), Email, Password);
}

std::shared_ptr<IFirebaseUser>
TFirebaseAuthentication::SignUpWithEmailAndPasswordSynchronous(const std::string &Email,
                                                               const std::string &Password) {
    return SignWithEmailAndPasswordSynchronous(stNewUser, Email, Password);
}

void TFirebaseAuthentication::SignInWithEmailAndPassword(const std::string &Email,
                                                         const std::string &Password,
                                                         TOnUserResponse OnUserResponse,
                                                         TOnRequestError OnError) {
    SignWithEmailAndPassword(stLogin, "Sign in with email for " + Email, std::move(OnUserResponse),
                             std::move(OnError), Email, Password);
}

std::shared_ptr<IFirebaseUser>
TFirebaseAuthentication::SignInWithEmailAndPasswordSynchronous(const std::string &Email,
                                                               const std::string &Password) {
    return SignWithEmailAndPasswordSynchronous(stLogin, Email, Password);
}

void TFirebaseAuthentication::SignInAnonymously(TOnUserResponse OnUserResponse, TOnRequestError OnError) {
    SignWithEmailAndPassword(stAnonymousLogin, AnonymousSignInInfo, std::move(OnUserResponse),
                             std::move(OnError));
}

std::shared_ptr<IFirebaseUser> TFirebaseAuthentication::SignInAnonymouslySynchronous() {
    return SignWithEmailAndPasswordSynchronous(stAnonymousLogin);
}

void TFirebaseAuthentication::SignOut() {
    fState->SignOut();
}

TJSONValue TFirebaseAuthentication::RefreshBody() const {
    TJSONValue body = TJSONValue::object();
    body["grant_type"] = "refresh_token";
    body["refresh_token"] = fState->RefreshToken();
    return body;
}

void TFirebaseAuthentication::RefreshToken(TOnTokenRefresh OnTokenRefresh, TOnRequestError OnError) {
    fState->SetAuthenticated(false);
    TJSONValue body = RefreshBody();
    TQueryParams query = KeyQuery();
    TFirebaseRequest request(fEndpoints.TokenURI, "Refresh token", nullptr);
    const TOnResponse onAnswer = [state = fState, clock = fClock, OnTokenRefresh,
                                  OnError](const std::string &RequestID,
                                           std::shared_ptr<IFirebaseResponse> Response) {
        CheckAndRefreshTokenResp(*state, *clock, OnTokenRefresh, OnError, RequestID, *Response);
    };
    request.SendRequest({}, rmPOST, &body, &query, tmNoToken, fGate.Guard(onAnswer), fGate.Guard(OnError));
}

bool TFirebaseAuthentication::CheckAndRefreshTokenSynchronous() {
    if (!NeedTokenRefresh())
        return false;
    fState->SetAuthenticated(false);
    TJSONValue body = RefreshBody();
    TQueryParams query = KeyQuery();
    TFirebaseRequest request(fEndpoints.TokenURI, std::string(), nullptr);
    auto response = request.SendRequestSynchronous({}, rmPOST, &body, &query, tmNoToken);
    return TakeRefreshAnswer<EFirebaseAuthentication>(*fState, *fClock, *response);
}

bool TFirebaseAuthentication::Authenticated() {
    return fState->Authenticated();
}

std::string TFirebaseAuthentication::Token() {
    return fState->Token();
}

std::shared_ptr<ITokenJWT> TFirebaseAuthentication::TokenJWT() {
    return fState->TokenJWT();
}

TDateTime TFirebaseAuthentication::TokenExpiryDT() {
    return fState->ExpiresAt();
}

bool TFirebaseAuthentication::NeedTokenRefresh() {
    return fState->NeedTokenRefresh(fClock->Now(), safetyMargin);
}

std::string TFirebaseAuthentication::GetRefreshToken() {
    return fState->RefreshToken();
}

} // namespace Cumulo
