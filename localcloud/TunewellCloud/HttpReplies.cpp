#include "TunewellCloud/HttpReplies.h"

namespace TunewellCloud::HttpReplies {

void json(httplib::Response &response, int status, const std::string &text) {
    response.status = status;
    response.set_content(text, "application/json; charset=utf-8");
}

void databaseError(httplib::Response &response, int status, const std::string &message) {
    json(response, status, Json{{"error", message}}.dump());
}

void serviceError(httplib::Response &response, int status, const std::string &message) {
    const Json body = {
        {"error",
         {{"code", status},
          {"message", message},
          {"errors", Json::array({{{"message", message}, {"domain", "global"}, {"reason", "invalid"}}})}}}};
    json(response, status, body.dump());
}

} // namespace TunewellCloud::HttpReplies
