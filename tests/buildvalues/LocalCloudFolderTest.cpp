#include "Tunewell/LocalCloudFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FolderCase {
    const char *DataHome;
    const char *Home;
    const char *Folder;
};

TEST(LocalCloudFolder, FollowsTheDataHomeOrTheHomeFolder) {
    const FolderCase cases[] = {
        {"/data/me", "/home/me", "/data/me/tunewell/cloud"},
        {nullptr, "/home/me", "/home/me/.local/share/tunewell/cloud"},
        {"", "/home/me", "/home/me/.local/share/tunewell/cloud"},
        // A relative data home is invalid and ignored, as the base directory rules say.
        {"relative/data", "/home/me", "/home/me/.local/share/tunewell/cloud"},
        {"/data/me", nullptr, "/data/me/tunewell/cloud"},
    };
    for (const FolderCase &each : cases)
        EXPECT_EQ(Tunewell::LocalCloudFolder(each.DataHome, each.Home), each.Folder)
            << (each.DataHome ? each.DataHome : "(unset)") << " " << (each.Home ? each.Home : "(unset)");
}

TEST(LocalCloudFolder, WithoutAnyHomeIsAnError) {
    EXPECT_THROW(Tunewell::LocalCloudFolder(nullptr, nullptr), std::runtime_error);
    EXPECT_THROW(Tunewell::LocalCloudFolder("", ""), std::runtime_error);
}

// Only a folder of the user's own that no one else may enter is trusted with the sockets.
TEST(LocalCloudFolder, AFolderOthersMayEnterOrOwnIsAProblem) {
    char pattern[] = "/tmp/tunewell-folder-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path work = pattern;
    const auto folder = work / "cloud";
    struct ModeCase {
        mode_t Mode;
        const char *Problem;
    };
    const ModeCase cases[] = {
        {0700, ""},
        {0500, ""},
        {0750, "open to other users (mode 0750"},
        {0701, "open to other users (mode 0701"},
        {0777, "open to other users (mode 0777"},
    };
    EXPECT_EQ(Tunewell::LocalCloudFolderProblem(folder), "") << "a missing folder is made by the start";
    std::filesystem::create_directory(folder);
    for (const ModeCase &each : cases) {
        ::chmod(folder.c_str(), each.Mode);
        const std::string problem = Tunewell::LocalCloudFolderProblem(folder);
        if (*each.Problem == '\0')
            EXPECT_EQ(problem, "") << std::oct << each.Mode;
        else
            EXPECT_NE(problem.find(each.Problem), std::string::npos) << problem;
    }
    ::chmod(folder.c_str(), 0700);
    // Root may hand the folder to another user; anyone else cannot, and is not tested so.
    if (::geteuid() == 0 && ::chown(folder.c_str(), 65534, 65534) == 0) {
        EXPECT_NE(Tunewell::LocalCloudFolderProblem(folder).find("belongs to another user"),
                  std::string::npos);
    }
    const auto file = work / "file";
    std::ofstream(file).put('x');
    EXPECT_NE(Tunewell::LocalCloudFolderProblem(file).find("is not a folder"), std::string::npos);
    std::filesystem::remove_all(work);
}

} // namespace
