#include "LocalCloud.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <httplib.h>
#include <mutex>
#include <thread>

using Clock = std::chrono::steady_clock;
using TunewellTesting::LocalCloud;

namespace {

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::unique_ptr<httplib::Client> client(const LocalCloud &cloud) {
    auto http = std::make_unique<httplib::Client>(cloud.databaseUrl());
    http->set_keep_alive(true);
    http->set_tcp_nodelay(true);
    http->set_read_timeout(120);
    return http;
}

int writes(const LocalCloud &cloud, const std::string &token, const std::string &prefix, int count) {
    auto http = client(cloud);
    int acknowledged = 0;
    for (int i = 0; i < count; ++i) {
        const auto answer =
            http->Put("/bench/" + prefix + std::to_string(i) + ".json?auth=" + token,
                      R"({"nome":"Station","url":"http://example.org/stream"})", "application/json");
        acknowledged += answer && answer->status == 200;
    }
    return acknowledged;
}

void sequentialWrites(const LocalCloud &cloud, const std::string &token) {
    constexpr int kCount = 1000;
    const auto start = Clock::now();
    const int done = writes(cloud, token, "s", kCount);
    std::printf("durable sequential writes, 1 client:   %8.0f writes/s (%d writes)\n",
                done / secondsSince(start), done);
}

void concurrentWrites(const LocalCloud &cloud, const std::string &token) {
    constexpr int kClients = 8;
    constexpr int kEach = 250;
    std::atomic<int> done = 0;
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int c = 0; c < kClients; ++c)
        threads.emplace_back([&, c] { done += writes(cloud, token, "c" + std::to_string(c) + "-", kEach); });
    for (auto &thread : threads)
        thread.join();
    std::printf("durable writes, 8 concurrent clients:  %8.0f writes/s (%d writes)\n",
                done / secondsSince(start), done.load());
}

void catalogueRead(const LocalCloud &cloud, const std::string &token) {
    constexpr int kStations = 50000;
    nlohmann::json catalogue = nlohmann::json::object();
    for (int i = 0; i < kStations; ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "-Station%012d", i);
        catalogue[key] = {{"num", std::to_string(i + 1)},
                          {"url", "http://stream.example.org/radio/" + std::to_string(i)},
                          {"nome", "Rádio Exemplo " + std::to_string(i)},
                          {"estilo", "Variedades"},
                          {"localizacao", "São Paulo - SP"},
                          {"qualidade", "128k"},
                          {"favorito", "0"},
                          {"serie", std::to_string(i + 1)}};
    }
    auto http = client(cloud);
    const auto put =
        http->Put("/ESTACOES.json?auth=" + token + "&print=silent", catalogue.dump(), "application/json");
    if (!put || put->status != 204) {
        std::printf("catalogue: seeding failed\n");
        return;
    }
    constexpr int kReads = 5;
    std::size_t bytes = 0;
    const auto start = Clock::now();
    for (int i = 0; i < kReads; ++i) {
        const auto answer = http->Get("/ESTACOES.json?auth=" + token);
        bytes = answer ? answer->body.size() : 0;
    }
    std::printf("GET of a 50,000-station catalogue:     %8.1f ms (%.1f MB)\n",
                secondsSince(start) * 1000 / kReads, static_cast<double>(bytes) / 1e6);
}

void eventDelivery(const LocalCloud &cloud, const std::string &token) {
    constexpr int kListeners = 100;
    constexpr int kChanges = 500;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> received(kListeners, 0);
    std::vector<std::unique_ptr<httplib::Client>> clients;
    std::vector<std::thread> threads;
    for (int l = 0; l < kListeners; ++l) {
        clients.push_back(client(cloud));
        threads.emplace_back([&, l] {
            std::string pending;
            clients[l]->Get("/events.json?auth=" + token, {{"Accept", "text/event-stream"}},
                            [&](const char *data, std::size_t length) {
                                pending.append(data, length);
                                int complete = 0;
                                for (auto end = pending.find("\n\n"); end != std::string::npos;
                                     end = pending.find("\n\n")) {
                                    if (pending.compare(0, 10, "event: put") == 0)
                                        ++complete;
                                    pending.erase(0, end + 2);
                                }
                                std::lock_guard lock(mutex);
                                received[l] += complete;
                                changed.notify_all();
                                return true;
                            });
        });
    }
    const auto allAt = [&](int count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(120), [&] {
            return std::all_of(received.begin(), received.end(), [&](int n) { return n >= count; });
        });
    };
    allAt(1); // the first put of every stream
    auto http = client(cloud);
    const auto start = Clock::now();
    for (int i = 0; i < kChanges; ++i)
        http->Put("/events/v.json?auth=" + token + "&print=silent", std::to_string(i), "application/json");
    const bool complete = allAt(1 + kChanges);
    const double elapsed = secondsSince(start);
    int lowest = kChanges;
    {
        std::lock_guard lock(mutex);
        for (const int n : received)
            lowest = std::min(lowest, n - 1);
    }
    std::printf("events delivered to 100 listeners:     %8.0f events/s (%d changes each, %s)\n",
                kListeners * kChanges / elapsed, kChanges,
                complete && lowest == kChanges ? "none lost" : "SOME LOST");
    for (auto &c : clients)
        c->stop();
    for (auto &thread : threads)
        thread.join();
}

} // namespace

int main() {
    LocalCloud cloud;
    const std::string token = cloud.serviceToken();
    sequentialWrites(cloud, token);
    concurrentWrites(cloud, token);
    catalogueRead(cloud, token);
    eventDelivery(cloud, token);
    return 0;
}
