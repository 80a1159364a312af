#include "Player/PlaybackMachine.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace Player;
using namespace std::chrono_literals;

namespace {

const QString station = "http://radio.example/live";
const QString playlist = "http://radio.example/listen.pls";
const QString listed = "http://stream.example:8000/mp3";

std::string describe(const PlaybackMachine::Commands &commands) {
    std::ostringstream out;
    for (const PlaybackCommand &command : commands) {
        if (const auto *fetch = std::get_if<FetchPlaylist>(&command)) {
            out << "fetch(" << fetch->url.toStdString() << (fetch->probe ? ", probe" : "") << ") ";
        } else if (const auto *start = std::get_if<StartStream>(&command)) {
            out << "start(" << start->url.toStdString() << ") ";
        } else if (const auto *check = std::get_if<CheckCertificate>(&command)) {
            out << "check(" << check->url.toStdString() << ") ";
        } else if (std::holds_alternative<StopStream>(command)) {
            out << "stop ";
        } else {
            out << "reconnect(" << std::get<ScheduleReconnect>(command).delay.count() << "ms) ";
        }
    }
    return out.str();
}

struct Case {
    const char *name;
    std::vector<PlaybackEvent> before;
    PlaybackEvent event;
    PlaybackState state;
    PlaybackMachine::Commands commands;
};

const StreamFailed networkError{FailureKind::Network, "Could not read from resource."};
const StreamFailed notFound{FailureKind::NotFound, "Not Found"};
const StreamFailed unknownFormat{FailureKind::Unsupported, "Could not determine type of stream."};
const CertificateChecked certificateRefused{true, "SSL certificate problem: certificate has expired"};
const CertificateChecked certificateFine{false, ""};
const QString secureListed = "https://stream.example/mp3";

} // namespace

