#include "Cumulo/AuthenticationState.h"

#include <cmath>

namespace Cumulo {

void TAuthenticationState::SetAuthenticated(bool Value) {
    std::lock_guard lock(fLock);
    fAuthenticated = Value;
}

bool TAuthenticationState::Authenticated() const {
    std::lock_guard lock(fLock);
    return fAuthenticated;
}

std::string TAuthenticationState::Token() const {
    std::lock_guard lock(fLock);
    return fToken;
}

std::shared_ptr<ITokenJWT> TAuthenticationState::TokenJWT() const {
    std::lock_guard lock(fLock);
    return fTokenJWT;
}

TDateTime TAuthenticationState::ExpiresAt() const {
    std::lock_guard lock(fLock);
    return fExpiresAt;
}

std::string TAuthenticationState::RefreshToken() const {
    std::lock_guard lock(fLock);
    return fRefreshToken;
}

bool TAuthenticationState::NeedTokenRefresh(TDateTime Now, TDateTime Margin) const {
    constexpr double MillisecondsPerDay = 86400000.0;
    std::lock_guard lock(fLock);
    return std::llround((Now + Margin - fExpiresAt) * MillisecondsPerDay) > 0;
}

void TAuthenticationState::TakeSignIn(std::string Token, TDateTime ExpiresAt, std::string RefreshToken) {
    std::lock_guard lock(fLock);
    fToken = std::move(Token);
    fTokenJWT = nullptr;
    fExpiresAt = ExpiresAt;
    fRefreshToken = std::move(RefreshToken);
}

void TAuthenticationState::TakeRefresh(const std::optional<std::string> &AccessToken, TDateTime ExpiresAt,
                                       const std::optional<std::string> &RefreshToken) {
    std::lock_guard lock(fLock);
    fToken = AccessToken.value_or(std::string());
    if (!AccessToken)
        return;
    fTokenJWT = nullptr;
    fExpiresAt = ExpiresAt;
    fRefreshToken = RefreshToken.value_or(std::string());
}

void TAuthenticationState::SignOut() {
    std::lock_guard lock(fLock);
    fToken.clear();
    fTokenJWT = nullptr;
    fRefreshToken.clear();
    fAuthenticated = false;
}

} // namespace Cumulo
