// The fault-making peer: stands in front of the local cloud and makes the network faults the
// network benchmark measures the program against (see FaultPeer.h and FaultMode.h). Prints its
// ports and "ready"; at SIGTERM or SIGINT prints "accepted database N identity M" and ends.
#include "FaultPeer.h"
#include "FaultPeerOptions.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

int main(int argc, char **argv) {
    using namespace TunewellBench;
    // Taken by sigwait below, so blocked in every thread before the first one starts.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGINT);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    try {
        FaultPeer peer(ParseFaultPeerOptions(argc, argv));
        std::printf("database port %d\nidentity port %d\ncontrol port %d\nready\n", peer.DatabasePort(),
                    peer.IdentityPort(), peer.ControlPort());
        std::fflush(stdout);
        std::atomic<bool> stop{false};
        std::thread serving([&] { peer.Run(stop); });
        int signal = 0;
        sigwait(&ending, &signal);
        stop = true;
        serving.join();
        std::printf("accepted %s\n", peer.AcceptedText().c_str());
        return 0;
    } catch (const EUsage &error) {
        std::fprintf(stderr, "fault-peer: %s\n%s", error.what(), kFaultPeerUsage);
        return 2;
    } catch (const ESocketError &error) {
        std::fprintf(stderr, "fault-peer: %s\n", error.what());
        return 1;
    }
}
