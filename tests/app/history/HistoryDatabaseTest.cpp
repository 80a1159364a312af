#include "app/history/HistoryDatabase.h"

#include "app/history/HistoryError.h"

#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace Tunewell;

namespace {

HistoryEntry Heard(const std::string &Title, const std::string &Url, std::int64_t At) {
    return {Title, "Station " + Url, "1", Url, At};
}

std::vector<std::string> Titles(const std::vector<HistoryEntry> &Entries) {
    std::vector<std::string> titles;
    for (const auto &entry : Entries)
        titles.push_back(entry.Title);
    return titles;
}

class HistoryDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Folder.isValid()); }
    std::string File() const { return Folder.filePath("history.sqlite").toStdString(); }
    QTemporaryDir Folder;
};

} // namespace

TEST_F(HistoryDatabaseTest, RepeatsAndReconnectsAddNoSecondEntry) {
    HistoryDatabase database(File());
    struct Offer {
        const char *Title;
        const char *Url;
        std::int64_t At;
        bool Added;
    } offers[] = {
        {"A", "http://one", 0, true},          {"A", "http://one", 5, false}, // the station sends it again
        {"A", "http://one", 90, false},                                       // after a reconnect
        {"X", "http://two", 100, true},                                       // another station
        {"A", "http://one", 200, false},       // back to the first one: still the same song
        {"B", "http://one", 300, true},        // the next title
        {"A", "http://one", 400, true},        // A again after B is a new hearing
        {"A", "http://one", 400 + 1800, true}, // and so is A half an hour later
    };
    for (const auto &o : offers)
        EXPECT_EQ(database.Add(Heard(o.Title, o.Url, o.At)), o.Added) << o.Title << " at " << o.At;
    EXPECT_EQ(Titles(database.Newest(100)), (std::vector<std::string>{"A", "A", "B", "X", "A"}));
    const auto newest = database.Newest(1).at(0);
    EXPECT_EQ(newest, (HistoryEntry{"A", "Station http://one", "1", "http://one", 2200}));
}

TEST_F(HistoryDatabaseTest, KeepsTheNewestUpToItsBoundAcrossReopening) {
    {
        HistoryDatabase database(File(), 5);
        for (int i = 0; i < 8; ++i)
            ASSERT_TRUE(database.Add(Heard("T" + std::to_string(i), "http://one", i * 10'000)));
        EXPECT_EQ(Titles(database.Newest(100)), (std::vector<std::string>{"T7", "T6", "T5", "T4", "T3"}));
        EXPECT_EQ(Titles(database.Newest(2)), (std::vector<std::string>{"T7", "T6"}));
    }
    HistoryDatabase again(File(), 5);
    ASSERT_TRUE(again.Add(Heard("T8", "http://one", 90'000)));
    EXPECT_EQ(Titles(again.Newest(100)), (std::vector<std::string>{"T8", "T7", "T6", "T5", "T4"}));
    EXPECT_EQ(HistoryDatabase::MostTitles, 10000);
}

TEST_F(HistoryDatabaseTest, AWriterKilledMidWayLeavesEveryTitleItWasToldWasAdded) {
    int toParent[2];
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(toParent[0]);
        try {
            HistoryDatabase database(File());
            for (int i = 0;; ++i) {
                database.Add(Heard("T" + std::to_string(i), "http://one", i * 10'000));
                if (write(toParent[1], &i, sizeof i) != sizeof i)
                    _exit(2);
            }
        } catch (...) {
            _exit(1);
        }
    }
    close(toParent[1]);
    int told = -1;
    int number = 0;
    while (told < 40 && read(toParent[0], &number, sizeof number) == sizeof number)
        told = number;
    kill(child, SIGKILL);
    while (read(toParent[0], &number, sizeof number) == sizeof number)
        told = number;
    close(toParent[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself: " << WEXITSTATUS(status);
    ASSERT_GE(told, 40);

    HistoryDatabase after(File());
    const auto titles = Titles(after.Newest(100'000));
    ASSERT_GE(titles.size(), static_cast<std::size_t>(told + 1));
    // Every title the writer was told of, the newest first; at most one more, whose commit the
    // kill came after.
    EXPECT_LE(titles.size(), static_cast<std::size_t>(told + 2));
    const std::size_t skip = titles.size() - static_cast<std::size_t>(told + 1);
    for (int i = 0; i <= told; ++i)
        EXPECT_EQ(titles[skip + static_cast<std::size_t>(told - i)], "T" + std::to_string(i));
    EXPECT_TRUE(after.Add(Heard("after", "http://one", 1)));
}

TEST_F(HistoryDatabaseTest, TwoWritersAtOnceLoseNoTitle) {
    // Two programs on one file (a start without a session bus beside another): each waits for the
    // other's commit instead of losing its title to "database is locked".
    constexpr int each = 150;
    auto write = [this](const std::string &Name, std::vector<std::string> &Failures) {
        try {
            HistoryDatabase database(File());
            for (int i = 0; i < each; ++i) {
                try {
                    if (!database.Add(Heard(Name + std::to_string(i), "http://" + Name, i * 10'000)))
                        Failures.push_back(Name + std::to_string(i) + " taken for a repeat");
                } catch (const EHistoryError &error) {
                    Failures.push_back(error.what());
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        } catch (const EHistoryError &error) {
            Failures.push_back(std::string("opening: ") + error.what());
        }
    };
    std::vector<std::string> firstFailures, secondFailures;
    {
        std::thread first(write, "one", std::ref(firstFailures));
        std::thread second(write, "two", std::ref(secondFailures));
        first.join();
        second.join();
    }
    EXPECT_TRUE(firstFailures.empty()) << firstFailures.size() << " lost, first: " << firstFailures.front();
    EXPECT_TRUE(secondFailures.empty())
        << secondFailures.size() << " lost, first: " << secondFailures.front();
    EXPECT_EQ(HistoryDatabase(File()).Newest(10'000).size(), static_cast<std::size_t>(2 * each));
}

TEST_F(HistoryDatabaseTest, AFileThatIsNoDatabaseIsReportedAsDamaged) {
    std::ofstream(File()) << std::string(8192, 'x');
    try {
        HistoryDatabase database(File());
        FAIL() << "opened";
    } catch (const EHistoryError &error) {
        EXPECT_TRUE(error.Damaged()) << error.what();
    }
}
