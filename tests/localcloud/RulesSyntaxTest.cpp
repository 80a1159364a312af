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
        {"{\"rules\": {\".read\": \"data.val().matches(/(/)\"}}", 1, 42, "'(' not closed"},
        {"{\"rules\": {\".read\": \"data.val().matches(/x\"}}", 1, 41, "not closed with '/'"},
        {"{\"rules\": {\".read\": \"data.val().matches(/x/g)\"}}", 1, 44, "flag 'g'"},
        {"{\"rules\": {\".read\": \"data.val().matches(/(a)\\\\1/)\"}}", 1, 45, "'\\1' is not an escape"},
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

// A pattern as written in the file, up to and with the literal's closing '/' and its flags; the
// mark's '^' stands under the character the refusal names.
struct Pattern {
    const char *written;
    const char *mark;
    const char *message; // a part of the message
};

TEST(RulesSyntaxTest, RegularExpressionsAreTheServicesOwnSubset) {
    const std::string before = R"({"rules": {"a": {".validate": "newData.val().matches(/)";
    const auto rulesWith = [&](const std::string &written) { return before + written + ")\"}}}"; };
    const char *accepted[] = {
        // The program's own.
        "^[0-9A-F]{12}$/",
        "^(-?[0-9]+)?$/",
        // Every documented piece.
        R"(\\s\\w\\d\\S\\W\\D/)",
        "^a.b*c+d?$/",
        "a{2}b{2,}c{0,3}d{1000}/",
        "(ab|cd)+|e/",
        "[akz][a-z][^a-z0-9_][-a][a-][/][$^]/",
        R"([\\w.-]+@[\\w.]+/)",
        R"(\\.\\*\\+\\?\\(\\)\\[\\]\\{\\}\\|\\^\\$\\\\\\/\\-/)",
        "^$/",
        "\u00e9+[\u00e0-\u00ff]/",
        "^abc$/i",
    };
    for (const char *written : accepted)
        EXPECT_NO_THROW(SecurityRules::fromText(rulesWith(written))) << written;

    const Pattern refused[] = {
        // Groups other than plain ones.
        {"(?:a)/", " ^", "plain ( ) only"},
        {"a(?=b)/", "  ^", "plain ( ) only"},
        {"a(?!b)/", "  ^", "plain ( ) only"},
        {"(?<n>a)/", " ^", "plain ( ) only"},
        {"()/", "^", "an empty group"},
        {"(/", "^", "'(' not closed"},
        {"a)/", " ^", "')' without its '('"},
        // Escapes other than the six classes and a sign.
        {R"(\\bword/)", "^", R"('\b' is not an escape)"},
        {R"(a\\B/)", " ^", R"('\B' is not an escape)"},
        {R"((a)\\1/)", "   ^", R"('\1' is not an escape)"},
        {R"(\\x41/)", "^", R"('\x' is not an escape)"},
        {R"(a\\u00e9/)", " ^", R"('\u' is not an escape)"},
        {R"(\\n/)", "^", R"('\n' is not an escape)"},
        {R"(\\cA/)", "^", R"('\c' is not an escape)"},
        // Anchors anywhere but first and last.
        {"a^b/", " ^", "'^' only as the pattern's first"},
        {"(^a)/", " ^", "'^' only as the pattern's first"},
        {"a$b/", " ^", "'$' only as the pattern's last"},
        {"(a$)/", "  ^", "'$' only as the pattern's last"},
        // Quantifiers: greedy, one at a time, after something.
        {"a*?/", "  ^", "lazy"},
        {"a+?/", "  ^", "lazy"},
        {"a{2}?/", "    ^", "lazy"},
        {"a**/", "  ^", "repeats a quantifier"},
        {"*a/", "^", "repeats nothing"},
        {"a|+/", "  ^", "repeats nothing"},
        {"^*/", " ^", "repeats nothing"},
        // Counts.
        {"a{/", " ^", "starts a count"},
        {"a{,3}/", " ^", "starts a count"},
        {"a{1,2,3}/", " ^", "starts a count"},
        {"a{3,2}/", " ^", "most is below its least"},
        {"a{1001}/", " ^", "above 1000"},
        {"a{0,1001}/", " ^", "above 1000"},
        {"(a{1000}){11}/", "^", "unroll it past 10000"},
        {"a}/", " ^", "stands alone"},
        {"a]/", " ^", "stands alone"},
        // Sets.
        {"[]/", " ^", "an empty set"},
        {"[^]/", "  ^", "an empty set"},
        {"[[:alpha:]]/", " ^", "'[' inside a set"},
        {"[z-a]/", " ^", "out of order"},
        {R"([\\d-z]/)", " ^", "from or to a class"},
        // Alternatives and the rest.
        {"a|/", "  ^", "an empty alternative"},
        {"|a/", "^", "an empty alternative"},
        {"(a|)/", "   ^", "an empty alternative"},
        {"/", "^", "an empty regular expression"},
        {R"(a\u0001/)", " ^", "a control character"},
        // Flags: i alone, once.
        {"a/g", "  ^", "flag 'g'"},
        {"a/iu", "   ^", "flag 'u'"},
        {"a/ii", "   ^", "'i' given twice"},
    };
    for (const auto &c : refused) {
        SCOPED_TRACE(c.written);
        try {
            SecurityRules::fromText(rulesWith(c.written));
            ADD_FAILURE() << "accepted";
        } catch (const RulesSyntaxError &error) {
            EXPECT_EQ(error.at().line, 1);
            EXPECT_EQ(error.at().column, static_cast<int>(before.size() + 1 + std::string(c.mark).find('^')));
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

// A rule as written in the file under a place with a wildcard; the mark's '^' stands under the
// expression the refusal names.
struct Typed {
    const char *kind;
    const char *rule;
    const char *mark;
    const char *message; // a part of the message
};

TEST(RulesSyntaxTest, RulesThatCannotBeBooleanAreRefused) {
    const auto before = [](const std::string &kind) { return R"({"rules": {"$id": {")" + kind + R"(": ")"; };
    const auto rulesWith = [&](const std::string &kind, const std::string &rule) {
        return before(kind) + rule + "\"}}}";
    };
    const Typed refused[] = {
        {".read", "auth.uid", "^", "a rule must be boolean, not a text"},
        {".read", "'yes'", "^", "not a text"},
        {".read", "$id", "^", "not a text"},
        {".read", "1", "^", "not a number"},
        {".read", "-1", "^", "not a number"},
        {".read", "now", "^", "not a number"},
        {".read", "null", "^", "not null"},
        {".read", "data", "^", "not a node"},
        {".read", "root.child('a')", "^", "not a node"},
        {".read", "auth", "^", "not auth"},
        {".read", "auth.token", "^", "not auth.token"},
        {".read", "['a']", "^", "not a list"},
        {".read", "/a/", "^", "not a regular expression"},
        {".write", "newData.child('a')", "^", "not a node"},
        {".validate", "newData.val().length", "^", "not a number"},
        // The operands of !, && and || are boolean too, wherever they stand.
        {".read", "auth.uid && true", "^", "each operand of '&&' must be boolean, not a text"},
        {".read", "true || 'x'", "        ^", "each operand of '||'"},
        {".read", "!data", " ^", "the operand of '!'"},
        {".read", "data.child(auth.uid || 'a').exists()", "           ^", "each operand of '||'"},
        {".read", "(1 && true) == true", " ^", "each operand of '&&'"},
    };
    for (const auto &c : refused) {
        SCOPED_TRACE(std::string(c.kind) + ": " + c.rule);
        const std::string text = rulesWith(c.kind, c.rule);
        try {
            SecurityRules::fromText(text);
            ADD_FAILURE() << "accepted";
        } catch (const RulesSyntaxError &error) {
            EXPECT_EQ(error.at().line, 1);
            EXPECT_EQ(error.at().column,
                      static_cast<int>(before(c.kind).size() + 1 + std::string(c.mark).find('^')));
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    // Boolean, or known only when it runs: a value read from the tree or a claim of the token,
    // which grants nothing unless it is true.
    const std::pair<const char *, const char *> accepted[] = {
        {".read", "auth != null"},
        {".read", "data.exists() && !data.hasChild('x')"},
        {".read", "data.val()"},
        {".read", "!data.child('shut').val()"},
        {".read", "auth.token.email_verified"},
        {".validate", "newData.val()"},
        {".validate", "newData.isString() && newData.val().matches(/^a/)"},
        {".write", "$id.beginsWith('a') || root.child('x').val() == 1"},
    };
    for (const auto &[kind, rule] : accepted)
        EXPECT_NO_THROW(SecurityRules::fromText(rulesWith(kind, rule))) << kind << ": " << rule;
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
