#include "Cumulo/JsonParse.h"

#include <gtest/gtest.h>
#include <string>

using Cumulo::ParseJSON;
using Cumulo::TJSONValue;

namespace {

std::string MemberNames(const TJSONValue &Object) {
    std::string names;
    for (const auto &item : Object.items())
        names += item.key() + ",";
    return names;
}

} // namespace

TEST(ParseJSON, AgreesWithTheLibraryOnEveryKindOfValue) {
    const char *cases[] = {
        "null",
        "true",
        "false",
        "0",
        "-12",
        "18446744073709551615",
        "1.5e3",
        "\"a\\u00e3\\/b\"",
        "[]",
        "{}",
        "[1,[2,[3,{}]],{\"a\":[null]}]",
        "{\"b\":1,\"a\":{\"d\":2,\"c\":[true,false]}}",
        " \t\n{ \"x\" : \"y\" }\r\n",
    };
    for (const char *text : cases) {
        SCOPED_TRACE(text);
        const auto parsed = ParseJSON(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->dump(), TJSONValue::parse(text).dump());
    }
}

TEST(ParseJSON, RejectsWhatIsNotJSON) {
    for (const char *text : {"", "nul", "{", "{\"a\":}", "[1,]", "{\"a\":1}x", "'a'", "\"\\x\""}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseJSON(text).has_value());
    }
}

TEST(ParseJSON, KeepsMemberOrderInSmallAndLargeObjects) {
    std::string text = "{";
    std::string expected;
    for (int i = 40; i > 0; --i) {
        text += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + (i > 1 ? "," : "}");
        expected += "k" + std::to_string(i) + ",";
    }
    const auto parsed = ParseJSON(text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(MemberNames(*parsed), expected);
    EXPECT_EQ(MemberNames(*ParseJSON("{\"z\":1,\"a\":2,\"m\":3}")), "z,a,m,");
}

TEST(ParseJSON, RepeatedKeyKeepsFirstPlaceAndLastValue) {
    std::string large = "{\"dup\":0";
    for (int i = 0; i < 30; ++i)
        large += ",\"k" + std::to_string(i) + "\":" + std::to_string(i);
    large += ",\"dup\":{\"x\":1}}";
    for (const std::string &text : {std::string("{\"a\":1,\"b\":2,\"a\":3}"), large}) {
        const auto parsed = ParseJSON(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->dump(), TJSONValue::parse(text).dump());
    }
}

TEST(ParseJSON, DeepNestingNeitherCrashesNorLoses) {
    const std::string text = std::string(5000, '[') + std::string(5000, ']');
    const auto parsed = ParseJSON(text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_TRUE(parsed->is_array());
}
