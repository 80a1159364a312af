#include "Relay.h"

#include <algorithm>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <thread>

namespace TunewellBench {

namespace {

constexpr std::size_t kBufferSize = 16384;
// The catalogue's path in a request line, as the database is asked for it.
constexpr std::string_view kCatalogueRequest = "/ESTACOES.json";
constexpr auto kSleepSlice = std::chrono::milliseconds(20);

// Sends in pieces, each when its pace lets it.
bool SendPaced(int To, const char *Data, std::size_t Size, const Pace &Rate, const std::atomic<bool> &Cut) {
    while (Size > 0) {
        const std::size_t piece = std::min(Size, Rate.Piece);
        if (Rate.Schedule) {
            const auto at = Rate.Schedule->Reserve(piece);
            while (!Cut && SendSchedule::Clock::now() < at)
                std::this_thread::sleep_for(
                    std::min<SendSchedule::Clock::duration>(at - SendSchedule::Clock::now(), kSleepSlice));
        }
        if (!SendAll(To, Data, piece, Cut))
            return false;
        Data += piece;
        Size -= piece;
    }
    return true;
}

// One direction: returns at its end, having passed the end on; cuts on a failure. Inspect sees
// each piece read and answers how many of its bytes may go before the connection is cut
// (all of them: no cut).
template <typename Inspector>
void Pump(int From, int To, const Pace &Rate, ConnectionState &State, Inspector &&Inspect) {
    char buffer[kBufferSize];
    while (WaitFor(From, POLLIN, State.Cut)) {
        const ssize_t count = ::recv(From, buffer, sizeof buffer, 0);
        if (count == 0) {
            ::shutdown(To, SHUT_WR);
            return;
        }
        if (count < 0) {
            State.Cut = true;
            return;
        }
        const auto size = static_cast<std::size_t>(count);
        const std::size_t allowed = Inspect(std::string_view(buffer, size));
        if (!SendPaced(To, buffer, allowed, Rate, State.Cut) || allowed < size) {
            State.Cut = true;
            return;
        }
    }
}

} // namespace

void Relay(int Client, int Upstream, const RelayRules &Rules, ConnectionState &State) {
    // Counted from the catalogue's request on: bytes of its answer still to let through, or -1.
    std::atomic<long> answerLeft{-1};
    std::thread answers([&] {
        Pump(Upstream, Client, Rules.ToClient, State, [&](std::string_view Piece) {
            const long left = answerLeft;
            if (left < 0)
                return Piece.size();
            const auto allowed = std::min<std::size_t>(Piece.size(), static_cast<std::size_t>(left));
            answerLeft = left - static_cast<long>(allowed);
            return allowed;
        });
    });
    // The end of the previous piece, for a request line cut between two reads.
    std::string tail;
    Pump(Client, Upstream, Rules.ToUpstream, State, [&](std::string_view Piece) {
        if (Rules.CatalogueResetClaimed) {
            const std::string seen = tail + std::string(Piece);
            if (seen.find(kCatalogueRequest) != std::string::npos &&
                !Rules.CatalogueResetClaimed->exchange(true))
                answerLeft = Rules.ResetAfter;
            tail = seen.substr(seen.size() - std::min(seen.size(), kCatalogueRequest.size()));
        }
        return Piece.size();
    });
    answers.join();
}

} // namespace TunewellBench
