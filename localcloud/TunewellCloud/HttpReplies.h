#pragma once

#include "TunewellCloud/Json.h"

#include <httplib.h>
#include <string>

namespace TunewellCloud::HttpReplies {

void json(httplib::Response &response, int status, const std::string &text);
// The database's error form: {"error": message}.
void databaseError(httplib::Response &response, int status, const std::string &message);
// Sends the answer as set and then closes the connection, so that nothing the client sends after
// it (the rest of a refused body) is read.
void closeAfter(httplib::Response &response);
bool closesAfter(const httplib::Response &response);
// The identity and token services' error form.
void serviceError(httplib::Response &response, int status, const std::string &message);

} // namespace TunewellCloud::HttpReplies
