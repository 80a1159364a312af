#include "app/core/SleepCountdown.h"

#include <gtest/gtest.h>
#include <vector>

using namespace Tunewell;
using namespace std::chrono_literals;
using Step = SleepCountdown::Step;

namespace {

const SleepCountdown::Clock::time_point kStart{};

struct Moment {
    std::chrono::milliseconds At;
    int VolumeBefore;
    Step Expected;
};

// Advances a countdown of Length through the moments, each from the start.
void Walk(std::chrono::seconds Length, const std::vector<Moment> &Moments) {
    SleepCountdown countdown;
    EXPECT_EQ(countdown.Start(Length, kStart), Step{});
    for (const auto &m : Moments) {
        const Step step = countdown.Advance(kStart + m.At, m.VolumeBefore);
        EXPECT_EQ(step.Stop, m.Expected.Stop) << m.At.count() << " ms";
        EXPECT_EQ(step.Volume, m.Expected.Volume) << m.At.count() << " ms";
    }
}

} // namespace

TEST(SleepCountdown, FadesTheLastThirtySecondsThenStopsAndRestores) {
    Walk(15min, {
                    {0ms, 80, {}},
                    {14min, 80, {}},
                    {14min + 30s, 80, {}},          // the fade starts at the level the user left
                    {14min + 45s, 80, {false, 40}}, // half way
                    {14min + 45s + 100ms, 40, {}},  // the level has not moved yet
                    {14min + 59s, 40, {false, 3}},
                    {15min, 3, {true, 80}}, // stop first, then the slider goes back
                    {16min, 80, {}},        // over: nothing more
                });
}

TEST(SleepCountdown, TheListenersOwnLevelDuringTheFadeEndsTheFadeAndStays) {
    Walk(60s, {
                  {45s, 80, {false, 40}},
                  {50s, 55, {}}, // the listener turned it up: no more fading
                  {55s, 55, {}},
                  {58s, 20, {}},         // nor after a second change of theirs
                  {60s, 20, {true, {}}}, // playback still stops, and their level stays
                  {61s, 20, {}},
              });
    // Turned down to where the fade would have been by now counts as well.
    Walk(60s, {{45s, 80, {false, 40}}, {50s, 27, {}}, {55s, 27, {}}, {60s, 27, {true, {}}}});
}

TEST(SleepCountdown, AClockJumpPastTheEndStopsWithoutAFade) {
    // A machine that slept through the end: no fade to play, the volume is left alone.
    Walk(30min, {{10min, 55, {}}, {2h, 55, {true, 55}}});
}

TEST(SleepCountdown, ALengthShorterThanTheFadeFadesFromTheFirstMoment) {
    Walk(10s, {{0ms, 60, {false, 20}}, {5s, 20, {false, 10}}, {10s, 10, {true, 60}}});
}

TEST(SleepCountdown, CancelAndRestartUndoAFadeUnderWay) {
    SleepCountdown countdown;
    countdown.Start(60s, kStart);
    EXPECT_EQ(countdown.Advance(kStart + 45s, 70), (Step{false, 35}));
    EXPECT_TRUE(countdown.Fading());
    EXPECT_EQ(countdown.Start(60s, kStart + 46s), (Step{false, 70}));
    EXPECT_FALSE(countdown.Fading());
    EXPECT_EQ(countdown.Remaining(kStart + 46s), 60s);
    EXPECT_EQ(countdown.Advance(kStart + 91s, 70), (Step{false, 35}));
    EXPECT_EQ(countdown.Cancel(), (Step{false, 70}));
    EXPECT_FALSE(countdown.Running());
    EXPECT_EQ(countdown.Remaining(kStart + 92s), 0s);
    // A fade the listener ended has nothing to undo either.
    countdown.Start(60s, kStart);
    EXPECT_EQ(countdown.Advance(kStart + 45s, 70), (Step{false, 35}));
    EXPECT_EQ(countdown.Advance(kStart + 46s, 50), Step{});
    EXPECT_FALSE(countdown.Fading());
    EXPECT_TRUE(countdown.Running());
    EXPECT_EQ(countdown.Cancel(), Step{});
    // Before the fade there is nothing to undo.
    countdown.Start(60s, kStart);
    EXPECT_EQ(countdown.Cancel(), Step{});
    EXPECT_EQ(countdown.Advance(kStart + 2min, 70), Step{});
}
