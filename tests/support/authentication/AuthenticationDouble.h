#pragma once

#include "Cumulo/Interfaces.h"

namespace TestSupport {

// The base of an authentication double: every operation throws std::logic_error naming itself,
// so a double overrides only what the code under test may call, and any other call fails the
// test loudly instead of answering something made up.
class TAuthenticationDouble : public Cumulo::IFirebaseAuthentication {
public:
    void SignUpWithEmailAndPassword(const std::string &, const std::string &, Cumulo::TOnUserResponse,
                                    Cumulo::TOnRequestError) override;
    std::shared_ptr<Cumulo::IFirebaseUser>
    SignUpWithEmailAndPasswordSynchronous(const std::string &, const std::string &) override;
    void SignInWithEmailAndPassword(const std::string &, const std::string &, Cumulo::TOnUserResponse,
                                    Cumulo::TOnRequestError) override;
    std::shared_ptr<Cumulo::IFirebaseUser>
    SignInWithEmailAndPasswordSynchronous(const std::string &, const std::string &) override;
    void SignInAnonymously(Cumulo::TOnUserResponse, Cumulo::TOnRequestError) override;
    std::shared_ptr<Cumulo::IFirebaseUser> SignInAnonymouslySynchronous() override;
    void SignOut() override;
    void FetchProvidersForEMail(const std::string &, Cumulo::TOnFetchProviders,
                                Cumulo::TOnRequestError) override;
    bool FetchProvidersForEMailSynchronous(const std::string &, std::vector<std::string> &) override;
    void SendPasswordResetEMail(const std::string &, Cumulo::TOnResponse, Cumulo::TOnRequestError) override;
    void SendPasswordResetEMailSynchronous(const std::string &) override;
    void VerifyPasswordResetCode(const std::string &, Cumulo::TOnPasswordVerification,
                                 Cumulo::TOnRequestError) override;
    Cumulo::TPasswordVerificationResult VerifyPasswordResetCodeSynchronous(const std::string &) override;
    void ConfirmPasswordReset(const std::string &, const std::string &, Cumulo::TOnResponse,
                              Cumulo::TOnRequestError) override;
    void ConfirmPasswordResetSynchronous(const std::string &, const std::string &) override;
    void ChangeProfile(const std::string &, const std::string &, const std::string &, const std::string &,
                       Cumulo::TOnResponse, Cumulo::TOnRequestError) override;
    void ChangeProfileSynchronous(const std::string &, const std::string &, const std::string &,
                                  const std::string &) override;
    void DeleteCurrentUser(Cumulo::TOnResponse, Cumulo::TOnRequestError) override;
    void DeleteCurrentUserSynchronous() override;
    void GetUserData(Cumulo::TOnGetUserData, Cumulo::TOnRequestError) override;
    Cumulo::TFirebaseUserList GetUserDataSynchronous() override;
    void RefreshToken(Cumulo::TOnTokenRefresh, Cumulo::TOnRequestError) override;
    bool CheckAndRefreshTokenSynchronous() override;
    bool Authenticated() override;
    std::string Token() override;
    std::shared_ptr<Cumulo::ITokenJWT> TokenJWT() override;
    Cumulo::TDateTime TokenExpiryDT() override;
    bool NeedTokenRefresh() override;
    std::string GetRefreshToken() override;
};

} // namespace TestSupport
