#pragma once

#include "LocalCloud.h"

#include <httplib.h>
#include <nlohmann/json.hpp>
#include <string>

// A plain HTTP client for the local cloud's protocol tests.
struct Answer {
    int status = 0;
    std::string body;
    nlohmann::json json() const;
};

class CloudHttp {
public:
    explicit CloudHttp(const TunewellTesting::LocalCloud &cloud);

    // target: the request target after the host, e.g. "/a.json?auth=..."
    Answer database(const std::string &method, const std::string &target, const std::string &body = "") const;
    // target after the identity base, e.g. "verifyPassword?key=..."
    Answer identity(const std::string &verb, const nlohmann::json &body, const std::string &apiKey) const;
    Answer identity(const std::string &verb, const nlohmann::json &body) const;
    Answer token(const std::string &body, const std::string &contentType) const;
    Answer raw(const std::string &baseUrl, const std::string &method, const std::string &target,
               const std::string &body, const std::string &contentType) const;

    // "/path.json?auth=TOKEN" for the service account's fresh token.
    std::string node(const std::string &path, const std::string &extraQuery = "") const;
    const std::string &token() const { return token_; }

private:
    const TunewellTesting::LocalCloud &cloud_;
    std::string token_;
};
