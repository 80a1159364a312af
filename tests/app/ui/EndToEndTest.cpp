// The real program under Xvfb against a seeded local cloud: it starts, plays, is photographed,
// is asked to end as a session would, and leaves its "Offline" record behind. As built with the
// default values, the program meets the cloud as listeners meet the real one: over HTTPS, at the
// ports its build values name, trusting the cloud's authority through TUNEWELL_CA_FILE; a build
// for another cloud is pointed at a plain local one by the emulator variables.
#include "LocalCloud.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <string>

namespace {

using nlohmann::json;

class EndToEndTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (QProcess *process : {&Second, &Program, &Bus, &Display}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    // Starts Xvfb on a free display and answers its name (":N").
    QString StartDisplay() {
        Display.start("Xvfb", {"-displayfd", "1", "-screen", "0", "800x480x24", "-nolisten", "tcp"});
        if (!Display.waitForStarted(5000) || !Display.waitForReadyRead(10000))
            return {};
        return ":" + QString::fromLatin1(Display.readAllStandardOutput()).trimmed();
    }

    // Starts a session bus of the test's own and answers its address.
    QString StartBus() {
        Bus.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1"});
        if (!Bus.waitForStarted(5000) || !Bus.waitForReadyRead(10000))
            return {};
        return QString::fromLatin1(Bus.readLine()).trimmed();
    }

    // The catalogue and a profile whose last station is "Two".
    void Seed() {
        Cloud.seed("ESTACOES", json::parse(R"({
        "-E2EStation1": {"num":"1","url":"http://127.0.0.1:1/one.mp3","nome":"One","estilo":"Demo",
                         "localizacao":"Local","qualidade":"128","favorito":"2","serie":"100"},
        "-E2EStation2": {"num":"2","url":"http://127.0.0.1:1/two.mp3","nome":"Two","estilo":"Demo",
                         "localizacao":"Local","qualidade":"128","favorito":"2","serie":"101"}})"));
        Cloud.seed("VERSOES", json{{"Software", "2.2"}, {"Url", "http://127.0.0.1:1/download"}});
        Cloud.seed("CADASTRADO/-E2EProfile",
                   json{{"LAST", {{"Serie", "101"}}}, {"FAVORITOS", {{"100", "1"}}}});
        QFile settings(Home.filePath("Firebase.ini"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nRegistrado=-E2EProfile\n");
    }

    // What the program is started with: the display, a session bus (none when empty; never the
    // session's own, whose Tunewell would be shown instead), a home of the test's own, the local
    // cloud.
    QProcessEnvironment ProgramEnvironment(const QString &Display, const QString &SessionBus = {}) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM");
        environment.insert("DISPLAY", Display);
        environment.remove("DBUS_SESSION_BUS_ADDRESS");
        if (!SessionBus.isEmpty())
            environment.insert("DBUS_SESSION_BUS_ADDRESS", SessionBus);
        environment.insert("XDG_CONFIG_HOME", Home.path());
        // The catalogue the program keeps goes there too, not into the user's cache.
        environment.insert("XDG_CACHE_HOME", Home.filePath("cache"));
        // And its title history and any cloud of its own, not into the user's data folder.
        environment.insert("XDG_DATA_HOME", Home.filePath("data"));
        // The GStreamer registry is the build folder's, warm after its first use, as on a listener's
        // machine: a cache folder of its own would make every run scan every plug-in first.
        environment.insert("GST_REGISTRY_1_0", TUNEWELL_GSTREAMER_REGISTRY);
        environment.insert("TUNEWELL_AUDIO_SINK", "fakesink sync=false");
        environment.insert("FIREBASE_DATABASE_EMULATOR_HOST",
                           QString::fromStdString(Cloud.databaseEmulatorHost()));
        environment.insert("FIREBASE_AUTH_EMULATOR_HOST", QString::fromStdString(Cloud.authEmulatorHost()));
        return environment;
    }

    static std::string LogText(const QString &Path) {
        QFile log(Path);
        return log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string();
    }

    // The log names a write when it is sent; the cloud holds it once answered.
    json WaitForNode(const std::string &Path, const json &Expected, int Seconds) {
        const QDeadlineTimer deadline(Seconds * 1000);
        json value = Cloud.read(Path);
        while (value != Expected && !deadline.hasExpired()) {
            QThread::msleep(100);
            value = Cloud.read(Path);
        }
        return value;
    }

    bool WaitForLog(const QString &Path, const QString &Needle, int Seconds) {
        const QDeadlineTimer deadline(Seconds * 1000);
        while (!deadline.hasExpired()) {
            QFile log(Path);
            if (log.open(QIODevice::ReadOnly) && QString::fromUtf8(log.readAll()).contains(Needle))
                return true;
            if (Program.state() == QProcess::NotRunning)
                return false;
            QThread::msleep(100);
        }
        return false;
    }

    // On free ports, reached through the emulator variables: the program's own cloud of the build
    // values is sought on its data folder's sockets. (The starter's suite and the package check
    // run the program against its own cloud over HTTPS.)
    TunewellTesting::LocalCloud Cloud;
    QTemporaryDir Home;
    QProcess Display;
    QProcess Bus;
    QProcess Program;
    QProcess Second;
};

TEST_F(EndToEndTest, StartsShowsTheCatalogueAndRecordsOfflineWhenAskedToEnd) {
    Seed();
    const QString display = StartDisplay();
    ASSERT_FALSE(display.isEmpty()) << "Xvfb did not start";
    const QProcessEnvironment environment = ProgramEnvironment(display);
    const QString log = Home.filePath("tunewell.log");
    Program.setProcessEnvironment(environment);
    Program.setStandardErrorFile(log);
    Program.start(TUNEWELL_PROGRAM, {});
    ASSERT_TRUE(Program.waitForStarted(10000));

    // The start-up sequence ends with the profile's presence record.
    ASSERT_TRUE(WaitForLog(log, "rmPATCH", 60)) << "no presence record; see " << log.toStdString();
    EXPECT_EQ(WaitForNode("CADASTRADO/-E2EProfile/STATUS/Status", "Online", 10), "Online");

    const QString shot = Home.filePath("tunewell.png");
    QProcess camera;
    camera.setProcessEnvironment(environment);
    camera.start("gst-launch-1.0", {"-q", "ximagesrc", "num-buffers=1", "use-damage=false", "!",
                                    "videoconvert", "!", "pngenc", "!", "filesink", "location=" + shot});
    ASSERT_TRUE(camera.waitForFinished(30000));
    EXPECT_GT(QFileInfo(shot).size(), 2000) << "no screenshot";

    ::kill(static_cast<pid_t>(Program.processId()), SIGTERM);
    ASSERT_TRUE(Program.waitForFinished(30000));
    EXPECT_EQ(Program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Program.exitCode(), 0) << "the program's own output:\n" << LogText(log);

    const json status = Cloud.read("CADASTRADO/-E2EProfile/STATUS");
    EXPECT_EQ(status.at("Status"), "Offline");
    EXPECT_TRUE(status.contains("Hora_Entrada"));
    EXPECT_TRUE(status.contains("Hora_Saida"));
}

TEST_F(EndToEndTest, ASecondStartShowsTheFirstAndEndsWithoutReachingTheCloud) {
    Seed();
    const QString display = StartDisplay();
    ASSERT_FALSE(display.isEmpty()) << "Xvfb did not start";
    const QString bus = StartBus();
    ASSERT_FALSE(bus.isEmpty()) << "dbus-daemon did not start";
    const QProcessEnvironment environment = ProgramEnvironment(display, bus);
    const QString log = Home.filePath("first.log");
    Program.setProcessEnvironment(environment);
    Program.setStandardErrorFile(log);
    Program.start(TUNEWELL_PROGRAM, {});
    ASSERT_TRUE(Program.waitForStarted(10000));
    ASSERT_TRUE(WaitForLog(log, "rmPATCH", 60)) << "no presence record; see " << log.toStdString();

    const auto before = Cloud.connectionsAccepted();
    Second.setProcessEnvironment(environment);
    Second.start(TUNEWELL_PROGRAM, {});
    ASSERT_TRUE(Second.waitForFinished(30000));
    const QString said = QString::fromUtf8(Second.readAllStandardError());
    EXPECT_EQ(Second.exitCode(), 0) << said.toStdString();
    EXPECT_TRUE(said.contains("Tunewell is already running: its window is shown")) << said.toStdString();
    const auto after = Cloud.connectionsAccepted();
    EXPECT_EQ(after.database, before.database) << "the second start reached the database";
    // The question itself opens one identity connection.
    EXPECT_EQ(after.identity, before.identity + 1) << "the second start signed in";
    EXPECT_EQ(Program.state(), QProcess::Running);
    EXPECT_EQ(WaitForNode("CADASTRADO/-E2EProfile/STATUS/Status", "Online", 10), "Online");

    ::kill(static_cast<pid_t>(Program.processId()), SIGTERM);
    ASSERT_TRUE(Program.waitForFinished(30000));
    EXPECT_EQ(Cloud.read("CADASTRADO/-E2EProfile/STATUS/Status"), "Offline");
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
