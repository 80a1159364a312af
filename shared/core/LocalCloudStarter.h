#pragma once

#include "shared/core/UniqueDescriptor.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <vector>

namespace Tunewell {

// The program's own local cloud could not be started: the reason, in English.
class ELocalCloudStart : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the start needs of the program's local cloud before it signs in.
class ILocalCloudStarter {
public:
    virtual ~ILocalCloudStarter() = default;
    // Nothing answers where the cloud is sought: it must be started. Never waits for the network.
    virtual bool NeedsStart() = 0;
    // Starts it and waits until it answers, a bounded time; throws ELocalCloudStart.
    virtual void Start() = 0;
};

// Starts the program's own cloud (`tunewell-cloud serve --program-defaults`) as a process of its
// own session, detached from the program: no terminal, nothing inherited but its environment,
// its messages appended to the log file of its data folder. While the program runs it holds a
// shared lock on the folder's users file, so the cloud does not end for being idle under it.
// Two programs may start it at once: the data folder's lock leaves one serving and the other
// ending quietly, and both find it answering. It is sought on its database socket in the data
// folder, which only the user reaches: another user's cloud, or anything on a port, is never
// taken for it. A folder that others may enter is refused. Worker threads only (it waits).
class LocalCloudStarter : public ILocalCloudStarter {
public:
    struct Options {
        std::filesystem::path DataFolder;
        // A path, or a name looked for in PATH.
        std::string Program;
        std::vector<std::string> Arguments;
        std::chrono::milliseconds Patience = std::chrono::seconds(20);
    };

    // The program's own cloud, when the URLs in effect address it: tunewell-cloud beside the
    // program's executable, else in PATH. None otherwise.
    static std::optional<Options> ForThisProgram();

    explicit LocalCloudStarter(Options Options);
    ~LocalCloudStarter() override;

    bool NeedsStart() override;
    void Start() override;

    // The last line the cloud wrote to its log since the last start, for a reason.
    std::string LastLogLine() const;

private:
    // Takes the shared lock on the users file, waiting while an ending cloud holds it.
    void UseFolder();
    // Throws ELocalCloudStart when the folder may hold another user's socket.
    void CheckFolder() const;
    pid_t Spawn();
    void ReapEnded();

    Options Options_;
    UniqueDescriptor Users_;
    std::vector<pid_t> Started_;
    // The log's size when the last start began.
    std::uintmax_t LogStart_ = 0;
};

} // namespace Tunewell
