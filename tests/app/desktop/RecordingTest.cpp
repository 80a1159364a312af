// Player → Record on the main window: the files in the station's folder, the panel and its size,
// the stops by the command, a new station or Stop, and by a disk that fails, playback going on.
#include "../recording/MemoryRecordingDisk.h"
#include "DemoRadio.h"
#include "DesktopFixture.h"
#include "NoticeShown.h"
#include "Player/Wmp.h"
#include "app/desktop/PlayerRecording.h"
#include "app/desktop/PlayerRemote.h"
#include "app/ui/FormRadio.h"
#include "app/ui/StatusNotice.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <algorithm>

namespace Tunewell::Testing {
namespace {

constexpr int WaitLimitMs = 10000;

class RecordingTest : public DesktopFixture {
protected:
    static void SetUpTestSuite() { Radio = new TunewellTesting::DemoRadio(); }
    static void TearDownTestSuite() {
        delete Radio;
        Radio = nullptr;
    }
    void SetUp() override {
        DesktopFixture::SetUp();
        ASSERT_TRUE(Music.isValid());
        Options.Recording.Folder = Music.path();
    }
    QLabel *Panel() const { return Form->StatusBar1->findChild<QLabel *>("RecordingPanel"); }
    StatusNotice *Notice() const { return Form->StatusBar1->findChild<StatusNotice *>("RecordingNotice"); }
    QAction *Item() const { return Form->findChild<QAction *>("Record1"); }
    void PressRecord() { QTest::keyClick(Form->DBGrid1, Qt::Key_R, Qt::ControlModifier); }
    void PlayDemo() {
        Wmp->setURL(QString::fromStdString(Radio->url()));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return Wmp->playState() == Player::PlaybackState::Playing; }, WaitLimitMs))
            << Wmp->statusText().toStdString();
    }
    // The files recorded, in the folder of a station not in the catalogue: named by its host.
    QString StationFolder() const { return Music.filePath(QStringLiteral("Tunewell/127.0.0.1")); }
    QFileInfoList Files() const { return QDir(StationFolder()).entryInfoList(QDir::Files); }

    static TunewellTesting::DemoRadio *Radio;
    QTemporaryDir Music;
};

TunewellTesting::DemoRadio *RecordingTest::Radio = nullptr;

TEST_F(RecordingTest, RecordWritesTheStationIntoItsFolderUntilItEndsOneWayOrAnother) {
    struct Case {
        const char *How;
        std::function<void()> End;
    };
    const Case cases[] = {
        {"Record again", [this] { PressRecord(); }},
        {"Stop", [this] { Desktop->Remote().Stop(); }},
        {"another station", [this] { Wmp->setURL(QStringLiteral("http://127.0.0.1:9/")); }},
    };
    StartDesktop(NoBus());
    Activate();
    ASSERT_TRUE(Item());
    EXPECT_EQ(Item()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_TRUE(Panel()->isHidden());
    static const QRegularExpression name(
        R"(^\d{4}-\d\d-\d\d \d\d-\d\d-\d\d (Tunewell demo - part \d+|127\.0\.0\.1)( \(\d\))?\.mp3$)");
    QStringList seen;
    for (const Case &test : cases) {
        SCOPED_TRACE(test.How);
        PlayDemo();
        PressRecord();
        EXPECT_TRUE(Item()->isChecked());
        // A kilobyte at least on the disk.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return Panel()->text().endsWith(QStringLiteral(" kB")); }, WaitLimitMs))
            << Panel()->text().toStdString();
        EXPECT_TRUE(Panel()->isVisible());
        EXPECT_TRUE(Panel()->text().startsWith(QStringLiteral("Recording / Gravando ")));
        test.End();
        EXPECT_FALSE(Item()->isChecked());
        EXPECT_TRUE(Panel()->isHidden());
        EXPECT_TRUE(Notice()->Line().startsWith(QStringLiteral("Recording kept in ") + StationFolder()))
            << Notice()->Line().toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return NoticeUnreadable(*Notice()).isEmpty(); }))
            << NoticeUnreadable(*Notice()).toStdString();
        // A file per title heard meanwhile, named by its time and the title (the station's name before
        // the first title; a number after a name taken in the same second), its tag first.
        qint64 recorded = 0;
        int added = 0;
        for (const QFileInfo &file : Files()) {
            if (seen.contains(file.fileName()))
                continue;
            seen.append(file.fileName());
            ++added;
            recorded += file.size();
            EXPECT_TRUE(name.match(file.fileName()).hasMatch()) << file.fileName().toStdString();
            QFile contents(file.filePath());
            ASSERT_TRUE(contents.open(QIODevice::ReadOnly));
            EXPECT_EQ(contents.read(3), "ID3") << file.fileName().toStdString();
        }
        EXPECT_GT(added, 0);
        EXPECT_GT(recorded, 1000);
    }
}

