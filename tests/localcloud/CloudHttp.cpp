#include "CloudHttp.h"

#include <Tunewell/BuildValues.h>

nlohmann::json Answer::json() const {
    return nlohmann::json::parse(body);
}

CloudHttp::CloudHttp(const TunewellTesting::LocalCloud &cloud)
    : cloud_(cloud), token_(cloud.serviceToken()) {}

Answer CloudHttp::raw(const std::string &baseUrl, const std::string &method, const std::string &target,
                      const std::string &body, const std::string &contentType) const {
    httplib::Client client(baseUrl);
    if (baseUrl.starts_with("https:"))
        client.set_ca_cert_path(cloud_.caFile().c_str());
    client.set_read_timeout(30);
    client.set_tcp_nodelay(true);
    // Targets are sent exactly as the tests write them.
    client.set_url_encode(false);
    httplib::Request request;
    request.method = method;
    request.path = target;
    if (method != "GET" && method != "DELETE") {
        request.body = body;
        request.set_header("Content-Type", contentType);
    }
    const auto result = client.send(request);
    if (!result)
        return {};
    return {result->status, result->body};
}

Answer CloudHttp::database(const std::string &method, const std::string &target,
                           const std::string &body) const {
    return raw(cloud_.databaseUrl(), method, target, body, "application/json");
}

Answer CloudHttp::identity(const std::string &verb, const nlohmann::json &body,
                           const std::string &apiKey) const {
    return raw(cloud_.authUrl(), "POST",
               "/www.googleapis.com/identitytoolkit/v3/relyingparty/" + verb + "?key=" + apiKey, body.dump(),
               "application/json");
}

Answer CloudHttp::identity(const std::string &verb, const nlohmann::json &body) const {
    return identity(verb, body, Tunewell::BuildValues::kApiKey);
}

Answer CloudHttp::token(const std::string &body, const std::string &contentType) const {
    return raw(cloud_.authUrl(), "POST",
               std::string("/securetoken.googleapis.com/v1/token?key=") + Tunewell::BuildValues::kApiKey,
               body, contentType);
}

std::string CloudHttp::node(const std::string &path, const std::string &extraQuery) const {
    return path + ".json?auth=" + token_ + extraQuery;
}
