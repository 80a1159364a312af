#pragma once

#include "TunewellCloud/TlsOptions.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace TunewellCloud {

struct CloudOptions {
    std::filesystem::path dataFolder;
    std::string address = "127.0.0.1";
    // Unix sockets in the data folder (Tunewell/LocalCloudFolder.h names them) instead of ports:
    // only the folder's owner reaches them, and no other user can take them first.
    bool unixSockets = false;
    int databasePort = 9000;
    int authPort = 9099;
    std::string apiKey;
    std::string projectId;
    int tokenLifetimeSeconds = 3600;
    int keepAliveSeconds = 30;
    int oobCodeLifetimeSeconds = 3600;
    // The largest request body, decompressed: the program's largest write, a catalogue of 50,000
    // stations, is about 9 MB.
    std::size_t bodyLimitBytes = 12u << 20;
    bool anonymousSignIn = true;
    // Connections served at once by the database (a thread each); the identity port a quarter.
    int threads = 512;
    // Milliseconds every answer is held back, and every new connection once more (a far cloud).
    int latencyMs = 0;
    std::uint64_t compactAfterBytes = 64ull << 20;
    // The security rules: a rules file, "open", or empty for the program's own file.
    std::string rules;
    TlsOptions tls;
    // Seconds without a connection after which the server ends by itself, unless a program holds
    // the folder's users file (Tunewell/LocalCloudFolder.h); 0: never.
    int idleExitSeconds = 0;
    // The program's own cloud: provisioned for the program at its start (ProgramProvisioning).
    bool forProgram = false;
    // The administrator's door (OwnerAccess), for tests and development scripts only.
    bool ownerAccess = false;
};

} // namespace TunewellCloud
