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

// Only lower bounds: the latency is a wait the cloud adds, the machine may add more.
TEST(NetworkDistance, AnswersWaitTheLatencyAndANewConnectionOnceMore) {
    LocalCloudOptions options;
    options.extraArguments = {"--latency", "150"};
    LocalCloud cloud(options);
    CloudHttp http(cloud);
    auto client = KeptAliveClient(cloud);
    const auto start = Clock::now();
    ASSERT_EQ(client.Get(http.node("ESTACOES"))->status, 200);
    const auto firstAnswered = Clock::now();
    ASSERT_EQ(client.Get(http.node("ESTACOES"))->status, 200);
    const auto secondAnswered = Clock::now();
    EXPECT_GE(firstAnswered - start, 300ms);
    EXPECT_GE(secondAnswered - firstAnswered, 150ms);
    EXPECT_EQ(cloud.connectionsAccepted().database, 1u);
}

} // namespace
