#pragma once

#include "Cumulo/Interfaces.h"

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>

namespace CumuloTest {

// An authentication client that holds a token and counts renewals. The token changes with
// every renewal, so a test can see which token a connection carried. RenewOnCheck decides
// whether the local clock finds the token due (CheckAndRefreshTokenSynchronous renews then).
class TFakeAuthentication : public Cumulo::IFirebaseAuthentication {
public:
    std::atomic<int> Checks{0};
    std::atomic<int> Refreshes{0};
    std::atomic<bool> RenewOnCheck{false};
    std::atomic<bool> RefreshFails{false};

    std::string Token() override {
        std::lock_guard lock(fMutex);
        return "token" + std::to_string(fGeneration);
    }
    bool CheckAndRefreshTokenSynchronous() override {
        ++Checks;
        if (!RenewOnCheck)
            return false;
        Renew();
        return true;
    }
    void RefreshToken(Cumulo::TOnTokenRefresh OnTokenRefresh, Cumulo::TOnRequestError OnError) override {
        ++Refreshes;
        if (RefreshFails) {
            if (OnError)
                OnError("Refresh token", "TOKEN_EXPIRED");
            return;
        }
        Renew();
        if (OnTokenRefresh)
            OnTokenRefresh(true);
    }
    bool Authenticated() override { return true; }
    Cumulo::TDateTime TokenExpiryDT() override { return 0; }
    bool NeedTokenRefresh() override { return RenewOnCheck; }
    std::string GetRefreshToken() override { return "refresh"; }
    std::shared_ptr<Cumulo::ITokenJWT> TokenJWT() override { return nullptr; }

    // The listener uses nothing else.
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

private:
    void Renew() {
        std::lock_guard lock(fMutex);
        ++fGeneration;
    }
    [[noreturn]] static void Unused() { throw std::logic_error("not used by the listener"); }

    std::mutex fMutex;
    int fGeneration = 1;
};

} // namespace CumuloTest
