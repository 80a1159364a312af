// A window's cloud sequences take turns in the order asked; the close's turn ends those waiting
// and comes after the one running.
#include "shared/ui/CloudSequencer.h"

#include "shared/ui/SequenceEnded.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QCoroTimer>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace Tunewell {
namespace {

// A sequence: waits for its turn, notes what it got, and holds the turn until told to go.
struct Sequence {
    std::string Name;
    bool Last = false;
    bool Held = false;
    bool Ended = false;
    bool Go = false;
};

QCoro::Task<> TakeTurn(CloudSequencer &Sequencer, Sequence &Steps, std::vector<std::string> &Log) {
    CloudTurn turn;
    if (Steps.Last)
        turn = co_await Sequencer.LastTurn();
    else
        turn = co_await Sequencer.NextTurn();
    if (!turn) {
        Steps.Ended = true;
        Log.push_back(Steps.Name + " ended");
        co_return;
    }
    Steps.Held = true;
    Log.push_back(Steps.Name + " runs");
    while (!Steps.Go)
        co_await QCoro::sleepFor(std::chrono::milliseconds(2));
    Log.push_back(Steps.Name + (turn.MayGoOn() ? " goes on" : " stops"));
}

TEST(CloudSequencerTest, TurnsComeInOrderAndTheCloseEndsWhatWaits) {
    struct Case {
        const char *Name;
        // The sequences asked, in order; the one marked Last is the close's.
        std::vector<Sequence> Asked;
        std::vector<std::string> Log;
    };
    const std::vector<Case> cases{
        {"three in a row",
         {{"a"}, {"b"}, {"c"}},
         {"a runs", "a goes on", "b runs", "b goes on", "c runs", "c goes on"}},
        {"the close behind a running and a waiting one",
         {{"a"}, {"b"}, {"close", true}, {"after"}},
         {"a runs", "after ended", "b ended", "a stops", "close runs", "close goes on"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        CloudSequencer sequencer;
        int idle = 0;
        sequencer.OnIdle([&] { ++idle; });
        std::vector<Sequence> asked = c.Asked;
        std::vector<std::string> log;
        for (auto &sequence : asked)
            TakeTurn(sequencer, sequence, log);
        for (auto &sequence : asked)
            sequence.Go = true;
        EXPECT_TRUE(QTest::qWaitFor([&] { return sequencer.Idle(); }, 5000));
        EXPECT_EQ(log, c.Log);
        EXPECT_EQ(idle, 1);
    }
}

TEST(CloudSequencerTest, NothingStartsOnceTheCloseWasAsked) {
    CloudSequencer sequencer;
    std::vector<std::string> log;
    Sequence close{"close", true, false, false, true};
    close.Go = true;
    TakeTurn(sequencer, close, log);
    Sequence later{"later"};
    TakeTurn(sequencer, later, log);
    EXPECT_TRUE(sequencer.Closing());
    EXPECT_EQ(log, (std::vector<std::string>{"close runs", "close goes on", "later ended"}));
    EXPECT_TRUE(sequencer.Idle());
}

TEST(CloudSequencerTest, AnEndedTurnSaysSoBeforeAStep) {
    CloudTurn none;
    EXPECT_FALSE(none.MayGoOn());
    EXPECT_THROW(none.CheckMayGoOn(), ESequenceEnded);
}

} // namespace
} // namespace Tunewell

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
