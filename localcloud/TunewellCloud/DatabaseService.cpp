#include "TunewellCloud/DatabaseService.h"

#include "TunewellCloud/Clock.h"
#include "TunewellCloud/Database.h"
#include "TunewellCloud/HttpReplies.h"
#include "TunewellCloud/RequestError.h"
#include "TunewellCloud/RuleCheck.h"
#include "TunewellCloud/TokenSigner.h"
#include "TunewellCloud/UrlCoding.h"

#include <algorithm>
#include <chrono>
#include <iostream>

namespace TunewellCloud {

namespace {

bool wantsEventStream(const httplib::Request &request) {
    return request.get_header_value("Accept").find("text/event-stream") != std::string::npos;
}

std::string rawPath(const httplib::Request &request) {
    return request.target.substr(0, request.target.find('?'));
}

// What rules see of a signed-in caller, as the service gives it.
Json authOf(const Json &claims) {
    Json provider = "";
    if (const auto firebase = claims.find("firebase"); firebase != claims.end() && firebase->is_object())
        provider = firebase->value("sign_in_provider", "");
    return {{"uid", claims.value("sub", "")}, {"provider", provider}, {"token", claims}};
}

} // namespace

DatabaseService::DatabaseService(Database &database, const TokenSigner &signer, const CloudOptions &options,
                                 const SecurityRules &rules)
    : database_(database), signer_(signer), options_(options), rules_(rules), owner_(options.ownerAccess),
      limits_(
          options.bodyLimitBytes, [limit = options.bodyLimitBytes](httplib::Response &response, int status) {
              if (status == 413)
                  HttpReplies::databaseError(response, 400,
                                             "Invalid data; the request body is larger than the limit of " +
                                                 std::to_string(limit) + " bytes.");
              else
                  HttpReplies::databaseError(response, status, status == 404 ? "Not Found" : "Bad request");
          }) {}

void DatabaseService::install(httplib::Server &server) {
    auto handler = [this](const httplib::Request &request, httplib::Response &response) {
        handle(request, request.body, response);
    };
    // Bodies are read through content readers, counted (RequestLimits); and the server library
    // would also refuse a body labelled as a form once it passes 8 KiB, while the service reads
    // every body as JSON whatever its label.
    auto writeHandler = [this](const httplib::Request &request, httplib::Response &response,
                               const httplib::ContentReader &reader) {
        if (const auto body = limits_.read(reader, response))
            handle(request, *body, response);
    };
    server.Get(".*", handler);
    server.Put(".*", writeHandler);
    server.Post(".*", writeHandler);
    server.Patch(".*", writeHandler);
    server.Delete(".*", writeHandler);
    server.set_payload_max_length(options_.bodyLimitBytes);
    server.set_error_handler([this](const httplib::Request &, httplib::Response &response) {
        if (HttpReplies::closesAfter(response))
            return;
        if (response.status == 413) {
            HttpReplies::databaseError(response, 400,
                                       "Invalid data; the request body is larger than the limit of " +
                                           std::to_string(options_.bodyLimitBytes) + " bytes.");
        } else if (response.body.empty()) {
            HttpReplies::databaseError(response, response.status, "Bad request");
        }
    });
}

DatabaseService::Caller DatabaseService::identify(const httplib::Request &request,
                                                  const std::map<std::string, std::string> &query) const {
    switch (owner_.claim(request)) {
    case OwnerAccess::Claim::Owner:
        return {true, nullptr, std::nullopt};
    case OwnerAccess::Claim::Refused:
        throw RequestError(401, "Could not parse auth token.");
    case OwnerAccess::Claim::None:
        break;
    }
    const auto token = query.find("auth");
    if (token == query.end() || token->second.empty())
        return {};
    const auto checked = signer_.check(token->second, nowSeconds());
    const bool idToken = checked.claims.is_object() && checked.claims.value("typ", "") != "refresh" &&
                         checked.claims.value("aud", "") == options_.projectId;
    if (checked.outcome == TokenSigner::Outcome::Unreadable || !idToken)
        throw RequestError(401, "Could not parse auth token.");
    if (checked.outcome == TokenSigner::Outcome::Expired)
        throw RequestError(401, "Auth token is expired");
    return {false, authOf(checked.claims), checked.claims.value("exp", std::int64_t{0})};
}

void DatabaseService::handle(const httplib::Request &request, const std::string &body,
                             httplib::Response &response) {
    try {
        const auto query = UrlCoding::queryOf(request.target);
        if (!query)
            throw RequestError(400, "Invalid query: broken escape.");
        bool silent = false;
        for (const auto &[name, value] : *query) {
            if (name == "print" && value == "silent")
                silent = true;
            else if (name != "auth" && name != "ns" && !(name == "print" && value == "pretty"))
                throw RequestError(400, "Unsupported query parameter: " + name + "=" + value);
        }
        const NodePath path = WriteRules::parseRequestPath(rawPath(request));
        const Caller caller = identify(request, *query);
        const RuleCheck rules(rules_, caller.auth, nowMilliseconds());
        const AccessCheck *check = caller.administrator ? nullptr : &rules;
        const auto &method = request.method;
        if (method == "GET" && wantsEventStream(request)) {
            // Kept while the stream is open and asked again at each change, at that change's time.
            stream(path, caller.tokenExpiry,
                   caller.administrator ? nullptr : std::make_shared<const RuleCheck>(rules_, caller.auth),
                   response);
            return;
        }
        std::string answer;
        if (method == "GET") {
            answer = database_.read(path, check);
        } else if (method == "DELETE") {
            answer = database_.remove(path, check);
        } else {
            Json value = WriteRules::parseBody(body, path.size());
            if (method == "PUT")
                answer = database_.put(path, std::move(value), check);
            else if (method == "PATCH")
                answer = database_.patch(path, std::move(value), check);
            else
                answer = database_.post(path, std::move(value), check);
        }
        if (silent) {
            response.status = 204;
            return;
        }
        HttpReplies::json(response, 200, answer);
    } catch (const RequestError &error) {
        HttpReplies::databaseError(response, error.status(), error.what());
    } catch (const StorageError &error) {
        std::cerr << "tunewell-cloud: " << error.what() << '\n';
        HttpReplies::databaseError(response, 500, "Internal error: the write could not be stored.");
    }
}

void DatabaseService::stream(const NodePath &path, std::optional<std::int64_t> tokenExpiry,
                             std::shared_ptr<const AccessCheck> check, httplib::Response &response) {
    using namespace std::chrono;
    // Each open stream holds a thread; most are kept for reads and writes, and the streams' queues
    // (a MiB each at most, Database::Figures) stay within a bound.
    if (++*openStreams_ > std::clamp(options_.threads - 16, 1, 128)) {
        --*openStreams_;
        throw RequestError(503, "Too many open event streams; try again later.");
    }
    std::shared_ptr<EventListener> listener;
    try {
        listener = database_.listen(path, std::move(check));
    } catch (...) {
        --*openStreams_;
        throw;
    }
    const auto keepAlive = seconds(options_.keepAliveSeconds);
    const auto expiresAt = tokenExpiry
                               ? steady_clock::now() + milliseconds(*tokenExpiry * 1000 - nowMilliseconds())
                               : steady_clock::time_point::max();
    response.set_header("Cache-Control", "no-cache");
    response.set_chunked_content_provider(
        "text/event-stream",
        [listener, keepAlive, expiresAt](std::size_t, httplib::DataSink &sink) {
            std::vector<EventListener::Event> events;
            const auto deadline = std::min(steady_clock::now() + keepAlive, expiresAt);
            switch (listener->waitForEvents(events, deadline)) {
            case EventListener::Wake::Events:
                for (const auto &event : events)
                    if (!sink.write(event->data(), event->size()))
                        return false;
                return true;
            case EventListener::Wake::Timeout:
                if (steady_clock::now() >= expiresAt) {
                    const std::string revoked =
                        "event: auth_revoked\ndata: \"credential is no longer valid\"\n\n";
                    sink.write(revoked.data(), revoked.size());
                    sink.done();
                    return true;
                } else {
                    const std::string alive = "event: keep-alive\ndata: null\n\n";
                    return sink.write(alive.data(), alive.size());
                }
            case EventListener::Wake::Closed:
                sink.done();
                return true;
            }
            return false;
        },
        [this, listener, streams = openStreams_](bool) {
            database_.forget(listener);
            --*streams;
        });
}

} // namespace TunewellCloud
