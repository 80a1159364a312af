// The program's own local cloud started from the program: detached, found answering, and the
// reasons it could not start.
#include "shared/core/LocalCloudStarter.h"

#include "Cumulo/Exceptions.h"
#include "Cumulo/HttpClient.h"
#include "Cumulo/HttpResponse.h"
#include "Cumulo/UrlParts.h"
#include "Tunewell/BuildValues.h"
#include "Tunewell/LocalCloudFolder.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using Tunewell::ELocalCloudStart;
using Tunewell::LocalCloudStarter;

namespace {

// A Unix socket listening at the path, as a cloud's would.
struct SocketHolder {
    int Socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    explicit SocketHolder(const std::filesystem::path &Path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        Path.string().copy(address.sun_path, sizeof address.sun_path - 1);
        ::bind(Socket, reinterpret_cast<sockaddr *>(&address), sizeof address);
        ::listen(Socket, 8);
    }
    ~SocketHolder() { ::close(Socket); }
};

std::string Link(const std::string &Path) {
    char target[512] = {};
    const ssize_t length = ::readlink(Path.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

// The process whose command line names the folder.
pid_t ProcessServing(const std::filesystem::path &Folder) {
    if (Folder.empty())
        return 0;
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
        for (const auto &folder : {Folder, OtherFolder})
            if (const pid_t cloud = ProcessServing(folder); cloud > 0)
                ::kill(cloud, SIGKILL);
        std::filesystem::remove_all(Work);
    }

    LocalCloudStarter::Options CloudOptions() const {
        LocalCloudStarter::Options options;
        options.DataFolder = Folder;
        options.Program = TUNEWELL_CLOUD_BINARY;
        options.Arguments = {"serve", "--program-defaults", "--data", Folder.string()};
        return options;
    }

    std::filesystem::path Work;
    std::filesystem::path Folder;
    std::filesystem::path OtherFolder;
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

TEST_F(LocalCloudStarterTest, AnAnsweringSocketInTheFolderNeedsNoStart) {
    std::filesystem::create_directory(Folder);
    std::filesystem::permissions(Folder, std::filesystem::perms::owner_all);
    const SocketHolder answering(Folder / Tunewell::kLocalCloudDatabaseSocket);
    LocalCloudStarter starter(CloudOptions());
    EXPECT_FALSE(starter.NeedsStart());
}

// A folder others may enter may hold a socket of theirs: nothing in it is used, and the reason
// is given instead of a start.
TEST_F(LocalCloudStarterTest, AFolderOthersMayEnterIsRefusedWithTheReason) {
    std::filesystem::create_directory(Folder);
    std::filesystem::permissions(Folder,
                                 std::filesystem::perms::owner_all | std::filesystem::perms::others_exec);
    const SocketHolder answering(Folder / Tunewell::kLocalCloudDatabaseSocket);
    LocalCloudStarter starter(CloudOptions());
    EXPECT_TRUE(starter.NeedsStart());
    try {
        starter.Start();
        ADD_FAILURE() << "started in a folder others may enter";
    } catch (const ELocalCloudStart &error) {
        EXPECT_NE(std::string(error.what()).find("open to other users (mode 0701"), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(ProcessServing(Folder), 0) << "a cloud was started there";
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
        // A start that found the folder served ends with 0; the socket is still waited for.
        {"/bin/sh", {"-c", "exit 0"}, "database.sock within", "broken"},
        {"/bin/sh", {"-c", "echo still starting >&2; sleep 2"}, "database.sock within"},
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
            if (!each.NotSaid.empty()) {
                EXPECT_EQ(std::string(error.what()).find(each.NotSaid), std::string::npos) << error.what();
            }
        }
    }
}

// Two users of one machine, as two data homes in one process: the program finds its own cloud
// where its data home says, starts its own while the other's serves, and each program's requests
// reach its own cloud alone.
class TwoUsersTest : public LocalCloudStarterTest {
protected:
    void SetUp() override {
        LocalCloudStarterTest::SetUp();
        ::unsetenv("FIREBASE_DATABASE_EMULATOR_HOST");
        ::unsetenv("FIREBASE_AUTH_EMULATOR_HOST");
        Folder = Work / "first" / "tunewell" / "cloud";
        OtherFolder = Work / "second" / "tunewell" / "cloud";
    }
    void TearDown() override {
        ::unsetenv("XDG_DATA_HOME");
        LocalCloudStarterTest::TearDown();
    }

    // The program of the user whose data home holds the folder, as it starts.
    static LocalCloudStarter::Options ProgramOf(const std::filesystem::path &CloudFolder) {
        BeUserOf(CloudFolder);
        auto options = LocalCloudStarter::ForThisProgram();
        EXPECT_TRUE(options.has_value());
        EXPECT_EQ(options->DataFolder, CloudFolder);
        options->Program = TUNEWELL_CLOUD_BINARY;
        return *options;
    }

    static void BeUserOf(const std::filesystem::path &CloudFolder) {
        ::setenv("XDG_DATA_HOME", CloudFolder.parent_path().parent_path().c_str(), 1);
    }

    // The user's program asks its database something, which it refuses without credentials.
    static int AskDatabase(const std::filesystem::path &CloudFolder) {
        BeUserOf(CloudFolder);
        Cumulo::THttpClient client;
        return client
            .Get(Cumulo::SplitURL(Tunewell::BuildValues::kDatabaseUrl).Origin() + "/.json?print=silent")
            ->StatusCode;
    }

    // What the cloud the user's program reaches says of the database connections it accepted.
    static std::uint64_t DatabaseConnections(const std::filesystem::path &CloudFolder) {
        BeUserOf(CloudFolder);
        const std::string origin = Cumulo::SplitURL(Tunewell::BuildValues::kIdentityUrl).Origin();
        Cumulo::THttpClient client;
        const auto answer = client.Get(origin + "/emulator/v1/connections");
        EXPECT_EQ(answer->StatusCode, 200) << answer->Body;
        return nlohmann::json::parse(answer->Body).at("database").get<std::uint64_t>();
    }
};

TEST_F(TwoUsersTest, EachProgramStartsAndReachesItsOwnCloudOnly) {
    if (!Tunewell::BuildValues::kLocalCloud)
        GTEST_SKIP() << "a build for another cloud starts none of its own";
    LocalCloudStarter first(ProgramOf(Folder));
    ASSERT_TRUE(first.NeedsStart());
    ASSERT_NO_THROW(first.Start());

    LocalCloudStarter second(ProgramOf(OtherFolder));
    EXPECT_TRUE(second.NeedsStart()) << "took the first user's cloud for its own";
    ASSERT_NO_THROW(second.Start());
    EXPECT_FALSE(second.NeedsStart());
    ASSERT_GT(ProcessServing(Folder), 0);
    ASSERT_GT(ProcessServing(OtherFolder), 0);

    // Over HTTPS with each folder's own authority, and counted by its own cloud alone.
    // (The starters' looks were connections too.)
    const std::uint64_t firstBefore = DatabaseConnections(Folder);
    const std::uint64_t secondBefore = DatabaseConnections(OtherFolder);
    EXPECT_EQ(AskDatabase(Folder), 401);
    EXPECT_EQ(DatabaseConnections(Folder), firstBefore + 1);
    EXPECT_EQ(DatabaseConnections(OtherFolder), secondBefore) << "the first program reached the second cloud";
    EXPECT_EQ(AskDatabase(OtherFolder), 401);
    EXPECT_EQ(DatabaseConnections(OtherFolder), secondBefore + 1);
    EXPECT_EQ(DatabaseConnections(Folder), firstBefore + 1) << "the second program reached the first cloud";

    // Opened to others, the second folder's socket is no longer used, for a reason said.
    std::filesystem::permissions(OtherFolder, std::filesystem::perms::group_exec,
                                 std::filesystem::perm_options::add);
    try {
        AskDatabase(OtherFolder);
        ADD_FAILURE() << "reached a cloud through a folder open to others";
    } catch (const Cumulo::ETransport &error) {
        EXPECT_NE(std::string(error.what()).find("open to other users (mode 0710"), std::string::npos)
            << error.what();
    }
}

} // namespace
