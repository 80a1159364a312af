#include "app/core/FileDialogFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

using namespace Tunewell;

namespace {

class FileDialogFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Home.isValid());
        setenv("XDG_CONFIG_HOME", Home.filePath("config").toUtf8().constData(), 1);
        setenv("HOME", Home.path().toUtf8().constData(), 1);
        QDir(Home.path()).mkpath(QStringLiteral("Music"));
        QDir(Home.path()).mkpath(QStringLiteral("Chosen"));
        QFile file(At("Chosen/list.m3u"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        if (OldHome)
            setenv("HOME", OldHome->c_str(), 1);
    }
    QString At(const char *Name) const { return Home.filePath(QString::fromLatin1(Name)); }

    std::optional<std::string> OldHome =
        std::getenv("HOME") ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt;
    QTemporaryDir Home;
};

} // namespace

TEST_F(FileDialogFolderTest, TheFolderLastUsedThenTheDesktopsThenHomeNeverTheWorkingFolder) {
    struct Case {
        const char *Name;
        QString LastUsed;
        QString Desktop;
        QString Opens;
    } cases[] = {
        {"the folder last used", At("Chosen"), At("Music"), At("Chosen")},
        {"none used yet", {}, At("Music"), At("Music")},
        {"the folder last used is gone", At("Gone"), At("Music"), At("Music")},
        {"a file, not a folder", At("Chosen/list.m3u"), At("Music"), At("Music")},
        {"no desktop folder either", At("Gone"), At("Documents"), Home.path()},
        {"the desktop names none", {}, {}, Home.path()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FileDialogFolderOf(c.LastUsed, c.Desktop, Home.path()), c.Opens) << c.Name;
}

TEST_F(FileDialogFolderTest, TheFolderChosenIsKeptForTheNextDialogOfAnyKind) {
    ASSERT_NE(QDir::currentPath(), Home.path());
    EXPECT_EQ(FileDialogFolder(FileDialogKind::Playlist), At("Music"));
    // No documents folder in this home.
    EXPECT_EQ(FileDialogFolder(FileDialogKind::Document), Home.path());
    RememberFileDialogChoice(At("Chosen/list.m3u"));
    EXPECT_EQ(FileDialogFolder(FileDialogKind::Playlist), At("Chosen"));
    EXPECT_EQ(FileDialogFolder(FileDialogKind::Document), At("Chosen"));
    // A dialog left without a choice changes nothing.
    RememberFileDialogChoice({});
    EXPECT_EQ(FileDialogFolder(FileDialogKind::Document), At("Chosen"));
}
