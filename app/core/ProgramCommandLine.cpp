#include "app/core/ProgramCommandLine.h"

#include "Tunewell/BuildValues.h"

#include <QCommandLineParser>
#include <cstdio>

namespace Tunewell {

namespace {

constexpr int kRefused = 2;

const QString kProgram = QStringLiteral("tunewell");

QString HelpText(const QCommandLineParser &Parser) {
    // The parser's own first line names the executable only once an application object exists;
    // this one is the same at every moment.
    QString Options = Parser.helpText();
    Options.remove(0, Options.indexOf(QLatin1Char('\n')) + 1);
    return QStringLiteral("Usage: %1 [options]\n").arg(kProgram) + Options +
           QStringLiteral("\nEnvironment:\n"
                          "  FIREBASE_DATABASE_EMULATOR_HOST=host:port\n"
                          "      Sends the database requests to http://host:port instead of the\n"
                          "      cloud database built into the program.\n"
                          "  FIREBASE_AUTH_EMULATOR_HOST=host:port\n"
                          "      Sends the identity and token requests to http://host:port instead of\n"
                          "      the cloud services built into the program.\n"
                          "  TUNEWELL_CA_FILE=file\n"
                          "      Trusts the certificate authority of this PEM file beside the system's\n"
                          "      store, for the cloud and the stations (a cloud of one's own).\n");
}

} // namespace

QStringList CommandLineArguments(int argc, char **argv) {
    QStringList Arguments;
    for (int Index = 0; Index < argc; ++Index)
        Arguments << QString::fromLocal8Bit(argv[Index]);
    return Arguments;
}

std::optional<CommandLineAnswer> AnswerCommandLine(const QStringList &Arguments) {
    QCommandLineParser Parser;
    Parser.setApplicationDescription(
        QStringLiteral(
            "Tunewell %1: internet radio stations from a shared catalogue beside a stream player.\n"
            "A click on a station plays it; the catalogue is read anew at every start.")
            .arg(QString::fromLatin1(BuildValues::kVersion)));
    const QCommandLineOption Help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption Version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the program's version and exits."));
    Parser.addOption(Help);
    Parser.addOption(Version);
    const bool Understood = Parser.parse(Arguments);

    if (Parser.isSet(Help))
        return CommandLineAnswer{0, HelpText(Parser)};
    if (Parser.isSet(Version))
        return CommandLineAnswer{0, kProgram + QLatin1Char(' ') + QString::fromLatin1(BuildValues::kVersion) +
                                        QLatin1Char('\n')};
    QString Refusal;
    if (!Understood)
        Refusal = Parser.errorText();
    else if (!Parser.positionalArguments().isEmpty())
        Refusal = QStringLiteral("Unexpected argument '%1'.").arg(Parser.positionalArguments().constFirst());
    if (Refusal.isEmpty())
        return std::nullopt;
    return CommandLineAnswer{kRefused, QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(kProgram, Refusal),
                             true};
}

int PrintCommandLineAnswer(const CommandLineAnswer &Answer) {
    std::FILE *Stream = Answer.ToStandardError ? stderr : stdout;
    std::fputs(Answer.Text.toLocal8Bit().constData(), Stream);
    std::fflush(Stream);
    return Answer.ExitCode;
}

} // namespace Tunewell
