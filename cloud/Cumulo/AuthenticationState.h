#pragma once

#include "Cumulo/Interfaces.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace Cumulo {

// The sign-in values of an authentication client. Every read and write holds one lock, so a
// worker thread renewing the token never lets another thread see a torn value, and each answer
// changes its values together.
class TAuthenticationState {
public:
    void SetAuthenticated(bool Value);
    bool Authenticated() const;
    std::string Token() const;
    std::shared_ptr<ITokenJWT> TokenJWT() const;
    TDateTime ExpiresAt() const;
    std::string RefreshToken() const;

    // True when Now + Margin lies after the expiry. Compared to the millisecond, because
    // date-time doubles carry rounding noise far below that.
    bool NeedTokenRefresh(TDateTime Now, TDateTime Margin) const;

    // A sign answer holding "idToken": token, expiry and refresh token together. The token is
    // never decoded, so the decoded form becomes null.
    void TakeSignIn(std::string Token, TDateTime ExpiresAt, std::string RefreshToken);
    // A refresh answer: without an access token the ID token is cleared and nothing else changes;
    // with one, token, expiry and refresh token (empty when absent) are taken together.
    void TakeRefresh(const std::optional<std::string> &AccessToken, TDateTime ExpiresAt,
                     const std::optional<std::string> &RefreshToken);
    // Clears the tokens; the expiry stays.
    void SignOut();

private:
    mutable std::mutex fLock;
    bool fAuthenticated = false;
    std::string fToken;
    std::shared_ptr<ITokenJWT> fTokenJWT;
    TDateTime fExpiresAt = 0;
    std::string fRefreshToken;
};

} // namespace Cumulo
