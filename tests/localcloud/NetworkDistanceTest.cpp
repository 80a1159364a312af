// The local cloud's count of accepted connections and its simulated latency.

#include "CloudHttp.h"

#include <chrono>
#include <gtest/gtest.h>

using TunewellTesting::LocalCloud;
using TunewellTesting::LocalCloudOptions;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

httplib::Client KeptAliveClient(const LocalCloud &cloud) {
    httplib::Client client(cloud.databaseUrl());
    if (cloud.databaseUrl().starts_with("https:"))
        client.set_ca_cert_path(cloud.caFile().c_str());
    client.set_keep_alive(true);
    return client;
}

TEST(NetworkDistance, CountsTheConnectionsEachPortAccepted) {
    LocalCloud cloud;
    CloudHttp http(cloud); // signs in: one identity connection
    const auto before = cloud.connectionsAccepted();
    auto first = KeptAliveClient(cloud);
    for (int request = 0; request < 3; ++request)
        ASSERT_EQ(first.Get(http.node("ESTACOES"))->status, 200);
    auto second = KeptAliveClient(cloud);
    ASSERT_EQ(second.Get(http.node("ESTACOES"))->status, 200);
    const auto after = cloud.connectionsAccepted();
    EXPECT_EQ(after.database - before.database, 2u);
    EXPECT_EQ(after.identity - before.identity, 1u); // the second question
}

// Only lower bounds: the latency is a wait the cloud adds, the machine may add more. A request
// sent at once on a new connection waits for the handshakes' round trips (TCP's, and over TLS 1.3
// one more) and its answer's; the next one on the same connection for its answer's alone.
TEST(NetworkDistance, AnswersWaitTheLatencyAndANewConnectionItsHandshakes) {
    struct Case {
        bool tls;
        std::chrono::milliseconds firstAnswer;
    };
    for (const Case &c : {Case{false, 300ms}, Case{true, 450ms}}) {
        LocalCloudOptions options;
        options.tls = c.tls;
        options.extraArguments = {"--latency", "150"};
        LocalCloud cloud(options);
        CloudHttp http(cloud);
        auto client = KeptAliveClient(cloud);
        const auto start = Clock::now();
        ASSERT_EQ(client.Get(http.node("ESTACOES"))->status, 200) << "tls " << c.tls;
        const auto firstAnswered = Clock::now();
        ASSERT_EQ(client.Get(http.node("ESTACOES"))->status, 200) << "tls " << c.tls;
        const auto secondAnswered = Clock::now();
        EXPECT_GE(firstAnswered - start, c.firstAnswer) << "tls " << c.tls;
        EXPECT_GE(secondAnswered - firstAnswered, 150ms) << "tls " << c.tls;
        EXPECT_EQ(cloud.connectionsAccepted().database, 1u) << "tls " << c.tls;
    }
}

} // namespace
