#include "Cumulo/Exceptions.h"
#include "Cumulo/HttpClient.h"
#include "Tunewell/Test/RawPeer.h"
#include "Tunewell/Test/ScriptedPeer.h"

#include <atomic>
#include <cctype>
#include <future>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

using namespace Cumulo;
using namespace Tunewell::Test;
using namespace std::chrono_literals;

namespace {

TEST(HttpTransport, SendsEachMethodWithItsBodyAndHeaders) {
    struct {
        TRESTRequestMethod Method;
        const char *Verb;
        bool CarriesBody;
    } const cases[] = {{rmGET, "GET", false},
                       {rmDELETE, "DELETE", false},
                       {rmPOST, "POST", true},
                       {rmPUT, "PUT", true},
                       {rmPATCH, "PATCH", true}};
    TScriptedPeer peer;
    for (const auto &c : cases) {
        THttpClient client;
        client.SetCustomHeader("Content-Type", "application/json");
        client.SetCustomHeader("Authorization", "Bearer old");
        client.SetCustomHeader("Authorization", "Bearer new");
        std::istringstream body(R"({"a":1})");
        const auto response = client.Execute(c.Method, peer.BaseURL() + "/x%2Fy.json?auth=T", &body);
        EXPECT_EQ(response->StatusCode, 200);
        const auto request = peer.Requests().back();
        EXPECT_EQ(request.Method, c.Verb);
        EXPECT_EQ(request.Target, "/x%2Fy.json?auth=T");
        EXPECT_EQ(request.Header("Authorization"), "Bearer new");
        EXPECT_EQ(request.Header("Content-Type"), "application/json");
        EXPECT_EQ(request.Body, c.CarriesBody ? R"({"a":1})" : "");
    }
}

// libcurl adds "Expect: 100-continue" to larger bodies and a form content type to bodies it
// finds without one; neither may reach the services, not even as an empty header.
TEST(HttpTransport, AddsNoHeadersOfItsOwn) {
    TRawPeer peer("HTTP/1.1 200 OK\r\nContent-Length: 4\r\nConnection: close\r\n\r\nnull");
    const std::string large(4096, 'x');
    for (const auto method : {rmGET, rmDELETE, rmPOST, rmPUT, rmPATCH}) {
        for (const std::string *body : {static_cast<const std::string *>(nullptr), &large}) {
            SCOPED_TRACE(RequestMethodName(method) + (body ? " with a body" : " without a body"));
            THttpClient client;
            std::istringstream stream(body ? *body : std::string());
            EXPECT_EQ(client.Execute(method, peer.BaseURL() + "/a", body ? &stream : nullptr)->Body, "null");
            std::string head = peer.Heads().back();
            for (char &c : head)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            EXPECT_EQ(head.find("\r\nexpect:"), std::string::npos) << head;
            EXPECT_EQ(head.find("\r\ncontent-type:"), std::string::npos) << head;
        }
    }
}

// Requests on a connection kept from the request before, by what the peer did to it meanwhile.
TEST(HttpTransport, RequestsOnAKeptConnection) {
    const std::string ok = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nnull";
    const std::string created = "HTTP/1.1 200 OK\r\nContent-Length: 14\r\n\r\n{\"name\":\"-N1\"}";
    struct Step {
        TRESTRequestMethod Method;
        std::string Answer; // the body the client hands on, or "fails"
    };
    struct Case {
        const char *Name;
        std::unique_ptr<TRawPeer> Peer;
        std::vector<Step> Steps;
        std::vector<std::string> Sent; // the methods the peer received, in order
    };
    Case cases[] = {
        // Closed after every answer without saying so: each request goes out anew, body and all.
        {"closed after each answer",
         std::make_unique<TRawPeer>(ok),
         {{rmGET, "null"}, {rmPUT, "null"}, {rmGET, "null"}, {rmPATCH, "null"}},
         {"GET", "PUT", "GET", "PATCH"}},
        // libcurl sends a request again when its kept connection dies before any answer byte; a
        // write that replaces may be sent twice, an add never: it goes on a new connection.
        {"a PUT read whole and not answered",
         std::make_unique<TRawPeer>(std::vector{ok, std::string(), ok}),
         {{rmGET, "null"}, {rmPUT, "null"}},
         {"GET", "PUT", "PUT"}},
        {"a POST read whole and not answered",
         std::make_unique<TRawPeer>(std::vector{ok, std::string(), created}),
         {{rmGET, "null"}, {rmPOST, "fails"}},
         {"GET", "POST"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        for (const auto &step : c.Steps) {
            SCOPED_TRACE(RequestMethodName(step.Method));
            THttpClient client;
            std::istringstream body(R"({"a":1})");
            std::string answer;
            try {
                answer = client.Execute(step.Method, c.Peer->BaseURL() + "/a", &body)->Body;
            } catch (const ETransport &) {
                answer = "fails";
            }
            EXPECT_EQ(answer, step.Answer);
        }
        std::vector<std::string> sent;
        for (const auto &head : c.Peer->Heads())
            sent.push_back(head.substr(0, head.find(' ')));
        EXPECT_EQ(sent, c.Sent);
    }
}

// Answers are asked for compressed (the catalogue's JSON shrinks about tenfold) and handed on
// decoded.
TEST(HttpTransport, AsksForCompressedAnswersAndHandsThemOnDecoded) {
    // {"nome":"Rádio"} in the gzip format.
    const std::string compressed(
        "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xab\x56\xca\xcb\xcf\x4d\x55\xb2\x52"
        "\x0a\x3a\xbc\x30\x25\x33\x5f\xa9\x16\x00\x27\x21\xe5\xd1\x11\x00\x00\x00",
        37);
    TRawPeer peer("HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=utf-8\r\nContent-Encoding: "
                  "gzip\r\nContent-Length: 37\r\n\r\n" +
                  compressed);
    for (const auto method : {rmGET, rmPUT}) {
        SCOPED_TRACE(RequestMethodName(method));
        THttpClient client;
        std::istringstream body("{}");
        EXPECT_EQ(client.Execute(method, peer.BaseURL() + "/a", &body)->Body, "{\"nome\":\"Rádio\"}");
        std::string head = peer.Heads().back();
        for (char &c : head)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const auto offered = head.find("\r\naccept-encoding: ");
        ASSERT_NE(offered, std::string::npos) << head;
        EXPECT_NE(head.substr(offered, head.find("\r\n", offered + 2) - offered).find("gzip"),
                  std::string::npos)
            << head;
    }
}

TEST(HttpTransport, AnswerCarriesStatusReasonHeadersAndBody) {
    TScriptedPeer peer;
    peer.Enqueue(
        TScriptedAnswer::Json(418, "{\"error\":\"x\"}").WithHeader("Date", "Sun, 06 Nov 1994 08:49:37 GMT"));
    peer.Enqueue(TScriptedAnswer::Json(404, "null"));
    THttpClient client;
    const auto teapot = client.Get(peer.BaseURL() + "/a");
    EXPECT_EQ(teapot->StatusCode, 418);
    EXPECT_EQ(teapot->StatusText, "I'm a teapot"); // the status line's own phrase
    EXPECT_EQ(teapot->Body, "{\"error\":\"x\"}");
    EXPECT_EQ(teapot->Header("date"), "Sun, 06 Nov 1994 08:49:37 GMT");
    const auto missing = client.Get(peer.BaseURL() + "/b");
    EXPECT_EQ(missing->StatusText, "Not Found");
}

TEST(HttpTransport, BodyIsHandedOnAsUtf8) {
    TScriptedPeer peer;
    auto latin1 = TScriptedAnswer::Json(200, "r\xE1"
                                             "dio");
    latin1.ContentType = "text/plain; charset=ISO-8859-1";
    peer.Enqueue(latin1);
    peer.Enqueue(TScriptedAnswer::Json(200, "r\xC3\xA1"
                                            "dio"));
    THttpClient client;
    EXPECT_EQ(client.Get(peer.BaseURL() + "/latin1")->Body, "rádio");
    EXPECT_EQ(client.Get(peer.BaseURL() + "/utf8")->Body, "rádio");
}

TEST(HttpTransport, FollowsRedirectsOnlyWhenAsked) {
    TScriptedPeer peer;
    peer.SetResponder([&](const TRecordedRequest &Request) {
        if (Request.Path == "/old")
            return TScriptedAnswer::Json(307, "").WithHeader("Location", peer.BaseURL() + "/new");
        return TScriptedAnswer::Json(200, "\"moved\"");
    });
    THttpClient plain;
    EXPECT_EQ(plain.Get(peer.BaseURL() + "/old")->StatusCode, 307);
    THttpClient following;
    following.SetFollowRedirects(true);
    const auto response = following.Get(peer.BaseURL() + "/old");
    EXPECT_EQ(response->StatusCode, 200);
    EXPECT_EQ(response->Body, "\"moved\"");
    EXPECT_EQ(response->URL, peer.BaseURL() + "/new");
}

TEST(HttpTransport, ReceiveNotificationFollowsAStreamAndCanAbortIt) {
    TScriptedPeer peer;
    auto stream = std::make_shared<TStreamedAnswer>();
    peer.Enqueue(TScriptedAnswer::Streamed(stream));
    stream->Send("event: put\n");
    stream->Send("data: 1\n\n");

    THttpClient client(THttpUse::EventStream);
    client.SetCustomHeader("Accept", "text/event-stream");
    std::ostringstream content;
    std::vector<std::int64_t> readCounts;
    client.SetOnReceive([&](const THttpReceiveInfo &Info, bool &Abort) {
        readCounts.push_back(Info.ReadCount);
        EXPECT_EQ(Info.ContentLength, -1);
        EXPECT_EQ(Info.URL, peer.BaseURL() + "/node.json");
        // The bytes are in the content stream before the notification.
        EXPECT_EQ(static_cast<std::int64_t>(content.str().size()), Info.ReadCount);
        if (Info.ReadCount < 19)
            return;
        Abort = true;
    });
    std::thread releaser([&] {
        // Released only once the first arrivals were seen, so the abort comes mid-stream.
        if (stream->WaitUntilStarted(5s))
            stream->Send("event: keep-alive\n");
    });
    const auto response = client.Get(peer.BaseURL() + "/node.json", &content);
    releaser.join();
    EXPECT_EQ(response->StatusCode, 200);
    EXPECT_EQ(content.str().substr(0, 19), "event: put\ndata: 1\n");
    EXPECT_GE(readCounts.back(), 19);
    EXPECT_EQ(peer.Requests().front().Header("Accept"), "text/event-stream");
}

TEST(HttpTransport, AbortEndsASilentStreamFromAnotherThread) {
    TScriptedPeer peer;
    auto stream = std::make_shared<TStreamedAnswer>();
    peer.Enqueue(TScriptedAnswer::Streamed(stream));
    stream->Send("event: keep-alive\ndata: null\n\n");
    THttpClient client(THttpUse::EventStream);
    std::ostringstream content;
    std::promise<void> firstArrival;
    client.SetOnReceive([&](const THttpReceiveInfo &Info, bool &) {
        if (Info.ReadCount > 0 && content.str().size() == static_cast<std::size_t>(Info.ReadCount))
            firstArrival.set_value();
    });
    std::thread stopper([&] {
        // After the first arrival nothing more is sent: only Abort can end this GET before the
        // stall time-out.
        firstArrival.get_future().wait();
        client.Abort();
    });
    const auto response = client.Get(peer.BaseURL() + "/silent.json", &content);
    stopper.join();
    EXPECT_EQ(response->StatusCode, 200);
    EXPECT_EQ(content.str(), "event: keep-alive\ndata: null\n\n");

    // An abort belongs to the transfer it ended.
    client.SetOnReceive(nullptr);
    EXPECT_EQ(client.Get(peer.BaseURL() + "/next")->Body, "null");
}

TEST(HttpTransport, NoAnswerRaisesTransportErrorWithoutTheQuery) {
    const std::string url =
        "http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/a.json?auth=secret";
    THttpClient client;
    try {
        client.Get(url);
        FAIL() << "no error raised";
    } catch (const ETransport &e) {
        EXPECT_EQ(std::string(e.what()).find("secret"), std::string::npos) << e.what();
    }
}

} // namespace
