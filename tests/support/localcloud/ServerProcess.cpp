#include "ServerProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace TunewellTesting {

namespace {

std::string tail(const std::filesystem::path &file) {
    std::ifstream in(file);
    std::stringstream content;
    content << in.rdbuf();
    const std::string text = content.str();
    return text.size() > 2000 ? text.substr(text.size() - 2000) : text;
}

struct Pipe {
    int read = -1;
    int write = -1;
    ~Pipe() {
        if (read >= 0)
            ::close(read);
        if (write >= 0)
            ::close(write);
    }
};

} // namespace

ServerProcess::~ServerProcess() {
    if (running())
        kill();
}

void ServerProcess::spawn(const std::vector<std::string> &command, const std::filesystem::path &logFile,
                          int outputFd) {
    if (running())
        throw std::logic_error("the server is already running");
    std::vector<char *> arguments;
    for (const auto &word : command)
        arguments.push_back(const_cast<char *>(word.c_str()));
    arguments.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (child == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (log >= 0)
            ::dup2(log, STDERR_FILENO);
        ::dup2(outputFd >= 0 ? outputFd : log, STDOUT_FILENO);
        ::execv(arguments[0], arguments.data());
        ::_exit(127);
    }
    pid_ = child;
}

void ServerProcess::launch(const std::vector<std::string> &command, const std::filesystem::path &logFile) {
    spawn(command, logFile, -1);
}

std::vector<std::string> ServerProcess::start(const std::vector<std::string> &command,
                                              const std::filesystem::path &logFile,
                                              const std::string &untilLine,
                                              std::chrono::milliseconds patience) {
    Pipe output;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    output.read = ends[0];
    output.write = ends[1];
    spawn(command, logFile, output.write);
    ::close(output.write);
    output.write = -1;

    std::vector<std::string> lines;
    std::string pending;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd watch{output.read, POLLIN, 0};
        const int ready = left.count() > 0 ? ::poll(&watch, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        char buffer[1024];
        const ssize_t count = ready > 0 ? ::read(output.read, buffer, sizeof buffer) : 0;
        if (count <= 0) {
            kill();
            throw std::runtime_error("tunewell-cloud did not start:\n" + tail(logFile));
        }
        pending.append(buffer, static_cast<std::size_t>(count));
        for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            lines.push_back(pending.substr(0, end));
            pending.erase(0, end + 1);
            if (lines.back() == untilLine)
                return lines;
        }
    }
}

int ServerProcess::run(const std::vector<std::string> &command, const std::filesystem::path &logFile) {
    std::vector<char *> arguments;
    for (const auto &word : command)
        arguments.push_back(const_cast<char *>(word.c_str()));
    arguments.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (child == 0) {
        const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (log >= 0) {
            ::dup2(log, STDOUT_FILENO);
            ::dup2(log, STDERR_FILENO);
        }
        ::execv(arguments[0], arguments.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int ServerProcess::waitForExit(std::chrono::milliseconds grace) {
    const auto deadline = std::chrono::steady_clock::now() + grace;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_ || (done < 0 && errno != EINTR)) {
            pid_ = -1;
            return status;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

int ServerProcess::stop() {
    if (!running())
        return 0;
    ::kill(pid_, SIGTERM);
    const int status = waitForExit(std::chrono::seconds(10));
    if (running()) {
        kill();
        return -1;
    }
    return status;
}

void ServerProcess::kill() {
    if (!running())
        return;
    ::kill(pid_, SIGKILL);
    waitForExit(std::chrono::hours(1));
}

} // namespace TunewellTesting