TEST(PlaybackMachine, Transitions) {
    using S = PlaybackState;
    const Case cases[] = {
        {"play a stream", {}, PlayRequested{station}, S::Connecting, {StartStream{station}}},
        {"play a playlist",
         {},
         PlayRequested{playlist},
         S::Connecting,
         {StopStream{}, FetchPlaylist{playlist}}},
        {"play nothing", {PlayRequested{station}}, PlayRequested{" "}, S::Stopped, {StopStream{}}},
        {"play the same station again",
         {PlayRequested{station}, StreamStarted{}},
         PlayRequested{station},
         S::Playing,
         {}},
        {"play another station",
         {PlayRequested{station}, StreamStarted{}},
         PlayRequested{listed},
         S::Connecting,
         {StartStream{listed}}},
        {"buffering while connecting", {PlayRequested{station}}, BufferingProgress{40}, S::Buffering, {}},
        {"full buffer waits for the engine",
         {PlayRequested{station}, BufferingProgress{40}},
         BufferingProgress{100},
         S::Buffering,
         {}},
        {"full buffer while connecting", {PlayRequested{station}}, BufferingProgress{100}, S::Connecting, {}},
        {"buffer runs low while playing",
         {PlayRequested{station}, StreamStarted{}},
         BufferingProgress{30},
         S::Buffering,
         {}},
        {"engine plays", {PlayRequested{station}, BufferingProgress{100}}, StreamStarted{}, S::Playing, {}},
        {"end of stream is a drop",
         {PlayRequested{station}, StreamStarted{}},
         StreamEnded{},
         S::Reconnecting,
         {StopStream{}, ScheduleReconnect{1s}}},
        {"network error while connecting looks at the certificate first",
         {PlayRequested{station}},
         networkError,
         S::Connecting,
         {StopStream{}, CheckCertificate{station}}},
        {"refused certificate gives up",
         {PlayRequested{station}, networkError},
         certificateRefused,
         S::Failed,
         {StopStream{}}},
        {"certificate found fine: a drop",
         {PlayRequested{station}, networkError},
         certificateFine,
         S::Reconnecting,
         {StopStream{}, ScheduleReconnect{1s}}},
        {"certificate looked at once until the stream starts",
         {PlayRequested{station}, networkError, certificateFine, ReconnectDue{}},
         networkError,
         S::Reconnecting,
         {StopStream{}, ScheduleReconnect{2s}}},
        {"network error while playing is a drop",
         {PlayRequested{station}, StreamStarted{}},
         networkError,
         S::Reconnecting,
         {StopStream{}, ScheduleReconnect{1s}}},
        {"the listed stream's certificate is looked at",
         {PlayRequested{playlist}, PlaylistResolved{secureListed}},
         networkError,
         S::Connecting,
         {StopStream{}, CheckCertificate{secureListed}}},
        {"network error of a non-HTTP address is a drop",
         {PlayRequested{"rtsp://radio.example/live"}},
         networkError,
         S::Reconnecting,
         {StopStream{}, ScheduleReconnect{1s}}},
        {"late look at a certificate after stop",
         {PlayRequested{station}, networkError, StopRequested{}},
         certificateRefused,
         S::Stopped,
         {}},
        {"playlist with a refused certificate gives up",
         {PlayRequested{playlist}},
         PlaylistFailed{FailureKind::Certificate, "SSL certificate problem"},
         S::Failed,
         {StopStream{}}},
        {"not found gives up", {PlayRequested{station}}, notFound, S::Failed, {StopStream{}}},
        {"unknown format looks for a playlist first",
         {PlayRequested{station}},
         unknownFormat,
         S::Connecting,
         {StopStream{}, FetchPlaylist{station, true}}},
        {"unknown format from a listed stream gives up",
         {PlayRequested{playlist}, PlaylistResolved{listed}},
         unknownFormat,
         S::Failed,
         {StopStream{}}},
        {"unknown format of a non-HTTP address gives up",
         {PlayRequested{"rtsp://radio.example/live"}},
         unknownFormat,
         S::Failed,
         {StopStream{}}},
        {"reconnect when due",
         {PlayRequested{station}, StreamEnded{}},
         ReconnectDue{},
         S::Connecting,
         {StartStream{station}}},
        {"reconnect a playlist fetches it again",
         {PlayRequested{playlist}, PlaylistResolved{listed}, StreamEnded{}},
         ReconnectDue{},
         S::Connecting,
         {StopStream{}, FetchPlaylist{playlist}}},
        {"late reconnect after stop",
         {PlayRequested{station}, StreamEnded{}, StopRequested{}},
         ReconnectDue{},
         S::Stopped,
         {}},
        {"stop while reconnecting",
         {PlayRequested{station}, StreamEnded{}},
         StopRequested{},
         S::Stopped,
         {StopStream{}}},
        {"stop while stopped", {}, StopRequested{}, S::Stopped, {}},
        {"stop after failure",
         {PlayRequested{station}, notFound},
         StopRequested{},
         S::Stopped,
         {StopStream{}}},
        {"pause while playing",
         {PlayRequested{station}, StreamStarted{}},
         PauseRequested{},
         S::Paused,
         {StopStream{}}},
        {"pause while stopped", {}, PauseRequested{}, S::Stopped, {}},
        {"play after pause",
         {PlayRequested{station}, StreamStarted{}, PauseRequested{}},
         PlayRequested{station},
         S::Connecting,
         {StartStream{station}}},
        {"play again after failure",
         {PlayRequested{station}, notFound},
         PlayRequested{station},
         S::Connecting,
         {StartStream{station}}},
        {"late engine events after stop",
         {PlayRequested{station}, StopRequested{}},
         StreamEnded{},
         S::Stopped,
         {}},
        {"late engine events after failure", {PlayRequested{station}, notFound}, networkError, S::Failed, {}},
        {"engine events while a playlist is fetched",
         {PlayRequested{playlist}},
         StreamStarted{},
         S::Connecting,
         {}},
        {"playlist names a stream",
         {PlayRequested{playlist}},
         PlaylistResolved{listed},
         S::Connecting,
         {StartStream{listed}}},
        {"playlist names nothing",
         {PlayRequested{playlist}},
         PlaylistResolved{""},
         S::Failed,
         {StopStream{}}},
        {"playlist names a playlist",
         {PlayRequested{playlist}},
         PlaylistResolved{"http://b.example/x.m3u"},
         S::Connecting,
         {FetchPlaylist{"http://b.example/x.m3u"}}},
        {"playlists naming playlists end",
         {PlayRequested{playlist}, PlaylistResolved{playlist}, PlaylistResolved{playlist},
          PlaylistResolved{playlist}},
         PlaylistResolved{playlist},
         S::Connecting,
         {StartStream{playlist}}},
        {"playlist unreachable is a drop",
         {PlayRequested{playlist}},
         PlaylistFailed{FailureKind::Network, "timeout"},
         S::Reconnecting,
         {StopStream{}, ScheduleReconnect{1s}}},
        {"playlist not found gives up",
         {PlayRequested{playlist}},
         PlaylistFailed{FailureKind::NotFound, "HTTP 404"},
         S::Failed,
         {StopStream{}}},
        {"late playlist after stop",
         {PlayRequested{playlist}, StopRequested{}},
         PlaylistResolved{listed},
         S::Stopped,
         {}},
        {"probe finds a playlist",
         {PlayRequested{station}, unknownFormat},
         PlaylistResolved{listed},
         S::Connecting,
         {StartStream{listed}}},
        {"probe finds no playlist",
         {PlayRequested{station}, unknownFormat},
         PlaylistFailed{FailureKind::Unsupported, "text/html"},
         S::Failed,
         {StopStream{}}},
        {"probe unreachable still gives up",
         {PlayRequested{station}, unknownFormat},
         PlaylistFailed{FailureKind::Network, "timeout"},
         S::Failed,
         {StopStream{}}},
        {"address found to be a playlist is fetched on reconnect",
         {PlayRequested{station}, unknownFormat, PlaylistResolved{listed}, StreamEnded{}},
         ReconnectDue{},
         S::Connecting,
         {StopStream{}, FetchPlaylist{station}}},
    };
    for (const Case &c : cases) {
        PlaybackMachine machine;
        for (const PlaybackEvent &event : c.before) {
            machine.handle(event);
        }
        const PlaybackMachine::Commands commands = machine.handle(c.event);
        EXPECT_EQ(machine.state(), c.state) << c.name;
        EXPECT_EQ(describe(commands), describe(c.commands)) << c.name;
    }
}

