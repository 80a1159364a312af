#include "TunewellCloud/RulesText.h"
#include "TunewellCloud/SecurityRules.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using TunewellCloud::RulesFileError;
using TunewellCloud::RulesSyntaxError;
using TunewellCloud::SecurityRules;

namespace {

struct Broken {
    std::string text;
    int line;
    int column;
    const char *message; // a part of the message
};

TEST(RulesSyntaxTest, BrokenRulesNameTheirLineAndColumn) {
    const Broken cases[] = {
        // The JSON around the rules.
        {"", 1, 1, "unexpected end"},
        {"{\"rules\": {\".read\": true}", 1, 26, "expected '}'"},
        {"{\"rules\": {\".read\": tru}}", 1, 21, "unexpected character 't'"},
        {"{\"rules\": {}} x", 1, 15, "after the end"},
        {"{\"rules\": {\"a\": {}, \"a\": {}}}", 1, 21, "given twice"},
        {"{\"rules\": {\".read\": \"auth\n != null\"}}", 1, 26, "control character"},
        {"{\"rules\": {\".read\": \"\\q\"}}", 1, 23, "unknown escape"},
        {"{\"rules\": {\".read\": \"'\\u12G4'\"}}", 1, 24, "four hexadecimal digits"},
        {"{\"rules\": {\".read\": \"'\\ud83d'\"}}", 1, 24, "surrogates come in pairs"},
        {"{\"rules\": {\".read\": \"data.hasChildren(['a' 'b'])\"}}", 1, 44, "expected ',' or ']'"},
        {"/* never closed\n{\"rules\": {}}", 1, 1, "comment not closed"},
        {"[]", 1, 1, "member \"rules\""},
        {"{}", 1, 1, "member \"rules\""},
        {"{\"rules\": {}, \"extra\": 1}", 1, 15, "unknown member \"extra\""},
        // The rule tree.
        {"{\"rules\": {\".reed\": true}}", 1, 12, "unknown rule \".reed\""},
        {"{\"rules\": {\".read\": 1}}", 1, 21, "true, false or an expression"},
        {"{\"rules\": {\"a\": true}}", 1, 17, "an object"},
        {"{\"rules\": {\"$a\": {}, \"$b\": {}}}", 1, 22, "second wildcard beside \"$a\""},
        {"{\"rules\": {\"$\": {}}}", 1, 12, "not a wildcard name"},
        {"{\"rules\": {\"a.b\": {}}}", 1, 12, "not a key"},
        {"{\"rules\": {\".indexOn\": 3}}", 1, 24, ".indexOn"},
        // Expressions: the column is the character's in the file.
        {"{\"rules\": {\".read\": \"auth !! null\"}}", 1, 27, "unexpected '!'"},
        {"{\"rules\": {\".read\": \"auth != \"}}", 1, 30, "unexpected end of the rule"},
        {"{\"rules\": {\".read\": \"(auth != null\"}}", 1, 35, "expected ')'"},
        {"{\"rules\": {\".read\": \"'open\"}}", 1, 22, "text not closed"},
        {"{\"rules\": {\".read\": \"data.val() + 1 > 2\"}}", 1, 33, "'+' is not an operator"},
        {"{\"rules\": {\".read\": \"data.parent().exists()\"}}", 1, 27, "'parent()' is not a method"},
        {"{\"rules\": {\".read\": \"data.hasChild()\"}}", 1, 27, "takes 1 argument"},
        {"{\"rules\": {\".read\": \"data.val().matches('x')\"}}", 1, 41, "regular expression"},
        {"{\"rules\": {\".read\": \"data.val().matches(/(/)\"}}", 1, 41, "does not compile"},
        {"{\"rules\": {\".read\": \"data.val().matches(/x\"}}", 1, 41, "not closed with '/'"},
        {"{\"rules\": {\".read\": \"data.val().matches(/x/g)\"}}", 1, 41, "flag 'g'"},
        {"{\"rules\": {\".read\": \"data.val().matches(/(a)\\\\1/)\"}}", 1, 41, "does not compile"},
        {"{\"rules\": {\".read\": \"data.val().matches(/" + std::string(1001, 'a') + "/)\"}}", 1, 41,
         "longer than 1000"},
        {"{\"rules\": {\".read\": \"newData.exists()\"}}", 1, 22, "newData is only known"},
        {"{\"rules\": {\".read\": \"nobody == null\"}}", 1, 22, "unknown name 'nobody'"},
        {"{\"rules\": {\"a\": {\".read\": \"$id == 'x'\"}}}", 1, 28, "$id is not a wildcard"},
        // Escapes before the fault shift it in the file, not in the rule.
        {"{\"rules\": {\".read\": \"\\\"a\\\" == ?\"}}", 1, 31, "'?' is not an operator"},
        // Lines are counted, comments and all.
        {"{\n  // the catalogue\n  \"rules\": {\n    \".write\": \"auth != nul\"\n  }\n}", 4, 24,
         "unknown name 'nul'"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        try {
            SecurityRules::fromText(c.text);
            ADD_FAILURE() << "parsed";
        } catch (const RulesSyntaxError &error) {
            EXPECT_EQ(error.at().line, c.line);
            EXPECT_EQ(error.at().column, c.column);
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

TEST(RulesSyntaxTest, DeepNestingIsRefusedNotOverflowed) {
    const std::string deepJson = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_THROW(SecurityRules::fromText(deepJson), RulesSyntaxError);
    const std::string deepRule =
        "{\"rules\": {\".read\": \"" + std::string(100000, '(') + "true" + std::string(100000, ')') + "\"}}";
    EXPECT_THROW(SecurityRules::fromText(deepRule), RulesSyntaxError);
    const std::string negations = "{\"rules\": {\".read\": \"" + std::string(100000, '!') + "true\"}}";
    EXPECT_THROW(SecurityRules::fromText(negations), RulesSyntaxError);
    // A long chain of terms is no nesting.
    std::string chain = "true";
    for (int i = 0; i < 10000; ++i)
        chain += " && true";
    EXPECT_NO_THROW(SecurityRules::fromText("{\"rules\": {\".read\": \"" + chain + "\"}}"));
}

TEST(RulesSyntaxTest, WhatTheServiceAcceptsParses) {
    EXPECT_NO_THROW(SecurityRules::fromText(R"js({
        // Comments, as the service allows them.
        "rules": { /* everything below */
            ".read": "auth != null && (auth.uid == 'x' || auth.token.email_verified == true)",
            "a": {".indexOn": ["b", "c"], "$k": {".validate": "newData.isNumber() && newData.val() >= -1.5"}},
            "b": {".write": "!data.exists() && now > 0 && root.child('a/b').val() === null"},
            "c": {".validate": "newData.val().matches(/^[a-f]{2}$/i) && 'x' !== \"y\""},
            "d": {".read": "'\u00e9\ud83d\ude00' != ''"}
        }
    })js"));
    EXPECT_NO_THROW(SecurityRules::fromFile(TUNEWELL_RULES_FILE));
}

TEST(RulesSyntaxTest, FileErrorsNameTheFile) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("tunewell-rules-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto file = folder / "broken.rules.json";
    std::ofstream(file) << "{\n  \"rules\": {\n    \".read\": \"auth !=\"\n  }\n}\n";
    try {
        SecurityRules::fromFile(file);
        ADD_FAILURE() << "parsed";
    } catch (const RulesFileError &error) {
        EXPECT_EQ(std::string(error.what()), file.string() + ":3:22: unexpected end of the rule");
    }
    EXPECT_THROW(SecurityRules::fromFile(folder / "missing.json"), RulesFileError);
    std::filesystem::remove_all(folder);
}

} // namespace
