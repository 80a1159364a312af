#pragma once

// An authentication client that only plays the token: the request layer's view of it.

#include "Cumulo/Exceptions.h"
#include "Cumulo/Interfaces.h"

#include <stdexcept>

namespace CloudTest {

class TFakeAuthentication : public Cumulo::IFirebaseAuthentication {
public:
    std::string CurrentToken = "token-1";
    std::string NextToken = "token-2";
    bool TokenDue = false;
    // What CheckAndRefreshTokenSynchronous answers; an empty text makes it raise instead.
    bool SynchronousRefreshResult = true;
    std::string SynchronousRefreshError;
    int SynchronousRefreshCalls = 0;
    int AsynchronousRefreshCalls = 0;

    // The asynchronous refresh keeps one pair of callbacks, the last one given, as the real
    // client does.
    void CompleteRefresh() {
        CurrentToken = NextToken;
        TokenDue = false;
        if (fOnTokenRefresh)
            fOnTokenRefresh(true);
    }
    void ReportRefresh(bool Refreshed) {
        if (fOnTokenRefresh)
            fOnTokenRefresh(Refreshed);
    }
    void FailRefresh(const std::string &Message) {
        if (fOnError)
            fOnError("RefreshToken", Message);
    }

    void RefreshToken(Cumulo::TOnTokenRefresh OnTokenRefresh, Cumulo::TOnRequestError OnError) override {
        ++AsynchronousRefreshCalls;
        fOnTokenRefresh = std::move(OnTokenRefresh);
        fOnError = std::move(OnError);
    }
    bool CheckAndRefreshTokenSynchronous() override {
        ++SynchronousRefreshCalls;
        if (!SynchronousRefreshError.empty())
            throw Cumulo::EFirebaseResponse(SynchronousRefreshError);
        if (SynchronousRefreshResult)
            CurrentToken = NextToken;
        return SynchronousRefreshResult;
    }
    std::string Token() override { return CurrentToken; }
    bool NeedTokenRefresh() override { return TokenDue; }
    bool Authenticated() override { return true; }

    // Not part of the request layer's view.
    void SignUpWithEmailAndPassword(const std::string &, const std::string &, Cumulo::TOnUserResponse,
                                    Cumulo::TOnRequestError) override {
        Unused();
    }
    std::shared_ptr<Cumulo::IFirebaseUser>
    SignUpWithEmailAndPasswordSynchronous(const std::string &, const std::string &) override {
        Unused();
    }
    void SignInWithEmailAndPassword(const std::string &, const std::string &, Cumulo::TOnUserResponse,
                                    Cumulo::TOnRequestError) override {
        Unused();
    }
    std::shared_ptr<Cumulo::IFirebaseUser>
    SignInWithEmailAndPasswordSynchronous(const std::string &, const std::string &) override {
        Unused();
    }
    void SignInAnonymously(Cumulo::TOnUserResponse, Cumulo::TOnRequestError) override { Unused(); }
    std::shared_ptr<Cumulo::IFirebaseUser> SignInAnonymouslySynchronous() override { Unused(); }
    void SignOut() override { Unused(); }
    void FetchProvidersForEMail(const std::string &, Cumulo::TOnFetchProviders,
                                Cumulo::TOnRequestError) override {
        Unused();
    }
    bool FetchProvidersForEMailSynchronous(const std::string &, std::vector<std::string> &) override {
        Unused();
    }
    void SendPasswordResetEMail(const std::string &, Cumulo::TOnResponse, Cumulo::TOnRequestError) override {
        Unused();
    }
    void SendPasswordResetEMailSynchronous(const std::string &) override { Unused(); }
    void VerifyPasswordResetCode(const std::string &, Cumulo::TOnPasswordVerification,
                                 Cumulo::TOnRequestError) override {
        Unused();
    }
    Cumulo::TPasswordVerificationResult VerifyPasswordResetCodeSynchronous(const std::string &) override {
        Unused();
    }
    void ConfirmPasswordReset(const std::string &, const std::string &, Cumulo::TOnResponse,
                              Cumulo::TOnRequestError) override {
        Unused();
    }
    void ConfirmPasswordResetSynchronous(const std::string &, const std::string &) override { Unused(); }
    void ChangeProfile(const std::string &, const std::string &, const std::string &, const std::string &,
                       Cumulo::TOnResponse, Cumulo::TOnRequestError) override {
        Unused();
    }
    void ChangeProfileSynchronous(const std::string &, const std::string &, const std::string &,
                                  const std::string &) override {
        Unused();
    }
    void DeleteCurrentUser(Cumulo::TOnResponse, Cumulo::TOnRequestError) override { Unused(); }
    void DeleteCurrentUserSynchronous() override { Unused(); }
    void GetUserData(Cumulo::TOnGetUserData, Cumulo::TOnRequestError) override { Unused(); }
    Cumulo::TFirebaseUserList GetUserDataSynchronous() override { Unused(); }
    std::shared_ptr<Cumulo::ITokenJWT> TokenJWT() override { Unused(); }
    Cumulo::TDateTime TokenExpiryDT() override { Unused(); }
    std::string GetRefreshToken() override { Unused(); }

private:
    [[noreturn]] static void Unused() { throw std::logic_error("not used by the request layer"); }

    Cumulo::TOnTokenRefresh fOnTokenRefresh;
    Cumulo::TOnRequestError fOnError;
};

} // namespace CloudTest
