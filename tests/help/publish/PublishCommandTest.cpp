// tunewell-publish end to end: the real command against a local cloud on free ports.
#include "LocalCloud.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::json;
using TunewellTesting::LocalCloud;
using TunewellTesting::LocalCloudOptions;

struct CommandRun {
    int ExitCode;
    QStringList Out;
    QString Err;
};

const Json kOldCatalogue =
    Json::parse(R"({"-OLD0000000000000001":{"num":"1","nome":"Old One","serie":"7"}})");

class PublishCommandTest : public ::testing::Test {
protected:
    explicit PublishCommandTest(LocalCloudOptions Options = {}) : Cloud(std::move(Options)) {
        Cloud.exportEmulatorHosts();
        Cloud.seed("ESTACOES", kOldCatalogue);
    }

    CommandRun Publish(const QStringList &Arguments) {
        QProcess Process;
        Process.start(QStringLiteral(TUNEWELL_PUBLISH_BINARY), Arguments);
        EXPECT_TRUE(Process.waitForFinished(60'000));
        auto Out = QString::fromUtf8(Process.readAllStandardOutput()).split(QLatin1Char('\n'));
        if (Out.last().isEmpty())
            Out.removeLast();
        return {Process.exitCode(), Out, QString::fromUtf8(Process.readAllStandardError())};
    }

    QString List(const QByteArray &Bytes) {
        const auto Path = Folder.filePath(QStringLiteral("lista_radios.txt"));
        QFile File(Path);
        EXPECT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(Bytes);
        return Path;
    }

    LocalCloud Cloud;
    QTemporaryDir Folder;
};

TEST_F(PublishCommandTest, ReplacesTheCatalogueAndPrintsOneLinePerStation) {
    const auto Result = Publish({"catalogue", List("\"http://a|Alpha|Rock|SP|128|2|11\"\n"
                                                   "\"http://b|Beta|Jazz|RJ|64|2|12\"\n"
                                                   "\"http://c|Gama|Pop|MG|32|1|13\"\n")});
    EXPECT_EQ(Result.ExitCode, 0) << Result.Err.toStdString();
    const auto Catalogue = Cloud.read("ESTACOES");
    ASSERT_EQ(Catalogue.size(), 3u) << Catalogue.dump();
    QStringList Expected;
    int Number = 1;
    for (const auto &[Key, Station] : Catalogue.items()) {
        Expected << QStringLiteral("name: \"%1\"").arg(QString::fromStdString(Key));
        EXPECT_EQ(Station["num"], std::to_string(Number++));
    }
    EXPECT_EQ(Result.Out, Expected);
    EXPECT_EQ(Catalogue.begin().value()["nome"], "Alpha");
}

TEST_F(PublishCommandTest, PublishesTheVersionAsAMerge) {
    Cloud.seed("VERSOES", Json::parse(R"({"Software":"2.2","Url":"http://old","Notas":"keep"})"));
    const auto Result = Publish({"version", "2.3", "http://new/get"});
    EXPECT_EQ(Result.ExitCode, 0) << Result.Err.toStdString();
    EXPECT_EQ(Result.Out, (QStringList{R"(Software: "2.3")", R"(Url: "http:\/\/new\/get")"}));
    EXPECT_EQ(Cloud.read("VERSOES"),
              Json::parse(R"({"Software":"2.3","Url":"http://new/get","Notas":"keep"})"));
}

TEST_F(PublishCommandTest, FailuresEndNonZeroWithAClearMessageAndChangeNothing) {
    const auto Missing = Folder.filePath(QStringLiteral("missing.txt"));
    const auto NoFile = Publish({"catalogue", Missing});
    EXPECT_EQ(NoFile.ExitCode, 1);
    EXPECT_EQ(NoFile.Err.trimmed(), "tunewell-publish: " + Missing + ": No such file or directory");

    const auto Usage = Publish({"catalog", Missing});
    EXPECT_EQ(Usage.ExitCode, 2);
    EXPECT_TRUE(Usage.Err.startsWith(QStringLiteral("usage: tunewell-publish [--verbose] catalogue FILE")))
        << Usage.Err.toStdString();

    EXPECT_EQ(Cloud.read("ESTACOES"), kOldCatalogue);

    Cloud.stop();
    const auto Down = Publish({"catalogue", List("\"http://a|Alpha|Rock|SP|128|2|11\"\n")});
    EXPECT_EQ(Down.ExitCode, 1);
    EXPECT_TRUE(
        Down.Err.startsWith(QStringLiteral("tunewell-publish: sign-in with the service account failed: ")))
        << Down.Err.toStdString();
    EXPECT_TRUE(Down.Out.isEmpty());
}

TEST_F(PublishCommandTest, HelpAndVersionAnswerOnStandardOutputAndSendNothing) {
    const auto Help = Publish({"--help"});
    EXPECT_EQ(Help.ExitCode, 0);
    EXPECT_EQ(Help.Out.first(), "usage: tunewell-publish [--verbose] catalogue FILE");
    for (const auto *Variable : {"FIREBASE_DATABASE_EMULATOR_HOST", "FIREBASE_AUTH_EMULATOR_HOST"})
        EXPECT_TRUE(Help.Out.join('\n').contains(QLatin1String(Variable))) << Variable;
    EXPECT_TRUE(Help.Err.isEmpty());

    const auto Version = Publish({"--version"});
    EXPECT_EQ(Version.ExitCode, 0);
    EXPECT_EQ(Version.Out, QStringList{"tunewell-publish 2.2"});
    EXPECT_EQ(Cloud.read("ESTACOES"), kOldCatalogue);
}

class PublishCommandRefusedTest : public PublishCommandTest {
protected:
    PublishCommandRefusedTest()
        : PublishCommandTest(LocalCloudOptions{0, 0, true, {"--body-limit", "2048"}}) {}
};

TEST_F(PublishCommandRefusedTest, ACatalogueTheCloudRefusesLeavesTheOldOneWhole) {
    QByteArray Lines;
    for (int Number = 0; Number < 100; ++Number)
        Lines += "\"http://stream.example/" + QByteArray::number(Number) + "|Station|Rock|SP|128|2|" +
                 QByteArray::number(Number) + "\"\n";
    const auto Result = Publish({"catalogue", List(Lines)});
    EXPECT_EQ(Result.ExitCode, 1);
    ASSERT_EQ(Result.Out.size(), 1) << Result.Out.join('\n').toStdString();
    EXPECT_TRUE(Result.Out[0].startsWith(QStringLiteral("Post ESTACOES failed: ")))
        << Result.Out[0].toStdString();
    EXPECT_EQ(
        Result.Err.trimmed(),
        QStringLiteral("tunewell-publish: the catalogue was not written; the cloud keeps the previous one"));
    EXPECT_EQ(Cloud.read("ESTACOES"), kOldCatalogue);
}

} // namespace
