// The local cloud's figures under the program's own security rules, with the program's nodes:
// stations written one by one, the catalogue replaced and read whole, the version followed by
// listeners. Arguments are more `serve` options: "--rules open" gives the figures without rules.
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

nlohmann::json station(int i) {
    return {{"num", std::to_string(i + 1)},
            {"url", "http://stream.example.org/radio/" + std::to_string(i)},
            {"nome", "Rádio Exemplo " + std::to_string(i)},
            {"estilo", "Variedades"},
            {"localizacao", "São Paulo - SP"},
            {"qualidade", "128k"},
            {"favorito", "0"},
            {"serie", std::to_string(i + 1)}};
}

int writes(const LocalCloud &cloud, const std::string &token, const std::string &prefix, int count) {
    auto http = client(cloud);
    int acknowledged = 0;
    for (int i = 0; i < count; ++i) {
        const auto answer = http->Put("/ESTACOES/-Bench" + prefix + std::to_string(i) + ".json?auth=" + token,
                                      station(i).dump(), "application/json");
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
        catalogue[key] = station(i);
    }
    auto http = client(cloud);
    const std::string body = catalogue.dump();
    const auto putStart = Clock::now();
    const auto put = http->Put("/ESTACOES.json?auth=" + token + "&print=silent", body, "application/json");
    if (!put || put->status != 204) {
        std::printf("catalogue: seeding failed\n");
        return;
    }
    std::printf("PUT of a 50,000-station catalogue:     %8.1f ms\n", secondsSince(putStart) * 1000);
    constexpr int kReads = 5;
    std::size_t bytes = 0;
    const auto start = Clock::now();
    for (int i = 0; i < kReads; ++i) {
        const auto answer = http->Get("/ESTACOES.json?auth=" + token);
        bytes = answer ? answer->body.size() : 0;
    }
    std::printf("GET of a 50,000-station catalogue:     %8.1f ms (%.1f MB)\n",
                secondsSince(start) * 1000 / kReads, static_cast<double>(bytes) / 1e6);

    // Asked for gzip, as the program asks: the bytes on the wire, not decoded.
    auto wire = client(cloud);
    wire->set_decompress(false);
    std::size_t compressed = 0;
    const auto compressedStart = Clock::now();
    for (int i = 0; i < kReads; ++i) {
        const auto answer = wire->Get("/ESTACOES.json?auth=" + token, {{"Accept-Encoding", "gzip"}});
        compressed =
            answer && answer->get_header_value("Content-Encoding") == "gzip" ? answer->body.size() : 0;
    }
    std::printf(
        "the same, gzip asked:                  %8.1f ms (%.2f MB on the wire, %.1f times fewer bytes)\n",
        secondsSince(compressedStart) * 1000 / kReads, static_cast<double>(compressed) / 1e6,
        compressed ? static_cast<double>(bytes) / static_cast<double>(compressed) : 0.0);
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
            clients[l]->Get("/VERSOES.json?auth=" + token, {{"Accept", "text/event-stream"}},
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
        http->Put("/VERSOES/Software.json?auth=" + token + "&print=silent",
                  nlohmann::json("2." + std::to_string(i)).dump(), "application/json");
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

int main(int argc, char **argv) {
    TunewellTesting::LocalCloudOptions options;
    options.extraArguments.assign(argv + 1, argv + argc);
    LocalCloud cloud(options);
    const std::string token = cloud.serviceToken();
    // The version the listeners follow, as a publication leaves it.
    cloud.seed("VERSOES", {{"Software", "2.2"}, {"Url", "https://tunewell.local/download"}});
    sequentialWrites(cloud, token);
    concurrentWrites(cloud, token);
    catalogueRead(cloud, token);
    eventDelivery(cloud, token);
    return 0;
}
