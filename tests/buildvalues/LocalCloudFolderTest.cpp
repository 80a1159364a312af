#include "Tunewell/LocalCloudFolder.h"

#include <gtest/gtest.h>
#include <stdexcept>

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

} // namespace
