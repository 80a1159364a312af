#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace TunewellTesting {

// A child process whose standard output is read line by line until a given line, and whose
// standard error goes to a log file. Killed with SIGKILL if the test process dies.
class ServerProcess {
public:
    ServerProcess() = default;
    ServerProcess(const ServerProcess &) = delete;
    ServerProcess &operator=(const ServerProcess &) = delete;
    ~ServerProcess();

    // Starts the program and answers the lines it printed up to and including untilLine.
    // Throws std::runtime_error (with the log's tail) if it ends or stays silent too long.
    std::vector<std::string> start(const std::vector<std::string> &command,
                                   const std::filesystem::path &logFile, const std::string &untilLine,
                                   std::chrono::milliseconds patience = std::chrono::seconds(20));
    // Starts a program that says nothing when it is ready, both outputs to the log file.
    void launch(const std::vector<std::string> &command, const std::filesystem::path &logFile);
    // Runs a program to its end, both outputs to the log file; answers its exit status.
    static int run(const std::vector<std::string> &command, const std::filesystem::path &logFile);
    // SIGTERM and wait (SIGKILL after a grace period); answers the exit status.
    int stop();
    // SIGKILL and wait.
    void kill();
    bool running() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

private:
    // Standard output goes to OutputFd, or with -1 to the log file as standard error does.
    void spawn(const std::vector<std::string> &command, const std::filesystem::path &logFile, int outputFd);
    int waitForExit(std::chrono::milliseconds grace);

    pid_t pid_ = -1;
};

} // namespace TunewellTesting
