#include "Cumulo/ReconnectBackoff.h"
#include "Cumulo/StreamEventDecoder.h"

#include <gtest/gtest.h>
#include <vector>

using namespace Cumulo;
using std::chrono::milliseconds;

namespace {

struct DecodeCase {
    const char *Name;
    TStreamEvent Event;
    TStreamEventKind Kind;
};

class DecodeEvent : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeEvent, Classifies) {
    EXPECT_EQ(DecodeStreamEvent(GetParam().Event).Kind, GetParam().Kind);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeEvent,
    testing::Values(DecodeCase{"KeepAlive", {"keep-alive", "null"}, TStreamEventKind::KeepAlive},
                    DecodeCase{"AuthRevokedWithText",
                               {"auth_revoked", "credential is no longer valid"},
                               TStreamEventKind::AuthRevoked},
                    DecodeCase{"PutObject", {"put", "{\"path\":\"/\",\"data\":1}"}, TStreamEventKind::Change},
                    DecodeCase{"NoData", {"put", ""}, TStreamEventKind::Ignored},
                    DecodeCase{"NotJSON", {"put", "{\"path\":"}, TStreamEventKind::NotJSON},
                    DecodeCase{"BrokenUTF8", {"put", "{\"a\":\"\xC3\"}"}, TStreamEventKind::NotJSON},
                    DecodeCase{
                        "NestedTooDeep",
                        {"put", "{\"data\":" + std::string(100000, '[') + std::string(100000, ']') + "}"},
                        TStreamEventKind::NotJSON},
                    DecodeCase{"JSONString", {"put", "\"text\""}, TStreamEventKind::NotObject},
                    DecodeCase{"JSONNull", {"cancel", "null"}, TStreamEventKind::NotObject},
                    DecodeCase{"JSONArray", {"put", "[1]"}, TStreamEventKind::NotObject}),
    [](const auto &Info) { return std::string(Info.param.Name); });

TEST(DecodeEvent, KeepsTheObjectAndNamesTheProblem) {
    const auto change = DecodeStreamEvent({"patch", "{\"b\":1,\"a\":2}"});
    EXPECT_EQ(change.Object.dump(), "{\"b\":1,\"a\":2}");
    EXPECT_EQ(DecodeStreamEvent({"put", "\"text\""}).Problem,
              "Data of event put is a JSON string, not an object");
    EXPECT_EQ(DecodeStreamEvent({"put", "oops"}).Problem, "Data of event put is not JSON: oops");
}

TEST(ReconnectBackoff, DoublesToItsCapAndStartsAgainAfterReset) {
    TReconnectBackoff backoff;
    std::vector<long> delays;
    for (int i = 0; i < 9; ++i)
        delays.push_back(backoff.NextDelay().count());
    EXPECT_EQ(delays, (std::vector<long>{500, 1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000}));
    backoff.Reset();
    EXPECT_EQ(backoff.NextDelay(), milliseconds(500));
}

} // namespace
