#include "LocalCloud.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

using TunewellTesting::LocalCloud;

namespace {

// A JSON answer goes gzip-compressed to a client that asks for it, as the real database does;
// a short answer, a client that does not ask, and the event stream get it as it is.
TEST(CompressedAnswers, JsonAnswersAreCompressedWhenAsked) {
    LocalCloud cloud;
    nlohmann::json catalogue = nlohmann::json::object();
    for (int i = 0; i < 200; ++i)
        catalogue["-Station" + std::to_string(i)] = {{"nome", "Rádio " + std::to_string(i)},
                                                     {"estilo", "Variedades"}};
    cloud.seed("ESTACOES", catalogue);
    cloud.seed("VERSOES", {{"versao", "2.2"}});
    const std::string auth = "?auth=" + cloud.serviceToken();
    httplib::Client plain(cloud.databaseUrl());
    const std::string whole = plain.Get("/ESTACOES.json" + auth)->body;

    const struct {
        const char *Name;
        std::string Target;
        httplib::Headers Headers;
        bool Compressed;
    } cases[] = {
        {"catalogue, gzip asked", "/ESTACOES.json" + auth, {{"Accept-Encoding", "deflate, gzip, br"}}, true},
        {"catalogue, nothing asked", "/ESTACOES.json" + auth, {}, false},
        {"catalogue, gzip refused",
         "/ESTACOES.json" + auth,
         {{"Accept-Encoding", "gzip;q=0, identity"}},
         false},
        {"short answer", "/VERSOES.json" + auth, {{"Accept-Encoding", "gzip"}}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        httplib::Client wire(cloud.databaseUrl());
        wire.set_decompress(false);
        const auto raw = wire.Get(c.Target, c.Headers);
        ASSERT_TRUE(raw);
        EXPECT_EQ(raw->status, 200);
        EXPECT_EQ(raw->get_header_value("Content-Encoding"), c.Compressed ? "gzip" : "");
        EXPECT_EQ(raw->get_header_value("Content-Length"), std::to_string(raw->body.size()));
        if (c.Compressed) {
            EXPECT_LT(raw->body.size(), whole.size() / 4);
        }

        httplib::Client decoding(cloud.databaseUrl());
        const auto decoded = decoding.Get(c.Target, c.Headers);
        ASSERT_TRUE(decoded);
        if (c.Target.starts_with("/ESTACOES")) {
            EXPECT_EQ(decoded->body, whole);
        }
    }

    // The stream's events must arrive one by one.
    httplib::Client stream(cloud.databaseUrl());
    std::string encoding = "(no answer)";
    stream.Get(
        "/ESTACOES.json" + auth, {{"Accept", "text/event-stream"}, {"Accept-Encoding", "gzip"}},
        [&](const httplib::Response &Response) {
            encoding = Response.get_header_value("Content-Encoding");
            return true;
        },
        [](const char *, std::size_t) { return false; });
    EXPECT_EQ(encoding, "");
}

} // namespace
