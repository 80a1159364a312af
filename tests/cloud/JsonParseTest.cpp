#include "Cumulo/JsonParse.h"

#include "Cumulo/JsonText.h"

#include <functional>
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

TEST(ParseJSON, KeepsNestingUpToItsLimitAndRefusesDeeperText) {
    const auto arrays = [](std::size_t Depth) { return std::string(Depth, '[') + std::string(Depth, ']'); };
    const auto objects = [](std::size_t Depth) {
        std::string text;
        for (std::size_t i = 0; i < Depth; ++i)
            text += "{\"a\":";
        return text + "1" + std::string(Depth, '}');
    };
    for (const auto &nested : {std::function<std::string(std::size_t)>(arrays),
                               std::function<std::string(std::size_t)>(objects)}) {
        const std::string deepestText = nested(Cumulo::MaxJSONNesting);
        const auto deepest = ParseJSON(deepestText);
        ASSERT_TRUE(deepest.has_value());
        EXPECT_EQ(Cumulo::FullJsonText(*deepest), deepestText);
        // Writing a value nested 100,000 levels deep overflowed the stack; such text is not taken.
        EXPECT_FALSE(ParseJSON(nested(Cumulo::MaxJSONNesting + 1)).has_value());
        EXPECT_FALSE(ParseJSON(nested(100000)).has_value());
    }
}
