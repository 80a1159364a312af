#include "TunewellCloud/HttpReplies.h"

#include <memory>

namespace TunewellCloud::HttpReplies {

void json(httplib::Response &response, int status, const std::string &text) {
    response.status = status;
    response.set_content(text, "application/json; charset=utf-8");
}

void databaseError(httplib::Response &response, int status, const std::string &message) {
    json(response, status, Json{{"error", message}}.dump());
}

void closeAfter(httplib::Response &response) {
    auto body = std::make_shared<std::string>(std::move(response.body));
    response.body.clear();
    const std::string type = response.get_header_value("Content-Type");
    response.headers.erase("Content-Type");
    response.set_header("Connection", "close");
    // A provider that fails once it has written everything makes the library end the connection.
    response.set_content_provider(body->size(), type,
                                  [body](std::size_t offset, std::size_t length, httplib::DataSink &sink) {
                                      sink.write(body->data() + offset, length);
                                      return false;
                                  });
}

bool closesAfter(const httplib::Response &response) {
    return response.get_header_value("Connection") == "close";
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