TEST_F(RecordingTest, NothingPlayingIsNothingToRecord) {
    StartDesktop(NoBus());
    Activate();
    PressRecord();
    EXPECT_FALSE(Item()->isChecked());
    EXPECT_TRUE(Panel()->isHidden());
    EXPECT_EQ(Notice()->Line(), QStringLiteral("Nothing is playing to record / Nada tocando para gravar"));
}

// The bar shares its width between the cloud's, the recording's and the history's notices: each
// says enough to be read, the whole line in its tooltip.
TEST_F(RecordingTest, EveryNoticeInTheStatusBarCanBeReadBesideTheOthers) {
    StartDesktop(NoBus());
    Activate();
    Form->CloudNotice()->ShowNotice(
        QStringLiteral("Catalogue of 2026-05-01 21:04 shown: the cloud cannot be reached / "
                       "Cat\u00E1logo de 2026-05-01 21:04 mostrado: a nuvem n\u00E3o responde"),
        QStringLiteral("Connection refused"));
    StatusNotice *history = Desktop->HistoryNotice();
    history->ShowNotice(QStringLiteral("History not kept / Hist\u00F3rico n\u00E3o guardado"),
                        QStringLiteral("cannot open the database"));
    history->show();
    PressRecord();
    const std::pair<const char *, StatusNotice *> notices[] = {
        {"cloud", Form->CloudNotice()}, {"recording", Notice()}, {"history", history}};
    const bool allReadable = QTest::qWaitFor([&] {
        return std::all_of(std::begin(notices), std::end(notices),
                           [](const auto &Each) { return NoticeUnreadable(*Each.second).isEmpty(); });
    });
    EXPECT_TRUE(allReadable);
    for (const auto &[name, notice] : notices)
        EXPECT_EQ(NoticeUnreadable(*notice), QString()) << name;
    EXPECT_TRUE(history->toolTip().contains(QStringLiteral("cannot open the database")));
}

TEST_F(RecordingTest, ADiskThatFailsStopsTheRecordingAndNeverThePlayback) {
    using Disk = std::shared_ptr<MemoryRecordingDisk>;
    struct Case {
        const char *How;
        std::function<void(const Disk &)> Prepare;
        QString Line;
    };
    const QString cannotWrite =
        QStringLiteral("Recording stopped: the file cannot be written / "
                       "Grava\u00E7\u00E3o parada: o arquivo n\u00E3o pode ser escrito");
    const Case cases[] = {
        {"an unwritable folder",
         [this](const Disk &) {
             // A file where the folder should be refuses even a user who may write anywhere.
             QFile blocker(Music.filePath(QStringLiteral("Tunewell")));
             ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
         },
         cannotWrite},
        {"a full disk",
         [this](const Disk &Memory) {
             Memory->FillUpAfter(2000);
             Options.Recording.Disk = Memory;
         },
         cannotWrite},
        {"a stalled disk",
         [this](const Disk &Memory) {
             Memory->Stall();
             Options.Recording.Disk = Memory;
             Options.Recording.QueueBytes = 4096;
         },
         QStringLiteral("Recording stopped: the disk does not keep up / "
                        "Grava\u00E7\u00E3o parada: o disco n\u00E3o acompanha")},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.How);
        const auto memory = std::make_shared<MemoryRecordingDisk>();
        Options.Recording = {Music.path(), nullptr};
        test.Prepare(memory);
        if (Form)
            Restart(NoBus());
        else
            StartDesktop(NoBus());
        Activate();
        PlayDemo();
        PressRecord();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Item()->isChecked(); }, WaitLimitMs));
        EXPECT_EQ(Notice()->Line(), test.Line);
        EXPECT_TRUE(QTest::qWaitFor([&] { return NoticeUnreadable(*Notice()).isEmpty(); }))
            << NoticeUnreadable(*Notice()).toStdString();
        EXPECT_TRUE(Panel()->isHidden());
        // Playback goes on (after a refill of its buffer, if one is under way).
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return Wmp->playState() == Player::PlaybackState::Playing; }, WaitLimitMs));
        // The stalled writer lets go before the recording's end waits for it.
        memory->LetGo();
    }
}

} // namespace
} // namespace Tunewell::Testing
