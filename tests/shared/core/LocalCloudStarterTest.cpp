// The program's own local cloud started from the program: detached, found answering, and the
// reasons it could not start.
#include "shared/core/LocalCloudStarter.h"

#include "Tunewell/LocalCloudFolder.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using Tunewell::ELocalCloudStart;
using Tunewell::LocalCloudStarter;

namespace {

// A loopback socket bound to a free port; listening when asked.
struct PortHolder {
    int Socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int Port = 0;
    explicit PortHolder(bool Listen) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(Socket, reinterpret_cast<sockaddr *>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(Socket, reinterpret_cast<sockaddr *>(&address), &length);
        Port = ntohs(address.sin_port);
        if (Listen)
            ::listen(Socket, 8);
    }
    ~PortHolder() { ::close(Socket); }
};

// A free port, let go again for the cloud to take.
int FreePort() {
    return PortHolder(false).Port;
}

std::string Link(const std::string &Path) {
    char target[512] = {};
    const ssize_t length = ::readlink(Path.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

// The process whose command line names the folder.
pid_t ProcessServing(const std::filesystem::path &Folder) {
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream commandLine(entry.path() / "cmdline", std::ios::binary);
        const std::string words((std::istreambuf_iterator<char>(commandLine)),
                                std::istreambuf_iterator<char>());
        if (words.find(Folder.string()) != std::string::npos && words.find("serve") != std::string::npos)
            return static_cast<pid_t>(std::stoi(entry.path().filename().string()));
    }
    return 0;
}

bool UsersFileHeld(const std::filesystem::path &Folder) {
    const int users = ::open((Folder / Tunewell::kLocalCloudUsersFile).c_str(), O_RDWR | O_CLOEXEC);
    const bool held = users >= 0 && ::flock(users, LOCK_EX | LOCK_NB) != 0;
    ::close(users);
    return held;
}

class LocalCloudStarterTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tunewell-starter-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        Work = pattern;
        Folder = Work / "cloud";
    }
    void TearDown() override {
        if (const pid_t cloud = ProcessServing(Folder); cloud > 0)
            ::kill(cloud, SIGKILL);
        std::filesystem::remove_all(Work);
    }

    LocalCloudStarter::Options CloudOptions() const {
        LocalCloudStarter::Options options;
        options.DataFolder = Folder;
        options.DatabasePort = FreePort();
        options.Program = TUNEWELL_CLOUD_BINARY;
        options.Arguments = {"serve",       "--program-defaults",
                             "--data",      Folder.string(),
                             "--db-port",   std::to_string(options.DatabasePort),
                             "--auth-port", std::to_string(FreePort())};
        return options;
    }

    std::filesystem::path Work;
    std::filesystem::path Folder;
};

TEST_F(LocalCloudStarterTest, StartsTheCloudDetachedAndFindsItAnsweringAfter) {
    // A descriptor the program would leave open without close-on-exec.
    int leaked[2];
    ASSERT_EQ(::pipe(leaked), 0);
    {
        LocalCloudStarter starter(CloudOptions());
        ASSERT_TRUE(starter.NeedsStart());
        ASSERT_NO_THROW(starter.Start());
        EXPECT_FALSE(starter.NeedsStart());
        EXPECT_TRUE(UsersFileHeld(Folder)) << "the cloud could end for being idle under the program";

        const pid_t cloud = ProcessServing(Folder);
        ASSERT_GT(cloud, 0);
        EXPECT_EQ(::getsid(cloud), cloud) << "not in a session of its own";
        const std::string proc = "/proc/" + std::to_string(cloud) + "/fd/";
        EXPECT_EQ(Link(proc + "0"), "/dev/null");
        EXPECT_EQ(Link(proc + "1"), "/dev/null");
        EXPECT_EQ(Link(proc + "2"), (Folder / Tunewell::kLocalCloudLogFile).string());
        const std::string pipe = Link("/proc/self/fd/" + std::to_string(leaked[0]));
        for (const auto &descriptor : std::filesystem::directory_iterator(proc))
            EXPECT_NE(Link(descriptor.path()), pipe) << "inherited a descriptor of the program";
    }
    EXPECT_FALSE(UsersFileHeld(Folder)) << "still held once the program is gone";
    ::close(leaked[0]);
    ::close(leaked[1]);
}

TEST_F(LocalCloudStarterTest, AnAnsweringPortNeedsNoStartAndLeavesNoFolderBehind) {
    const PortHolder answering(true);
    LocalCloudStarter::Options options = CloudOptions();
    options.DatabasePort = answering.Port;
    LocalCloudStarter starter(options);
    EXPECT_FALSE(starter.NeedsStart());
    EXPECT_FALSE(std::filesystem::exists(Folder));
}

TEST_F(LocalCloudStarterTest, SaysWhyTheCloudDidNotStart) {
    struct FailureCase {
        std::string Program;
        std::vector<std::string> Arguments;
        std::string Reason;
        // What an earlier case wrote to the same log, never this one's reason.
        std::string NotSaid = {};
    };
    const FailureCase cases[] = {
        {"/nonexistent/tunewell-cloud",
         {},
         "could not be started (/nonexistent/tunewell-cloud): No such file"},
        {"/bin/sh",
         {"-c", "echo the folder is broken >&2; exit 3"},
         "ended with status 3: the folder is broken"},
        {"/bin/sh", {"-c", "kill -9 $$"}, "ended by signal 9", "broken"},
        // A start that found the folder served ends with 0; the port is still waited for.
        {"/bin/sh", {"-c", "exit 0"}, "did not answer on port", "broken"},
        {"/bin/sh", {"-c", "echo still starting >&2; sleep 2"}, "did not answer on port"},
    };
    for (const FailureCase &each : cases) {
        LocalCloudStarter::Options options = CloudOptions();
        options.Program = each.Program;
        options.Arguments = each.Arguments;
        options.Patience = std::chrono::milliseconds(500);
        LocalCloudStarter starter(options);
        try {
            starter.Start();
            ADD_FAILURE() << "started: " << each.Reason;
        } catch (const ELocalCloudStart &error) {
            EXPECT_NE(std::string(error.what()).find(each.Reason), std::string::npos) << error.what();
            if (!each.NotSaid.empty())
                EXPECT_EQ(std::string(error.what()).find(each.NotSaid), std::string::npos) << error.what();
        }
    }
}

} // namespace
