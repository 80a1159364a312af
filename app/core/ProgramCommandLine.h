#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace Tunewell {

// What the player's command line asks for instead of starting the program.
struct CommandLineAnswer {
    int ExitCode = 0;
    QString Text;
    bool ToStandardError = false;

    bool Refused() const { return ExitCode != 0; }
};

// argv as text, the program's name first.
QStringList CommandLineArguments(int argc, char **argv);

// The player takes no arguments; --help and --version are answered, anything else is refused.
// Arguments starts with the program's name. Qt's own options (-platform, -style, ...) are still
// present before the application object has taken them out, so callers ask twice: once before
// that, acting on answers that are not refusals, and once after, acting on any answer.
std::optional<CommandLineAnswer> AnswerCommandLine(const QStringList &Arguments);

// Writes the answer to standard output or standard error and returns its exit code.
int PrintCommandLineAnswer(const CommandLineAnswer &Answer);

} // namespace Tunewell
