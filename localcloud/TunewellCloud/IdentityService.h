#pragma once

#include "TunewellCloud/AccountStore.h"
#include "TunewellCloud/CloudOptions.h"
#include "TunewellCloud/Json.h"
#include "TunewellCloud/OwnerAccess.h"
#include "TunewellCloud/RequestLimits.h"

#include <httplib.h>
#include <map>
#include <mutex>
#include <string>

namespace TunewellCloud {

class TokenSigner;

// The identity service's verbs and the token service on one HTTP server. With the owner's access
// (OwnerAccess) a request may name an account by localId, and the codes that would have been
// mailed are listed at GET /emulator/v1/projects/<project>/oobCodes; without it that path is not served.
class IdentityService {
public:
    IdentityService(AccountStore &accounts, const TokenSigner &signer, const CloudOptions &options);
    void install(httplib::Server &server);
    const RequestLimits &limits() const { return limits_; }

    // Creates the account or sets its password; answers its localId.
    std::string addAccount(const std::string &email, const std::string &password);
    // Creates the account unless one has that address; answers whether it did.
    bool addAccountIfMissing(const std::string &email, const std::string &password);

private:
    struct OobCode {
        std::string email;
        std::string requestType;
        std::int64_t expiresAt;
    };

    void handleVerb(const std::string &verb, const httplib::Request &request, const std::string &body,
                    httplib::Response &response);
    void handleToken(const httplib::Request &request, const std::string &body, httplib::Response &response);
    void checkApiKey(const httplib::Request &request) const;

    Json signUp(const Json &body);
    Json verifyPassword(const Json &body);
    Json createAuthUri(const Json &body);
    Json getOobConfirmationCode(const Json &body, bool asOwner);
    Json resetPassword(const Json &body);
    Json setAccountInfo(const Json &body, bool asOwner);
    Json deleteAccount(const Json &body, bool asOwner);
    Json getAccountInfo(const Json &body, bool asOwner);
    Json refresh(const std::string &grantType, const std::string &refreshToken);
    Json oobCodes() const;

    // The account the request is about: from "idToken", or from "localId" for the owner.
    Json accountFor(const Json &body, bool asOwner) const;
    void addTokens(Json &answer, const Json &account, bool secure) const;
    std::string idToken(const Json &account) const;
    std::string refreshToken(const Json &account) const;
    Json userInfo(const Json &account) const;

    AccountStore &accounts_;
    const TokenSigner &signer_;
    const CloudOptions &options_;
    const OwnerAccess owner_;
    const RequestLimits limits_;
    mutable std::mutex oobMutex_;
    std::map<std::string, OobCode> oobCodes_;
};

} // namespace TunewellCloud
