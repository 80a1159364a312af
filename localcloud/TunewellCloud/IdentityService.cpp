#include "TunewellCloud/IdentityService.h"

#include "TunewellCloud/Clock.h"
#include "TunewellCloud/Crypto.h"
#include "TunewellCloud/HttpReplies.h"
#include "TunewellCloud/PasswordHasher.h"
#include "TunewellCloud/RequestError.h"
#include "TunewellCloud/TokenSigner.h"
#include "TunewellCloud/UrlCoding.h"
#include "TunewellCloud/WriteRules.h"

#include <algorithm>
#include <iostream>

namespace TunewellCloud {

namespace {

const char *const kWeakPassword = "WEAK_PASSWORD : Password should be at least 6 characters";
const char *const kRedacted = "UkVEQUNURUQ=";
// The largest body the identity and token services read; theirs are a few hundred bytes.
constexpr std::size_t kBodyBytes = 1u << 20;

std::string messageFor(int status) {
    if (status == 413)
        return "Request payload size exceeds the limit: " + std::to_string(kBodyBytes) + " bytes.";
    return status == 404 ? "Not Found" : "Bad Request";
}

[[noreturn]] void refuse(const std::string &code, int status = 400) {
    throw RequestError(status, code);
}

std::optional<std::string> text(const Json &body, const char *name) {
    if (!body.contains(name) || body.at(name).is_null())
        return std::nullopt;
    if (!body.at(name).is_string())
        refuse(std::string("Invalid JSON payload received. Wrong type for \"") + name + "\".");
    return body.at(name).get<std::string>();
}

std::string lowerCase(std::string value) {
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return value;
}

// The service takes booleans as JSON booleans or as the texts "true" and "false" in any case.
bool flag(const Json &body, const char *name) {
    if (!body.contains(name) || body.at(name).is_null())
        return false;
    const Json &value = body.at(name);
    if (value.is_boolean())
        return value.get<bool>();
    if (value.is_string()) {
        const auto lowered = lowerCase(value.get<std::string>());
        if (lowered == "true")
            return true;
        if (lowered == "false")
            return false;
    }
    refuse(std::string("Invalid value at '") + name + "' (TYPE_BOOL), " + value.dump());
}

bool validEmail(const std::string &email) {
    const auto at = email.find('@');
    if (email.size() > 256 || at == std::string::npos || at == 0 || at + 1 >= email.size() ||
        email.find('@', at + 1) != std::string::npos || !WriteRules::validUtf8(email))
        return false;
    return std::none_of(email.begin(), email.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    });
}

void checkPasswordStrength(const std::string &password) {
    const auto characters = std::count_if(password.begin(), password.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    if (characters < 6)
        refuse(kWeakPassword);
}

void setPassword(Json &account, const std::string &password) {
    checkPasswordStrength(password);
    account["passwordHash"] = PasswordHasher::hash(password);
    account["passwordUpdatedAt"] = nowMilliseconds();
    account["validSince"] = nowSeconds();
    // Refresh tokens carry the generation: bumping it revokes them all.
    account["generation"] = account.value("generation", 0) + 1;
}

Json parseJsonBody(const std::string &body) {
    if (body.empty())
        return Json::object();
    Json parsed = WriteRules::parseBody(body, 0);
    if (!parsed.is_object())
        refuse("Invalid JSON payload received. Expected an object.");
    return parsed;
}

} // namespace

IdentityService::IdentityService(AccountStore &accounts, const TokenSigner &signer,
                                 const CloudOptions &options)
    : accounts_(accounts), signer_(signer), options_(options), owner_(options.ownerAccess),
      limits_(kBodyBytes, [](httplib::Response &response, int status) {
          HttpReplies::serviceError(response, status, messageFor(status));
      }) {}

void IdentityService::install(httplib::Server &server) {
    server.Post(R"(/www\.googleapis\.com/identitytoolkit/v3/relyingparty/([A-Za-z]+))",
                [this](const httplib::Request &request, httplib::Response &response,
                       const httplib::ContentReader &reader) {
                    if (const auto body = limits_.read(reader, response))
                        handleVerb(request.matches[1], request, *body, response);
                });
    server.Post(R"(/securetoken\.googleapis\.com/v1/token)",
                [this](const httplib::Request &request, httplib::Response &response,
                       const httplib::ContentReader &reader) {
                    if (const auto body = limits_.read(reader, response))
                        handleToken(request, *body, response);
                });
    if (owner_.enabled())
        server.Get(R"(/emulator/v1/projects/([^/]+)/oobCodes)",
                   [this](const httplib::Request &, httplib::Response &response) {
                       HttpReplies::json(response, 200, oobCodes().dump());
                   });
    limits_.installFallbacks(server);
    server.set_payload_max_length(kBodyBytes);
    server.set_error_handler([](const httplib::Request &, httplib::Response &response) {
        if (response.body.empty() && !HttpReplies::closesAfter(response))
            HttpReplies::serviceError(response, response.status, messageFor(response.status));
    });
}

void IdentityService::checkApiKey(const httplib::Request &request) const {
    const auto query = UrlCoding::queryOf(request.target);
    if (!query || !query->contains("key") || query->at("key").empty())
        refuse("The request is missing a valid API key.", 403);
    if (query->at("key") != options_.apiKey)
        refuse("API key not valid. Please pass a valid API key.");
}

void IdentityService::handleVerb(const std::string &verb, const httplib::Request &request,
                                 const std::string &requestBody, httplib::Response &response) {
    try {
        checkApiKey(request);
        const Json body = parseJsonBody(requestBody);
        const auto claim = owner_.claim(request);
        if (claim == OwnerAccess::Claim::Refused)
            refuse("INVALID_ID_TOKEN");
        const bool owner = claim == OwnerAccess::Claim::Owner;
        Json answer;
        if (verb == "signupNewUser")
            answer = signUp(body);
        else if (verb == "verifyPassword")
            answer = verifyPassword(body);
        else if (verb == "createAuthUri")
            answer = createAuthUri(body);
        else if (verb == "getOobConfirmationCode")
            answer = getOobConfirmationCode(body, owner);
        else if (verb == "resetPassword")
            answer = resetPassword(body);
        else if (verb == "setAccountInfo")
            answer = setAccountInfo(body, owner);
        else if (verb == "deleteAccount")
            answer = deleteAccount(body, owner);
        else if (verb == "getAccountInfo")
            answer = getAccountInfo(body, owner);
        else
            refuse("Not Found", 404);
        HttpReplies::json(response, 200, answer.dump());
    } catch (const RequestError &error) {
        HttpReplies::serviceError(response, error.status(), error.what());
    } catch (const StorageError &error) {
        std::cerr << "tunewell-cloud: " << error.what() << '\n';
        HttpReplies::serviceError(response, 500, "INTERNAL_ERROR");
    }
}

void IdentityService::handleToken(const httplib::Request &request, const std::string &body,
                                  httplib::Response &response) {
    try {
        checkApiKey(request);
        std::string grantType;
        std::string token;
        if (request.get_header_value("Content-Type").find("application/json") != std::string::npos) {
            const Json fields = parseJsonBody(body);
            grantType = text(fields, "grant_type").value_or("");
            token = text(fields, "refresh_token").value_or("");
        } else {
            const auto form = UrlCoding::decodeForm(body);
            if (!form)
                refuse("Invalid form body.");
            if (form->contains("grant_type"))
                grantType = form->at("grant_type");
            if (form->contains("refresh_token"))
                token = form->at("refresh_token");
        }
        HttpReplies::json(response, 200, refresh(grantType, token).dump());
    } catch (const RequestError &error) {
        HttpReplies::serviceError(response, error.status(), error.what());
    } catch (const StorageError &error) {
        std::cerr << "tunewell-cloud: " << error.what() << '\n';
        HttpReplies::serviceError(response, 500, "INTERNAL_ERROR");
    }
}

std::string IdentityService::idToken(const Json &account) const {
    const std::int64_t now = nowSeconds();
    const std::string provider = account.value("provider", "password");
    Json identities = Json::object();
    if (account.contains("email"))
        identities["email"] = Json::array({account.at("email")});
    Json claims = {{"iss", "https://securetoken.google.com/" + options_.projectId},
                   {"aud", options_.projectId},
                   {"auth_time", account.value("lastLoginAt", std::int64_t{0}) / 1000},
                   {"user_id", account.at("localId")},
                   {"sub", account.at("localId")},
                   {"iat", now},
                   {"exp", now + options_.tokenLifetimeSeconds},
                   {"firebase", {{"identities", identities}, {"sign_in_provider", provider}}}};
    if (account.contains("email")) {
        claims["email"] = account.at("email");
        claims["email_verified"] = account.value("emailVerified", false);
    }
    if (account.contains("displayName"))
        claims["name"] = account.at("displayName");
    return signer_.sign(claims);
}

std::string IdentityService::refreshToken(const Json &account) const {
    return signer_.sign({{"typ", "refresh"},
                         {"uid", account.at("localId")},
                         {"gen", account.value("generation", 0)},
                         {"jti", Crypto::randomToken(16)}});
}

void IdentityService::addTokens(Json &answer, const Json &account, bool secure) const {
    answer["idToken"] = idToken(account);
    if (secure) {
        answer["refreshToken"] = refreshToken(account);
        answer["expiresIn"] = std::to_string(options_.tokenLifetimeSeconds);
    }
}

bool IdentityService::addAccountIfMissing(const std::string &email, const std::string &password) {
    if (accounts_.byEmail(lowerCase(email)))
        return false;
    addAccount(email, password);
    return true;
}

std::string IdentityService::addAccount(const std::string &email, const std::string &password) {
    const std::string address = lowerCase(email);
    if (!validEmail(address))
        refuse("INVALID_EMAIL");
    Json account = accounts_.byEmail(address).value_or(Json::object());
    if (account.empty()) {
        const auto now = nowMilliseconds();
        account = {{"localId", Crypto::randomToken(28)},
                   {"email", address},
                   {"emailVerified", false},
                   {"disabled", false},
                   {"createdAt", now},
                   {"lastLoginAt", now},
                   {"provider", "password"}};
    }
    setPassword(account, password);
    accounts_.save(account);
    return account.at("localId").get<std::string>();
}

Json IdentityService::signUp(const Json &body) {
    const auto email = text(body, "email");
    const auto password = text(body, "password");
    const bool secure = flag(body, "returnSecureToken");
    const auto now = nowMilliseconds();
    Json account = {{"localId", Crypto::randomToken(28)},
                    {"emailVerified", false},
                    {"disabled", false},
                    {"createdAt", now},
                    {"lastLoginAt", now},
                    {"generation", 0}};
    if (!email && !password) {
        if (!options_.anonymousSignIn)
            refuse("OPERATION_NOT_ALLOWED");
        account["provider"] = "anonymous";
    } else {
        if (!email)
            refuse("MISSING_EMAIL");
        if (!password)
            refuse("MISSING_PASSWORD");
        const std::string address = lowerCase(*email);
        if (!validEmail(address))
            refuse("INVALID_EMAIL");
        account["email"] = address;
        account["provider"] = "password";
        setPassword(account, *password);
    }
    if (const auto name = text(body, "displayName"))
        account["displayName"] = *name;
    if (!accounts_.save(account))
        refuse("EMAIL_EXISTS");
    Json answer = {{"kind", "identitytoolkit#SignupNewUserResponse"}};
    if (account.contains("email"))
        answer["email"] = account.at("email");
    addTokens(answer, account, secure);
    answer["localId"] = account.at("localId");
    return answer;
}

Json IdentityService::verifyPassword(const Json &body) {
    const auto email = text(body, "email");
    const auto password = text(body, "password");
    const bool secure = flag(body, "returnSecureToken");
    if (!email || !validEmail(lowerCase(*email)))
        refuse("INVALID_EMAIL");
    if (!password || password->empty())
        refuse("MISSING_PASSWORD");
    auto account = accounts_.byEmail(lowerCase(*email));
    if (!account)
        refuse("EMAIL_NOT_FOUND");
    if (!PasswordHasher::matches(*password, account->value("passwordHash", "")))
        refuse("INVALID_PASSWORD");
    if (account->value("disabled", false))
        refuse("USER_DISABLED");
    (*account)["lastLoginAt"] = nowMilliseconds();
    accounts_.save(*account);
    Json answer = {{"kind", "identitytoolkit#VerifyPasswordResponse"},
                   {"localId", account->at("localId")},
                   {"email", account->at("email")},
                   {"displayName", account->value("displayName", "")}};
    addTokens(answer, *account, secure);
    answer["registered"] = true;
    return answer;
}

Json IdentityService::createAuthUri(const Json &body) {
    const auto identifier = text(body, "identifier");
    if (!identifier || identifier->empty())
        refuse("MISSING_IDENTIFIER");
    if (!validEmail(lowerCase(*identifier)))
        refuse("INVALID_IDENTIFIER");
    const auto account = accounts_.byEmail(lowerCase(*identifier));
    Json answer = {{"kind", "identitytoolkit#CreateAuthUriResponse"}};
    if (account) {
        const bool hasPassword = account->contains("passwordHash");
        answer["allProviders"] = hasPassword ? Json::array({"password"}) : Json::array();
        answer["registered"] = true;
        answer["signinMethods"] = answer["allProviders"];
    } else {
        answer["registered"] = false;
    }
    answer["sessionId"] = Crypto::randomToken(27);
    return answer;
}

Json IdentityService::getOobConfirmationCode(const Json &body, bool asOwner) {
    const auto requestType = text(body, "requestType");
    if (!requestType)
        refuse("MISSING_REQ_TYPE");
    std::string email;
    if (*requestType == "PASSWORD_RESET") {
        const auto given = text(body, "email");
        if (!given || !validEmail(lowerCase(*given)))
            refuse("INVALID_EMAIL");
        if (!accounts_.byEmail(lowerCase(*given)))
            refuse("EMAIL_NOT_FOUND");
        email = lowerCase(*given);
    } else if (*requestType == "VERIFY_EMAIL") {
        const Json account = accountFor(body, asOwner);
        if (!account.contains("email"))
            refuse("INVALID_EMAIL");
        email = account.at("email").get<std::string>();
    } else {
        refuse("INVALID_REQ_TYPE : Unsupported request type");
    }
    const std::string code = Crypto::randomToken(32);
    {
        std::lock_guard lock(oobMutex_);
        oobCodes_[code] = {email, *requestType, nowSeconds() + options_.oobCodeLifetimeSeconds};
    }
    // Nothing is mailed, and the code is never logged: only the owner's listing shows it.
    std::cerr << "tunewell-cloud: " << *requestType << " code made for " << email << std::endl;
    return {{"kind", "identitytoolkit#GetOobConfirmationCodeResponse"}, {"email", email}};
}

Json IdentityService::resetPassword(const Json &body) {
    const auto code = text(body, "oobCode");
    if (!code || code->empty())
        refuse("MISSING_OOB_CODE");
    OobCode found;
    {
        std::lock_guard lock(oobMutex_);
        const auto entry = oobCodes_.find(*code);
        if (entry == oobCodes_.end() || entry->second.requestType != "PASSWORD_RESET")
            refuse("INVALID_OOB_CODE");
        found = entry->second;
    }
    if (nowSeconds() >= found.expiresAt)
        refuse("EXPIRED_OOB_CODE");
    auto account = accounts_.byEmail(found.email);
    if (!account)
        refuse("INVALID_OOB_CODE");
    if (account->value("disabled", false))
        refuse("USER_DISABLED");
    if (const auto newPassword = text(body, "newPassword")) {
        setPassword(*account, *newPassword);
        accounts_.save(*account);
        std::lock_guard lock(oobMutex_);
        oobCodes_.erase(*code);
    }
    return {{"kind", "identitytoolkit#ResetPasswordResponse"},
            {"email", found.email},
            {"requestType", "PASSWORD_RESET"}};
}

Json IdentityService::accountFor(const Json &body, bool asOwner) const {
    if (asOwner && body.contains("localId")) {
        const auto localId = body.at("localId").is_array() && !body.at("localId").empty()
                                 ? body.at("localId").at(0)
                                 : body.at("localId");
        if (!localId.is_string())
            refuse("INVALID_ARGUMENT");
        auto account = accounts_.byId(localId.get<std::string>());
        if (!account)
            refuse("USER_NOT_FOUND");
        return *account;
    }
    const auto token = text(body, "idToken");
    if (!token || token->empty())
        refuse("MISSING_ID_TOKEN");
    const auto checked = signer_.check(*token, nowSeconds());
    if (checked.outcome == TokenSigner::Outcome::Unreadable || checked.claims.value("typ", "") == "refresh" ||
        !checked.claims.contains("user_id") || !checked.claims.at("user_id").is_string())
        refuse("INVALID_ID_TOKEN");
    if (checked.outcome == TokenSigner::Outcome::Expired)
        refuse("TOKEN_EXPIRED");
    auto account = accounts_.byId(checked.claims.at("user_id").get<std::string>());
    if (!account)
        refuse("USER_NOT_FOUND");
    if (account->value("disabled", false))
        refuse("USER_DISABLED");
    return *account;
}

Json IdentityService::userInfo(const Json &account) const {
    Json user = {{"localId", account.at("localId")}};
    Json providers = Json::array();
    if (account.contains("email")) {
        user["email"] = account.at("email");
        if (account.contains("passwordHash")) {
            Json provider = {{"providerId", "password"},
                             {"federatedId", account.at("email")},
                             {"email", account.at("email")},
                             {"rawId", account.at("email")}};
            if (account.contains("displayName"))
                provider["displayName"] = account.at("displayName");
            if (account.contains("photoUrl"))
                provider["photoUrl"] = account.at("photoUrl");
            providers.push_back(provider);
        }
    }
    user["emailVerified"] = account.value("emailVerified", false);
    for (const char *member : {"displayName", "photoUrl"})
        if (account.contains(member))
            user[member] = account.at(member);
    user["providerUserInfo"] = providers;
    if (account.contains("passwordHash")) {
        user["passwordHash"] = kRedacted;
        user["passwordUpdatedAt"] = account.value("passwordUpdatedAt", std::int64_t{0});
    }
    user["validSince"] =
        std::to_string(account.value("validSince", account.value("createdAt", std::int64_t{0}) / 1000));
    user["disabled"] = account.value("disabled", false);
    user["lastLoginAt"] = std::to_string(account.value("lastLoginAt", std::int64_t{0}));
    user["createdAt"] = std::to_string(account.value("createdAt", std::int64_t{0}));
    return user;
}

Json IdentityService::setAccountInfo(const Json &body, bool asOwner) {
    if (!body.contains("idToken") && !(asOwner && body.contains("localId")) && body.contains("oobCode")) {
        // Confirms an e-mail address with a VERIFY_EMAIL code.
        const auto code = text(body, "oobCode").value_or("");
        OobCode found;
        {
            std::lock_guard lock(oobMutex_);
            const auto entry = oobCodes_.find(code);
            if (entry == oobCodes_.end() || entry->second.requestType != "VERIFY_EMAIL")
                refuse("INVALID_OOB_CODE");
            found = entry->second;
            if (nowSeconds() >= found.expiresAt)
                refuse("EXPIRED_OOB_CODE");
            oobCodes_.erase(entry);
        }
        auto account = accounts_.byEmail(found.email);
        if (!account)
            refuse("INVALID_OOB_CODE");
        (*account)["emailVerified"] = true;
        accounts_.save(*account);
        return {{"kind", "identitytoolkit#SetAccountInfoResponse"},
                {"localId", account->at("localId")},
                {"email", found.email},
                {"emailVerified", true}};
    }
    Json account = accountFor(body, asOwner);
    const bool secure = flag(body, "returnSecureToken");
    if (const auto email = text(body, "email")) {
        const auto address = lowerCase(*email);
        if (!validEmail(address))
            refuse("INVALID_EMAIL");
        account["email"] = address;
        account["emailVerified"] = false;
    }
    if (const auto password = text(body, "password")) {
        setPassword(account, *password);
        account["provider"] = "password";
    }
    if (const auto name = text(body, "displayName"))
        account["displayName"] = *name;
    if (const auto photo = text(body, "photoUrl"))
        account["photoUrl"] = *photo;
    if (body.contains("deleteAttribute") && body.at("deleteAttribute").is_array()) {
        for (const auto &attribute : body.at("deleteAttribute")) {
            if (attribute == "DISPLAY_NAME")
                account.erase("displayName");
            else if (attribute == "PHOTO_URL")
                account.erase("photoUrl");
        }
    }
    if (asOwner && body.contains("disableUser")) {
        account["disabled"] = flag(body, "disableUser");
        account["generation"] = account.value("generation", 0) + 1;
    }
    if (asOwner && body.contains("emailVerified"))
        account["emailVerified"] = flag(body, "emailVerified");
    if (account.contains("passwordHash") && !account.contains("email"))
        refuse("MISSING_EMAIL");
    if (!accounts_.save(account))
        refuse("EMAIL_EXISTS");
    Json answer = {{"kind", "identitytoolkit#SetAccountInfoResponse"}, {"localId", account.at("localId")}};
    const Json info = userInfo(account);
    for (const char *member :
         {"email", "displayName", "photoUrl", "passwordHash", "providerUserInfo", "emailVerified"})
        if (info.contains(member))
            answer[member] = info.at(member);
    if (secure)
        addTokens(answer, account, true);
    return answer;
}

Json IdentityService::deleteAccount(const Json &body, bool asOwner) {
    const Json account = accountFor(body, asOwner);
    accounts_.erase(account.at("localId").get<std::string>());
    return {{"kind", "identitytoolkit#DeleteAccountResponse"}};
}

Json IdentityService::getAccountInfo(const Json &body, bool asOwner) {
    const Json account = accountFor(body, asOwner);
    return {{"kind", "identitytoolkit#GetAccountInfoResponse"}, {"users", Json::array({userInfo(account)})}};
}

Json IdentityService::refresh(const std::string &grantType, const std::string &token) {
    if (grantType.empty())
        refuse("MISSING_GRANT_TYPE");
    if (grantType != "refresh_token")
        refuse("INVALID_GRANT_TYPE");
    if (token.empty())
        refuse("MISSING_REFRESH_TOKEN");
    const auto checked = signer_.check(token, nowSeconds());
    if (checked.outcome != TokenSigner::Outcome::Valid || checked.claims.value("typ", "") != "refresh" ||
        !checked.claims.contains("uid") || !checked.claims.at("uid").is_string())
        refuse("INVALID_REFRESH_TOKEN");
    const auto account = accounts_.byId(checked.claims.at("uid").get<std::string>());
    if (!account)
        refuse("USER_NOT_FOUND");
    if (account->value("disabled", false))
        refuse("USER_DISABLED");
    if (checked.claims.value("gen", -1) != account->value("generation", 0))
        refuse("TOKEN_EXPIRED");
    const std::string newIdToken = idToken(*account);
    return {{"access_token", newIdToken},      {"expires_in", std::to_string(options_.tokenLifetimeSeconds)},
            {"token_type", "Bearer"},          {"refresh_token", token},
            {"id_token", newIdToken},          {"user_id", account->at("localId")},
            {"project_id", options_.projectId}};
}

Json IdentityService::oobCodes() const {
    Json codes = Json::array();
    std::lock_guard lock(oobMutex_);
    for (const auto &[code, entry] : oobCodes_)
        codes.push_back({{"email", entry.email},
                         {"oobCode", code},
                         {"requestType", entry.requestType},
                         {"oobLink", "http://127.0.0.1/emulator/action?mode=resetPassword&oobCode=" + code}});
    return {{"oobCodes", codes}};
}

} // namespace TunewellCloud
