#include "shared/core/LocalCloudStarter.h"

#include "Cumulo/Endpoints.h"
#include "Tunewell/LocalCloudFolder.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>

extern char **environ;

namespace Tunewell {

namespace {

// How often the socket and the folder's users file are looked at while waiting.
constexpr auto kLookAgain = std::chrono::milliseconds(50);
// A log larger than this is set aside (one older copy is kept) before the next start.
constexpr std::uintmax_t kLogLimit = 1u << 20;

// Something accepts connections on the Unix socket.
bool Answers(const std::filesystem::path &Socket) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = Socket.string();
    if (path.size() >= sizeof address.sun_path)
        return false;
    path.copy(address.sun_path, path.size());
    const UniqueDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return socket.Valid() &&
           ::connect(socket.Get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
}

// posix_spawn's two C objects, destroyed on every path.
struct SpawnSetup {
    posix_spawn_file_actions_t Actions;
    posix_spawnattr_t Attributes;
    SpawnSetup() {
        posix_spawn_file_actions_init(&Actions);
        posix_spawnattr_init(&Attributes);
    }
    ~SpawnSetup() {
        posix_spawnattr_destroy(&Attributes);
        posix_spawn_file_actions_destroy(&Actions);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;
};

std::string EndedText(int Status, const std::string &LastLine) {
    std::string text = WIFSIGNALED(Status)
                           ? "tunewell-cloud ended by signal " + std::to_string(WTERMSIG(Status))
                           : "tunewell-cloud ended with status " + std::to_string(WEXITSTATUS(Status));
    return LastLine.empty() ? text : text + ": " + LastLine;
}

} // namespace

std::optional<LocalCloudStarter::Options> LocalCloudStarter::ForThisProgram() {
    if (!Cumulo::AddressesOwnLocalCloud())
        return std::nullopt;
    Options options;
    try {
        options.DataFolder = LocalCloudFolder();
    } catch (const std::runtime_error &) {
        return std::nullopt;
    }
    std::error_code error;
    const auto beside =
        std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / "tunewell-cloud";
    options.Program = !error && ::access(beside.c_str(), X_OK) == 0 ? beside.string() : "tunewell-cloud";
    options.Arguments = {"serve", "--program-defaults", "--data", options.DataFolder.string()};
    return options;
}

LocalCloudStarter::LocalCloudStarter(Options Options) : Options_(std::move(Options)) {}

LocalCloudStarter::~LocalCloudStarter() {
    ReapEnded();
}

bool LocalCloudStarter::NeedsStart() {
    ReapEnded();
    // Start says why.
    if (!LocalCloudFolderProblem(Options_.DataFolder).empty())
        return true;
    const auto socket = Options_.DataFolder / kLocalCloudDatabaseSocket;
    std::error_code error;
    // Before the look, so that a cloud found answering cannot end for being idle under it.
    if (std::filesystem::is_directory(Options_.DataFolder, error))
        UseFolder();
    if (Answers(socket))
        return false;
    UseFolder();
    // A cloud that was ending when the look came is gone now.
    return !Answers(socket);
}

void LocalCloudStarter::CheckFolder() const {
    if (const std::string problem = LocalCloudFolderProblem(Options_.DataFolder); !problem.empty())
        throw ELocalCloudStart("the local cloud's folder is not used: " + problem);
}

void LocalCloudStarter::UseFolder() {
    if (Users_.Valid())
        return;
    std::error_code error;
    // Its keys, its tree and its sockets are the user's alone. An existing folder is left as it
    // is: one that others may enter is refused, not trusted after the fact.
    if (std::filesystem::create_directories(Options_.DataFolder, error))
        std::filesystem::permissions(Options_.DataFolder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, error);
    const auto file = Options_.DataFolder / kLocalCloudUsersFile;
    UniqueDescriptor users(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!users.Valid())
        return;
    // A cloud ending for being idle holds it until it is gone.
    const auto deadline = std::chrono::steady_clock::now() + Options_.Patience;
    while (::flock(users.Get(), LOCK_SH | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(kLookAgain);
    }
    Users_ = std::move(users);
}

void LocalCloudStarter::Start() {
    CheckFolder();
    UseFolder();
    CheckFolder();
    const auto socket = Options_.DataFolder / kLocalCloudDatabaseSocket;
    const pid_t child = Spawn();
    Started_.push_back(child);
    const auto deadline = std::chrono::steady_clock::now() + Options_.Patience;
    bool ended = false;
    for (;;) {
        if (Answers(socket))
            return;
        int status = 0;
        if (!ended && ::waitpid(child, &status, WNOHANG) == child) {
            ended = true;
            std::erase(Started_, child);
            // Status 0: another start serves the folder, and is waited for as this one would be.
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                throw ELocalCloudStart(EndedText(status, LastLogLine()));
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(Options_.Patience).count();
            const std::string last = LastLogLine();
            throw ELocalCloudStart("tunewell-cloud did not answer on " + socket.string() + " within " +
                                   std::to_string(seconds) + " seconds" + (last.empty() ? "" : ": " + last));
        }
        std::this_thread::sleep_for(kLookAgain);
    }
}

pid_t LocalCloudStarter::Spawn() {
    const auto log = Options_.DataFolder / kLocalCloudLogFile;
    std::error_code error;
    if (std::filesystem::file_size(log, error) > kLogLimit && !error)
        std::filesystem::rename(log, log.string() + ".1", error);
    const UniqueDescriptor logFile(::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600));
    if (!logFile.Valid())
        throw ELocalCloudStart("cannot write " + log.string() + ": " + std::strerror(errno));
    struct stat logFacts {};
    LogStart_ = ::fstat(logFile.Get(), &logFacts) == 0 ? static_cast<std::uintmax_t>(logFacts.st_size) : 0;

    SpawnSetup setup;
    // Nothing of the program's but its environment: no terminal, none of its files, its own session
    // (no signal of the program's terminal or process group reaches it), default signal handling.
    posix_spawn_file_actions_addopen(&setup.Actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&setup.Actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.Actions, logFile.Get(), 2);
    posix_spawn_file_actions_addclosefrom_np(&setup.Actions, 3);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&setup.Attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&setup.Attributes, &defaults);
    posix_spawnattr_setflags(&setup.Attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char *> argv;
    argv.push_back(Options_.Program.data());
    for (std::string &argument : Options_.Arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int failed = ::posix_spawnp(&child, Options_.Program.c_str(), &setup.Actions, &setup.Attributes,
                                      argv.data(), environ);
    if (failed != 0)
        throw ELocalCloudStart("tunewell-cloud could not be started (" + Options_.Program +
                               "): " + std::strerror(failed));
    return child;
}

void LocalCloudStarter::ReapEnded() {
    std::erase_if(Started_, [](pid_t child) {
        int status = 0;
        return ::waitpid(child, &status, WNOHANG) != 0;
    });
}

std::string LocalCloudStarter::LastLogLine() const {
    std::ifstream log(Options_.DataFolder / kLocalCloudLogFile, std::ios::binary | std::ios::ate);
    if (!log)
        return "";
    const std::streamoff size = log.tellg();
    // Only what this start wrote: an earlier run's last line is no reason for this one.
    log.seekg(std::max<std::streamoff>(static_cast<std::streamoff>(LogStart_), size - 4096));
    if (!log)
        return "";
    std::string tail(static_cast<std::size_t>(size - log.tellg()), '\0');
    log.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r'))
        tail.pop_back();
    const auto start = tail.rfind('\n');
    return start == std::string::npos ? tail : tail.substr(start + 1);
}

} // namespace Tunewell
