#include "TunewellCloud/CommandLine.h"

#include "Tunewell/BuildValues.h"

#include <cstdlib>
#include <gtest/gtest.h>

using TunewellCloud::CloudOptions;
using TunewellCloud::CommandLine;
using TunewellCloud::UsageError;

namespace {

CloudOptions ServeOptions(const std::vector<std::string> &words) {
    return CommandLine::parse(words, {"no-anonymous", "tls", "program-defaults", "unix-sockets", "owner-access"})
        .cloudOptions();
}

TEST(CommandLine, ProgramDefaultsServeTheProgramsOwnCloud) {
    if (!Tunewell::BuildValues::kLocalCloud)
        GTEST_SKIP() << "a build for another cloud";
    ::setenv("XDG_DATA_HOME", "/data/home", 1);
    const CloudOptions options = ServeOptions({"serve", "--program-defaults"});
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(options.dataFolder, "/data/home/tunewell/cloud");
    EXPECT_TRUE(options.tls.enabled);
    EXPECT_EQ(options.databasePort, Tunewell::BuildValues::kLocalDatabasePort);
    EXPECT_EQ(options.authPort, Tunewell::BuildValues::kLocalAuthPort);
    EXPECT_EQ(options.apiKey, Tunewell::BuildValues::kApiKey);
    EXPECT_EQ(options.projectId, Tunewell::BuildValues::kProjectId);
    EXPECT_EQ(options.idleExitSeconds, 600);
    EXPECT_TRUE(options.forProgram);
    EXPECT_TRUE(options.unixSockets) << "the program's own cloud on ports any user reaches";

    // What is given still counts.
    const CloudOptions given = ServeOptions({"serve", "--program-defaults", "--data", "/d", "--idle-exit",
                                             "0", "--db-port", "0", "--auth-port", "0"});
    EXPECT_EQ(given.dataFolder, "/d");
    EXPECT_EQ(given.idleExitSeconds, 0);
    EXPECT_EQ(given.databasePort, 0);
    EXPECT_EQ(given.authPort, 0);
    EXPECT_FALSE(given.unixSockets) << "ports given, and sockets served instead";
    for (const char *port : {"--db-port", "--auth-port"})
        EXPECT_FALSE(ServeOptions({"serve", "--program-defaults", port, "9100"}).unixSockets) << port;
}

TEST(CommandLine, UnixSocketsAreAskedForOrServeTheProgram) {
    EXPECT_FALSE(ServeOptions({"serve", "--data", "/d"}).unixSockets);
    EXPECT_TRUE(ServeOptions({"serve", "--data", "/d", "--unix-sockets"}).unixSockets);
    for (const char *option : {"--db-port", "--auth-port", "--address"})
        EXPECT_THROW(ServeOptions({"serve", "--data", "/d", "--unix-sockets", option, "0"}), UsageError)
            << option;
}

TEST(CommandLine, PlainServeNeverEndsByItselfNorProvisions) {
    const CloudOptions options = ServeOptions({"serve", "--data", "/d"});
    EXPECT_EQ(options.idleExitSeconds, 0);
    EXPECT_FALSE(options.forProgram);
    EXPECT_FALSE(options.tls.enabled);
    EXPECT_EQ(ServeOptions({"serve", "--data", "/d", "--idle-exit", "30"}).idleExitSeconds, 30);
    EXPECT_FALSE(options.ownerAccess);
    EXPECT_TRUE(ServeOptions({"serve", "--data", "/d", "--owner-access"}).ownerAccess);
}

TEST(CommandLine, RefusesServeWithoutAFolderOrWithABadIdleExit) {
    const std::vector<std::vector<std::string>> refused = {
        {"serve"},
        {"serve", "--data", "/d", "--idle-exit", "-1"},
        {"serve", "--data", "/d", "--idle-exit", "soon"},
        {"serve", "--program-defaults", "--idle-exit"},
        {"serve", "--program-defaults", "--owner-access"},
    };
    for (const auto &words : refused)
        EXPECT_THROW(ServeOptions(words), UsageError) << words.back();
}

} // namespace