TEST(PlaybackMachine, DelayGrowsOverDropsAndResetsOncePlaying) {
    PlaybackMachine machine;
    machine.handle(PlayRequested{station});
    std::vector<std::chrono::milliseconds> delays;
    for (int drop = 0; drop < 6; ++drop) {
        machine.handle(networkError);
        // Looked at after the first failure only.
        machine.handle(certificateFine);
        delays.push_back(machine.reconnectDelay());
        machine.handle(ReconnectDue{});
    }
    EXPECT_EQ(delays, (std::vector<std::chrono::milliseconds>{1s, 2s, 4s, 8s, 10s, 10s}));

    machine.handle(StreamStarted{});
    machine.handle(StreamEnded{});
    EXPECT_EQ(machine.reconnectDelay(), 1s);
}

TEST(PlaybackMachine, AStationThatNeverComesBackIsGivenUp) {
    struct Case {
        const char *name;
        // What comes between the request and the drops counted.
        std::vector<PlaybackEvent> start;
        PlaybackEvent drop;
    };
    const Case cases[] = {
        {"a stream refused", {PlayRequested{station}}, networkError},
        {"a stream that ends", {PlayRequested{station}, StreamStarted{}}, StreamEnded{}},
        {"a playlist unreachable",
         {PlayRequested{playlist}},
         PlaylistFailed{FailureKind::Network, "timeout"}},
    };
    for (const Case &c : cases) {
        PlaybackMachine machine(Cumulo::TReconnectBackoff(1ms, 2ms));
        // A stream that never started has its certificate looked at once, before the drop counts.
        const auto drop = [&machine](const PlaybackEvent &event) {
            machine.handle(event);
            if (machine.state() == PlaybackState::Connecting)
                machine.handle(certificateFine);
        };
        for (const PlaybackEvent &event : c.start) {
            machine.handle(event);
        }
        for (int reconnect = 0; reconnect < PlaybackMachine::reconnectsBeforeGivingUp; ++reconnect) {
            drop(c.drop);
            ASSERT_EQ(machine.state(), PlaybackState::Reconnecting) << c.name << ", drop " << reconnect;
            machine.handle(ReconnectDue{});
        }
        EXPECT_EQ(describe(machine.handle(c.drop)), describe({StopStream{}})) << c.name;
        EXPECT_EQ(machine.state(), PlaybackState::Failed) << c.name;
        EXPECT_EQ(machine.failure(), FailureKind::Unreachable) << c.name;
        // Asked again, it tries again as many times.
        machine.handle(PlayRequested{station});
        drop(networkError);
        EXPECT_EQ(machine.state(), PlaybackState::Reconnecting) << c.name;
    }
}

TEST(PlaybackMachine, PlayingAgainStartsTheCountOfReconnectsAfresh) {
    PlaybackMachine machine(Cumulo::TReconnectBackoff(1ms, 2ms));
    machine.handle(PlayRequested{station});
    for (int round = 0; round < 3; ++round) {
        for (int reconnect = 0; reconnect < PlaybackMachine::reconnectsBeforeGivingUp; ++reconnect) {
            machine.handle(networkError);
            if (machine.state() == PlaybackState::Connecting)
                machine.handle(certificateFine);
            ASSERT_EQ(machine.state(), PlaybackState::Reconnecting) << "round " << round;
            machine.handle(ReconnectDue{});
        }
        machine.handle(StreamStarted{});
    }
    machine.handle(networkError);
    EXPECT_EQ(machine.state(), PlaybackState::Reconnecting);
}

TEST(PlaybackMachine, FailureKeepsItsKindAndDetail) {
    PlaybackMachine machine;
    machine.handle(PlayRequested{station});
    machine.handle(notFound);
    EXPECT_EQ(machine.failure(), FailureKind::NotFound);
    EXPECT_EQ(machine.failureDetail(), "Not Found");

    machine.handle(PlayRequested{station});
    machine.handle(unknownFormat);
    machine.handle(PlaylistFailed{FailureKind::Unsupported, "text/html"});
    EXPECT_EQ(machine.failure(), FailureKind::Unsupported);
    EXPECT_EQ(machine.failureDetail(), "Could not determine type of stream.");

    machine.handle(PlayRequested{station});
    machine.handle(networkError);
    machine.handle(certificateRefused);
    EXPECT_EQ(machine.failure(), FailureKind::Certificate);
    EXPECT_EQ(machine.failureDetail(), certificateRefused.detail);
}
