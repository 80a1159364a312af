#include "Cumulo/EventStreamParser.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

using Cumulo::TEventStreamParser;
using Cumulo::TStreamEvent;

namespace {

std::vector<TStreamEvent> FeedAll(TEventStreamParser &Parser, const std::vector<std::string> &Arrivals) {
    std::vector<TStreamEvent> events;
    for (const auto &arrival : Arrivals)
        for (auto &event : Parser.Feed(arrival))
            events.push_back(std::move(event));
    return events;
}

const std::string Put = "event: put\ndata: {\"path\":\"/\",\"data\":\"r\xC3\xA1\x64io\"}\n\n";
const TStreamEvent PutEvent{"put", "{\"path\":\"/\",\"data\":\"r\xC3\xA1\x64io\"}"};

struct WholeStreamCase {
    const char *Name;
    std::string Stream;
    std::vector<TStreamEvent> Expected;
};

class WholeStream : public testing::TestWithParam<WholeStreamCase> {};

TEST_P(WholeStream, GivesTheEvents) {
    TEventStreamParser parser;
    EXPECT_EQ(parser.Feed(GetParam().Stream), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WholeStream,
    testing::Values(
        WholeStreamCase{"LineFeeds", Put, {PutEvent}},
        WholeStreamCase{
            "CarriageReturnLineFeeds", "event: put\r\ndata: {\"a\":1}\r\n\r\n", {{"put", "{\"a\":1}"}}},
        WholeStreamCase{"CarriageReturns", "event: put\rdata: {\"a\":1}\r\r", {{"put", "{\"a\":1}"}}},
        WholeStreamCase{
            "MixedLineEnds", "event: a\r\ndata: 1\n\revent: b\rdata: 2\r\n\n", {{"a", "1"}, {"b", "2"}}},
        WholeStreamCase{"TwoEventsInOneArrival",
                        "event: put\ndata: {\"a\":1}\n\nevent: patch\ndata: {\"b\":2}\n\n",
                        {{"put", "{\"a\":1}"}, {"patch", "{\"b\":2}"}}},
        WholeStreamCase{"IncompleteEventWaits", "event: put\ndata: {\"a\":1}\n", {}},
        WholeStreamCase{"KeepAlive", "event: keep-alive\ndata: null\n\n", {{"keep-alive", "null"}}},
        WholeStreamCase{"DataLinesJoined", "event: x\ndata: 1\ndata: 2\n\n", {{"x", "1\n2"}}},
        WholeStreamCase{"EmptyData", "event: x\ndata: \n\n", {{"x", ""}}},
        WholeStreamCase{"NoSpaceAfterColon", "event:x\ndata:{}\n\n", {{"x", "{}"}}},
        WholeStreamCase{"OnlyOneSpaceRemoved", "event: x\ndata:  1\n\n", {{"x", " 1"}}},
        WholeStreamCase{
            "CommentsAndUnknownFieldsSkipped", ": hi\nid: 7\nretry: 5\nevent: x\ndata: 1\n\n", {{"x", "1"}}},
        WholeStreamCase{"BlankLinesAloneGiveNothing", "\n\r\n\r\n", {}},
        WholeStreamCase{"ByteOrderMarkAtStart",
                        "\xEF\xBB\xBF"
                        "event: x\ndata: 1\n\n",
                        {{"x", "1"}}}),
    [](const auto &Info) { return std::string(Info.param.Name); });

// Every way of cutting one stream in two, and in single bytes, gives the same events.
TEST(EventStreamParser, AnySplitGivesTheSameEvents) {
    const std::vector<std::string> streams = {
        Put + "event: keep-alive\ndata: null\n\n",
        "event: put\r\ndata: {\"x\":\"\xE2\x82\xAC\xF0\x9F\x8E\xB5\"}\r\n\r\nevent: patch\r\ndata: "
        "{}\r\n\r\n",
        "event: put\rdata: {\"x\":1}\r\revent: patch\rdata: {}\r\r",
    };
    for (const auto &stream : streams) {
        TEventStreamParser whole;
        const auto expected = whole.Feed(stream);
        ASSERT_EQ(expected.size(), 2u);
        for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
            TEventStreamParser parser;
            EXPECT_EQ(FeedAll(parser, {stream.substr(0, cut), stream.substr(cut)}), expected)
                << "cut at " << cut << " of " << testing::PrintToString(stream);
        }
        std::vector<std::string> bytes;
        for (char c : stream)
            bytes.emplace_back(1, c);
        TEventStreamParser parser;
        EXPECT_EQ(FeedAll(parser, bytes), expected);
    }
}

TEST(EventStreamParser, EventCompletedByALaterArrivalComesOnceWhole) {
    TEventStreamParser parser;
    EXPECT_TRUE(parser.Feed("event: cha").empty());
    EXPECT_TRUE(parser.Feed("nge\nda").empty());
    EXPECT_TRUE(parser.Feed("ta: {\"a\":").empty());
    EXPECT_EQ(parser.Feed("1}\n\nevent: x"), (std::vector<TStreamEvent>{{"change", "{\"a\":1}"}}));
    EXPECT_EQ(parser.Feed("\ndata: 2\n\n"), (std::vector<TStreamEvent>{{"x", "2"}}));
}

TEST(EventStreamParser, ResetDropsAHalfEventOfTheOldConnection) {
    TEventStreamParser parser;
    parser.Feed("event: put\ndata: {\"a\":");
    parser.Reset();
    EXPECT_EQ(parser.Feed("event: x\ndata: 1\n\n"), (std::vector<TStreamEvent>{{"x", "1"}}));
}

TEST(EventStreamParser, RefusesAnEventLargerThanItsLimit) {
    TEventStreamParser parser(16);
    EXPECT_NO_THROW(parser.Feed("event: x\ndata: 1\n\n"));
    EXPECT_THROW(parser.Feed("data: 0123456789abcdef"), std::length_error);
    TEventStreamParser lines(16);
    EXPECT_THROW(lines.Feed("data: 12345\ndata: 67890\ndata: abcde\n"), std::length_error);
}

} // namespace
