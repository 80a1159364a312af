#pragma once

#include "ConnectionTable.h"
#include "FaultMode.h"
#include "FaultPeerOptions.h"
#include "LoopbackSocket.h"
#include "SendSchedule.h"

#include <array>
#include <atomic>
#include <memory>
#include <string>

namespace TunewellBench {

// Stands in front of the local cloud's database and identity ports and does to the connections
// it accepts what its mode says. A control port takes one line per connection and answers one:
// "mode MODE" (answer "ok MODE") changes the mode, which resets every open connection, as a
// change of network does, and meets new ones with the new mode (the mode in force changes
// nothing); "connections" answers
// "database N identity M", the connections accepted on each port since the start.
class FaultPeer {
public:
    // Binds every port; throws ESocketError.
    explicit FaultPeer(const FaultPeerOptions &Options);
    FaultPeer(const FaultPeer &) = delete;
    FaultPeer &operator=(const FaultPeer &) = delete;

    int DatabasePort() const { return Fronts_[0]->Port; }
    int IdentityPort() const { return Fronts_[1]->Port; }
    int ControlPort() const;
    // Accepts and serves until Stop turns true.
    void Run(const std::atomic<bool> &Stop);
    // "database N identity M".
    std::string AcceptedText() const;

private:
    struct Front {
        SocketAddress Upstream;
        bool Database = false;
        UniqueFd Listener;
        int Port = 0;
        std::atomic<long> Accepted{0};
    };

    void SetMode(const FaultMode &Mode);
    // What the mode in force needs afresh: its link, its one reset.
    void StartMode();
    void Accept(Front &Port);
    void AnswerControl();

    std::array<std::unique_ptr<Front>, 2> Fronts_;
    UniqueFd Control_;
    FaultMode Mode_;
    // The link of the bandwidth mode, each way.
    std::shared_ptr<SendSchedule> Down_;
    std::shared_ptr<SendSchedule> Up_;
    std::shared_ptr<std::atomic<bool>> CatalogueResetClaimed_;
    // Last, so its connections end before what they were given goes.
    ConnectionTable Connections_;
};

} // namespace TunewellBench
