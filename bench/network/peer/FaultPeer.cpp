#include "FaultPeer.h"

#include "BlackHole.h"
#include "Relay.h"
#include "UnavailableAnswers.h"

#include <poll.h>
#include <sys/socket.h>
#include <vector>

namespace TunewellBench {

namespace {

constexpr int kAcceptSliceMs = 50;
// A control client gets this long to send its line.
constexpr int kControlLineMs = 1000;

bool Listening(const FaultMode &Mode) {
    return Mode.Kind != FaultMode::TKind::Refused;
}

// Whether the mode's connections are relayed to the cloud.
bool Relayed(const FaultMode &Mode) {
    return Mode.Kind != FaultMode::TKind::BlackHole && Mode.Kind != FaultMode::TKind::Unavailable &&
           Mode.Kind != FaultMode::TKind::Refused;
}

} // namespace

FaultPeer::FaultPeer(const FaultPeerOptions &Options) : Mode_(Options.Mode) {
    const std::array<std::pair<SocketAddress, int>, 2> fronts{
        {{Options.Database, Options.DatabasePort}, {Options.Identity, Options.IdentityPort}}};
    for (std::size_t i = 0; i < fronts.size(); ++i) {
        auto front = std::make_unique<Front>();
        front->Upstream = fronts[i].first;
        front->Database = i == 0;
        front->Listener = BindLoopback(fronts[i].second);
        front->Port = LocalPort(front->Listener.get());
        if (Listening(Mode_))
            Listen(front->Listener.get());
        Fronts_[i] = std::move(front);
    }
    Control_ = BindLoopback(Options.ControlPort);
    Listen(Control_.get());
    StartMode();
}

int FaultPeer::ControlPort() const {
    return LocalPort(Control_.get());
}

std::string FaultPeer::AcceptedText() const {
    return "database " + std::to_string(Fronts_[0]->Accepted) + " identity " +
           std::to_string(Fronts_[1]->Accepted);
}

void FaultPeer::Run(const std::atomic<bool> &Stop) {
    while (!Stop) {
        std::vector<pollfd> watched{{Control_.get(), POLLIN, 0}};
        if (Listening(Mode_))
            for (const auto &front : Fronts_)
                watched.push_back({front->Listener.get(), POLLIN, 0});
        if (::poll(watched.data(), watched.size(), kAcceptSliceMs) > 0) {
            if (watched[0].revents & POLLIN)
                AnswerControl();
            // A mode the control just set may have closed the listeners polled.
            for (std::size_t i = 1; i < watched.size() && Listening(Mode_); ++i)
                if (watched[i].revents & POLLIN)
                    Accept(*Fronts_[i - 1]);
        }
        Connections_.Reap();
    }
}

void FaultPeer::SetMode(const FaultMode &Mode) {
    // The mode in force set again changes nothing; its connections stay.
    if (Mode.Kind == Mode_.Kind && Mode.Amount == Mode_.Amount)
        return;
    Connections_.CutAll();
    for (const auto &front : Fronts_) {
        if (!Listening(Mode) && Listening(Mode_)) {
            // A port bound but not listening refuses connections, and stays ours to listen on again.
            front->Listener.reset();
            front->Listener = BindLoopback(front->Port);
        } else if (Listening(Mode) && !Listening(Mode_)) {
            Listen(front->Listener.get());
        }
    }
    Mode_ = Mode;
    StartMode();
}

void FaultPeer::StartMode() {
    if (Mode_.Kind == FaultMode::TKind::Bandwidth) {
        const double bytesPerSecond = static_cast<double>(Mode_.Amount) * 1000 / 8;
        Down_ = std::make_shared<SendSchedule>(bytesPerSecond);
        Up_ = std::make_shared<SendSchedule>(bytesPerSecond);
    }
    CatalogueResetClaimed_ = std::make_shared<std::atomic<bool>>(false);
}

void FaultPeer::Accept(Front &Port) {
    UniqueFd client(::accept4(Port.Listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!client.valid())
        return;
    ++Port.Accepted;
    RelayRules rules;
    switch (Mode_.Kind) {
    case FaultMode::TKind::Trickle:
        rules.ToClient = {std::make_shared<SendSchedule>(static_cast<double>(Mode_.Amount)), 1};
        break;
    case FaultMode::TKind::Bandwidth:
        // Pieces small enough for the link's rate to be even over a few milliseconds.
        rules.ToClient = {Down_, 4096};
        rules.ToUpstream = {Up_, 4096};
        break;
    case FaultMode::TKind::ResetCatalogue:
        if (Port.Database) {
            rules.CatalogueResetClaimed = CatalogueResetClaimed_;
            rules.ResetAfter = Mode_.Amount;
        }
        break;
    default:
        break;
    }
    const FaultMode mode = Mode_;
    const SocketAddress upstream = Port.Upstream;
    const std::string unavailable = Port.Database ? DatabaseUnavailableBody() : IdentityUnavailableBody();
    Connections_.Start([mode, upstream, unavailable, rules,
                        fd = std::make_shared<UniqueFd>(std::move(client))](ConnectionState &State) {
        UniqueFd &client = *fd;
        if (mode.Kind == FaultMode::TKind::BlackHole) {
            SwallowAll(client.get(), State);
        } else if (mode.Kind == FaultMode::TKind::Unavailable) {
            AnswerUnavailable(client.get(), unavailable, State);
        } else if (Relayed(mode)) {
            UniqueFd server = ConnectTo(upstream);
            if (!server.valid())
                State.Cut = true;
            else
                Relay(client.get(), server.get(), rules, State);
            if (State.Cut)
                ResetAndClose(server);
        }
        if (State.Cut)
            ResetAndClose(client);
    });
}

void FaultPeer::AnswerControl() {
    UniqueFd connection(::accept4(Control_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!connection.valid())
        return;
    std::string line;
    char buffer[256];
    pollfd entry{connection.get(), POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&entry, 1, kControlLineMs) > 0) {
        const ssize_t count = ::recv(connection.get(), buffer, sizeof buffer, 0);
        if (count <= 0)
            break;
        line.append(buffer, static_cast<std::size_t>(count));
    }
    line = line.substr(0, line.find_first_of("\r\n"));
    std::string answer;
    if (line == "connections") {
        answer = AcceptedText();
    } else if (line.rfind("mode ", 0) == 0) {
        const auto mode = ParseFaultMode(line.substr(5));
        if (mode) {
            try {
                SetMode(*mode);
                answer = "ok " + FaultModeName(*mode);
            } catch (const ESocketError &error) {
                answer = std::string("error: ") + error.what();
            }
        } else {
            answer = "error: unknown mode " + line.substr(5);
        }
    } else {
        answer = "error: unknown command " + line;
    }
    answer += '\n';
    const std::atomic<bool> never{false};
    SendAll(connection.get(), answer.data(), answer.size(), never);
}

} // namespace TunewellBench
