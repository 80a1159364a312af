#include "app/history/HistoryStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <mutex>

using namespace Tunewell;

namespace {

// The store's answers, run on its own thread, and the problems it reported.
class HistoryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Folder.isValid()); }
    std::string File() const { return Folder.filePath("data/tunewell/history.sqlite").toStdString(); }
    std::unique_ptr<HistoryStore> Open(const std::string &Path) {
        return std::make_unique<HistoryStore>(
            Path, [](std::function<void()> Procedure) { Procedure(); },
            [this](const std::string &Text, bool StillKept) {
                std::lock_guard lock(Lock);
                Problems.push_back((StillKept ? "kept: " : "lost: ") + Text);
            });
    }
    static bool Add(HistoryStore &Store, const std::string &Title, std::int64_t At = 0) {
        std::promise<bool> added;
        Store.Add({Title, "Alpha", "10", "http://one", At}, [&](bool Added) { added.set_value(Added); });
        return added.get_future().get();
    }
    static std::vector<std::string> Titles(HistoryStore &Store) {
        std::promise<HistoryList> loaded;
        Store.Load(100, [&](HistoryList List) { loaded.set_value(std::move(List)); });
        const HistoryList list = loaded.get_future().get();
        EXPECT_EQ(list.Folded.size(), list.Entries.size());
        std::vector<std::string> titles;
        for (const auto &entry : list.Entries)
            titles.push_back(entry.Title);
        return titles;
    }
    std::vector<std::string> Reported() {
        std::lock_guard lock(Lock);
        return Problems;
    }

    QTemporaryDir Folder;
    std::mutex Lock;
    std::vector<std::string> Problems;
};

} // namespace

TEST_F(HistoryStoreTest, MakesItsFolderAndWritesWhatIsQueuedBeforeItStops) {
    {
        auto store = Open(File());
        for (int i = 0; i < 20; ++i)
            store->Add({"T" + std::to_string(i), "Alpha", "10", "http://one", i * 10'000});
    }
    auto again = Open(File());
    const auto titles = Titles(*again);
    ASSERT_EQ(titles.size(), 20u);
    EXPECT_EQ(titles.front(), "T19");
    EXPECT_TRUE(Reported().empty());
}

TEST_F(HistoryStoreTest, ADamagedFileIsSetAsideSaidSoAndANewOneStarted) {
    QDir().mkpath(Folder.filePath("data/tunewell"));
    std::ofstream(File()) << std::string(8192, 'x');
    auto store = Open(File());
    EXPECT_TRUE(Add(*store, "after the damage"));
    EXPECT_EQ(Titles(*store), std::vector<std::string>{"after the damage"});
    const auto problems = Reported();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("kept: ", 0), 0u) << problems[0];
    EXPECT_NE(problems[0].find("was damaged"), std::string::npos) << problems[0];
    const QStringList aside = QDir(Folder.filePath("data/tunewell")).entryList({"history.sqlite.damaged-*"});
    ASSERT_EQ(aside.size(), 1);
    std::ifstream kept(Folder.filePath("data/tunewell/" + aside[0]).toStdString());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), std::string(8192, 'x'));
}

TEST_F(HistoryStoreTest, AFolderThatCannotBeMadeIsReportedOnceAndNothingElseStops) {
    // A file where the folder should be: no folder can be made there, not even by root.
    std::ofstream(Folder.filePath("blocked").toStdString()) << "a file";
    auto store = Open(Folder.filePath("blocked/history.sqlite").toStdString());
    EXPECT_FALSE(Add(*store, "one"));
    EXPECT_FALSE(Add(*store, "two"));
    EXPECT_TRUE(Titles(*store).empty());
    const auto problems = Reported();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("lost: ", 0), 0u) << problems[0];
    EXPECT_NE(problems[0].find("cannot open"), std::string::npos) << problems[0];
}

TEST_F(HistoryStoreTest, WithoutAFileTheHistoryLastsTheRun) {
    auto store = Open("");
    EXPECT_TRUE(Add(*store, "one"));
    EXPECT_FALSE(Add(*store, "one"));
    EXPECT_EQ(Titles(*store), std::vector<std::string>{"one"});
}

TEST_F(HistoryStoreTest, AsideWorkRunsInTurnAndItsErrorComesBack) {
    auto store = Open("");
    std::promise<std::string> failed;
    store->Aside([] { throw std::runtime_error("disk full"); },
                 [&](std::string Error) { failed.set_value(Error); });
    EXPECT_EQ(failed.get_future().get(), "disk full");
    std::promise<std::string> done;
    store->Aside([] {}, [&](std::string Error) { done.set_value(Error); });
    EXPECT_EQ(done.get_future().get(), "");
}
