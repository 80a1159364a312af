#include "AuthenticationDouble.h"

#include <stdexcept>
#include <string>

namespace TestSupport {

namespace {

[[noreturn]] void NotUsed(const char *Operation) {
    throw std::logic_error(std::string(Operation) + " is not used by the code under test");
}

} // namespace

void TAuthenticationDouble::SignUpWithEmailAndPassword(const std::string &, const std::string &,
                                                       Cumulo::TOnUserResponse, Cumulo::TOnRequestError) {
    NotUsed("SignUpWithEmailAndPassword");
}

std::shared_ptr<Cumulo::IFirebaseUser>
TAuthenticationDouble::SignUpWithEmailAndPasswordSynchronous(const std::string &, const std::string &) {
    NotUsed("SignUpWithEmailAndPasswordSynchronous");
}

void TAuthenticationDouble::SignInWithEmailAndPassword(const std::string &, const std::string &,
                                                       Cumulo::TOnUserResponse, Cumulo::TOnRequestError) {
    NotUsed("SignInWithEmailAndPassword");
}

std::shared_ptr<Cumulo::IFirebaseUser>
TAuthenticationDouble::SignInWithEmailAndPasswordSynchronous(const std::string &, const std::string &) {
    NotUsed("SignInWithEmailAndPasswordSynchronous");
}

void TAuthenticationDouble::SignInAnonymously(Cumulo::TOnUserResponse, Cumulo::TOnRequestError) {
    NotUsed("SignInAnonymously");
}

std::shared_ptr<Cumulo::IFirebaseUser> TAuthenticationDouble::SignInAnonymouslySynchronous() {
    NotUsed("SignInAnonymouslySynchronous");
}

void TAuthenticationDouble::SignOut() {
    NotUsed("SignOut");
}

void TAuthenticationDouble::FetchProvidersForEMail(const std::string &, Cumulo::TOnFetchProviders,
                                                   Cumulo::TOnRequestError) {
    NotUsed("FetchProvidersForEMail");
}

bool TAuthenticationDouble::FetchProvidersForEMailSynchronous(const std::string &,
                                                              std::vector<std::string> &) {
    NotUsed("FetchProvidersForEMailSynchronous");
}

void TAuthenticationDouble::SendPasswordResetEMail(const std::string &, Cumulo::TOnResponse,
                                                   Cumulo::TOnRequestError) {
    NotUsed("SendPasswordResetEMail");
}

void TAuthenticationDouble::SendPasswordResetEMailSynchronous(const std::string &) {
    NotUsed("SendPasswordResetEMailSynchronous");
}

void TAuthenticationDouble::VerifyPasswordResetCode(const std::string &, Cumulo::TOnPasswordVerification,
                                                    Cumulo::TOnRequestError) {
    NotUsed("VerifyPasswordResetCode");
}

Cumulo::TPasswordVerificationResult
TAuthenticationDouble::VerifyPasswordResetCodeSynchronous(const std::string &) {
    NotUsed("VerifyPasswordResetCodeSynchronous");
}

void TAuthenticationDouble::ConfirmPasswordReset(const std::string &, const std::string &,
                                                 Cumulo::TOnResponse, Cumulo::TOnRequestError) {
    NotUsed("ConfirmPasswordReset");
}

void TAuthenticationDouble::ConfirmPasswordResetSynchronous(const std::string &, const std::string &) {
    NotUsed("ConfirmPasswordResetSynchronous");
}

void TAuthenticationDouble::ChangeProfile(const std::string &, const std::string &, const std::string &,
                                          const std::string &, Cumulo::TOnResponse, Cumulo::TOnRequestError) {
    NotUsed("ChangeProfile");
}

void TAuthenticationDouble::ChangeProfileSynchronous(const std::string &, const std::string &,
                                                     const std::string &, const std::string &) {
    NotUsed("ChangeProfileSynchronous");
}

void TAuthenticationDouble::DeleteCurrentUser(Cumulo::TOnResponse, Cumulo::TOnRequestError) {
    NotUsed("DeleteCurrentUser");
}

void TAuthenticationDouble::DeleteCurrentUserSynchronous() {
    NotUsed("DeleteCurrentUserSynchronous");
}

void TAuthenticationDouble::GetUserData(Cumulo::TOnGetUserData, Cumulo::TOnRequestError) {
    NotUsed("GetUserData");
}

Cumulo::TFirebaseUserList TAuthenticationDouble::GetUserDataSynchronous() {
    NotUsed("GetUserDataSynchronous");
}

void TAuthenticationDouble::RefreshToken(Cumulo::TOnTokenRefresh, Cumulo::TOnRequestError) {
    NotUsed("RefreshToken");
}

bool TAuthenticationDouble::CheckAndRefreshTokenSynchronous() {
    NotUsed("CheckAndRefreshTokenSynchronous");
}

bool TAuthenticationDouble::Authenticated() {
    NotUsed("Authenticated");
}

std::string TAuthenticationDouble::Token() {
    NotUsed("Token");
}

std::shared_ptr<Cumulo::ITokenJWT> TAuthenticationDouble::TokenJWT() {
    NotUsed("TokenJWT");
}

Cumulo::TDateTime TAuthenticationDouble::TokenExpiryDT() {
    NotUsed("TokenExpiryDT");
}

bool TAuthenticationDouble::NeedTokenRefresh() {
    NotUsed("NeedTokenRefresh");
}

std::string TAuthenticationDouble::GetRefreshToken() {
    NotUsed("GetRefreshToken");
}

} // namespace TestSupport
