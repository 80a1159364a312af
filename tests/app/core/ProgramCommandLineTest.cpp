#include "app/core/ProgramCommandLine.h"

#include <gtest/gtest.h>

namespace {

using Tunewell::AnswerCommandLine;

QStringList Line(std::initializer_list<const char *> Words) {
    QStringList Arguments{QStringLiteral("/usr/bin/tunewell")};
    for (const char *Word : Words)
        Arguments << QString::fromUtf8(Word);
    return Arguments;
}

TEST(ProgramCommandLineTest, WithoutArgumentsTheProgramStarts) {
    EXPECT_FALSE(AnswerCommandLine(Line({})).has_value());
}

TEST(ProgramCommandLineTest, HelpNamesTheProgramAndItsVariables) {
    for (const char *Word : {"--help", "-h", "-?"}) {
        const auto Answer = AnswerCommandLine(Line({Word}));
        ASSERT_TRUE(Answer) << Word;
        EXPECT_EQ(Answer->ExitCode, 0) << Word;
        EXPECT_FALSE(Answer->ToStandardError) << Word;
        EXPECT_TRUE(Answer->Text.startsWith(QStringLiteral("Usage: tunewell [options]\n"))) << Word;
        for (const char *Variable :
             {"FIREBASE_DATABASE_EMULATOR_HOST=host:port", "FIREBASE_AUTH_EMULATOR_HOST=host:port",
              "TUNEWELL_CA_FILE=file", "--version"})
            EXPECT_TRUE(Answer->Text.contains(QString::fromLatin1(Variable))) << Word << " " << Variable;
    }
}

TEST(ProgramCommandLineTest, VersionIsOneLine) {
    for (const char *Word : {"--version", "-v"}) {
        const auto Answer = AnswerCommandLine(Line({Word}));
        ASSERT_TRUE(Answer) << Word;
        EXPECT_EQ(Answer->ExitCode, 0);
        EXPECT_EQ(Answer->Text, QStringLiteral("tunewell 2.2\n"));
    }
}

// Before the application object has taken Qt's own options out, they must not stand in the way
// of --help or --version; what is still unknown afterwards is refused.
TEST(ProgramCommandLineTest, UnknownWordsAreRefusedUnlessHelpOrVersionIsAsked) {
    struct Case {
        std::initializer_list<const char *> Words;
        int ExitCode;
        const char *Says;
    };
    const Case Cases[] = {
        {{"-platform", "offscreen", "--version"}, 0, "tunewell 2.2"},
        {{"--bogus", "--help"}, 0, "Usage: tunewell"},
        {{"--bogus"}, 2, "Unknown option 'bogus'"},
        {{"-x"}, 2, "Unknown option 'x'"},
        {{"http://127.0.0.1:8000/demo.mp3"}, 2, "Unexpected argument 'http://127.0.0.1:8000/demo.mp3'"},
    };
    for (const Case &Each : Cases) {
        const auto Answer = AnswerCommandLine(Line(Each.Words));
        ASSERT_TRUE(Answer) << Each.Says;
        EXPECT_EQ(Answer->ExitCode, Each.ExitCode) << Each.Says;
        EXPECT_EQ(Answer->Refused(), Each.ExitCode != 0) << Each.Says;
        EXPECT_EQ(Answer->ToStandardError, Answer->Refused()) << Each.Says;
        EXPECT_TRUE(Answer->Text.contains(QString::fromUtf8(Each.Says))) << Answer->Text.toStdString();
        if (Answer->Refused()) {
            EXPECT_TRUE(Answer->Text.endsWith(QStringLiteral("Try 'tunewell --help'.\n")));
        }
    }
}

} // namespace
