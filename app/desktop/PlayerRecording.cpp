#include "app/desktop/PlayerRecording.h"

#include "Cumulo/MainThread.h"
#include "Player/Wmp.h"
#include "app/desktop/PlayerRemote.h"
#include "app/recording/FileRecordingDisk.h"
#include "app/recording/RecordingFileName.h"
#include "app/ui/PlayerMenu.h"
#include "app/ui/StatusNotice.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QAction>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUrl>
#include <algorithm>

namespace Tunewell {

namespace {

QString MusicFolder(const QString &Given) {
    if (!Given.isEmpty())
        return Given;
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return music.isEmpty() ? QDir::homePath() : music;
}

} // namespace

PlayerRecording::PlayerRecording(PlayerMenu &Menu, QStatusBar &Bar, PlayerRemote &Remote, Player::Wmp &Wmp,
                                 Options Given)
    : Remote_(Remote), Wmp_(Wmp), Options_(std::move(Given)) {
    if (!Options_.Disk)
        Options_.Disk = std::make_shared<FileRecordingDisk>();
    Item_ = Menu.AddItem(QStringLiteral("Record / Gravar"), QKeySequence(Qt::CTRL | Qt::Key_R));
    Item_->setObjectName(QStringLiteral("Record1"));
    Item_->setCheckable(true);
    connect(Item_, &QAction::triggered, this,
            [this](bool On) { RunHandler([&] { On ? Start() : Stop(); }); });

    Notice_ = new StatusNotice(&Bar);
    Notice_->setObjectName(QStringLiteral("RecordingNotice"));
    Bar.addWidget(Notice_);
    Notice_->hide();
    Panel_ = new QLabel(&Bar);
    Panel_->setObjectName(QStringLiteral("RecordingPanel"));
    Bar.addPermanentWidget(Panel_);
    Panel_->hide();
    SizeTick_.setInterval(500);
    connect(&SizeTick_, &QTimer::timeout, this, &PlayerRecording::ShowSize);

    // A new station, Stop, pause, a dropped stream or its end: what is recorded is no longer heard.
    connect(&Wmp_, &Player::Wmp::urlChanged, this, [this] {
        if (Recording())
            Stop();
    });
    connect(&Wmp_, &Player::Wmp::playStateChanged, this, [this](Player::PlaybackState State) {
        if (Recording() && !Player::isHeard(State))
            Stop();
    });
}

PlayerRecording::~PlayerRecording() {
    if (Current_)
        Wmp_.setRecordingTap(nullptr);
}

void PlayerRecording::Start() {
    if (Recording())
        return;
    if (!Player::isHeard(Wmp_.playState())) {
        Item_->setChecked(false);
        Notice_->ShowNotice(QStringLiteral("Nothing is playing to record / Nada tocando para gravar"), {});
        Notice_->show();
        return;
    }
    // A station not in the catalogue is named by its host.
    const QString name = Remote_.Station().Name;
    const QString station = name.isEmpty() ? QUrl(Wmp_.URL()).host() : name;
    StationFolder_ = QDir(MusicFolder(Options_.Folder))
                         .filePath(QStringLiteral("Tunewell/") + RecordingFolderName(station));
    StreamRecording::Setup setup;
    setup.Folder = StationFolder_.toStdString();
    setup.Station = station;
    setup.QueueBytes = Options_.QueueBytes;
    // Reports come from the stream's and the writer's threads.
    const QPointer<PlayerRecording> self(this);
    const quint64 number = ++Number_;
    Current_ = std::make_shared<StreamRecording>(
        setup, *Options_.Disk,
        [self, number](RecordingStop Why, const std::string &Detail) {
            Cumulo::PostToMainThreadOrLog(
                [self, number, Why, Detail = QString::fromStdString(Detail)] {
                    if (self)
                        self->Stopped(number, Why, Detail);
                },
                "Recording stopped: " + Detail);
        },
        [self, number] {
            Cumulo::PostToMainThreadOrLog(
                [self, number] {
                    if (self)
                        self->Finished(number);
                },
                "Recording written");
        });
    if (!Wmp_.setRecordingTap(Current_)) {
        End(QStringLiteral("This player cannot record / Este reprodutor n\u00E3o grava"), {});
        return;
    }
    Item_->setChecked(true);
    Notice_->ClearNotice();
    Notice_->hide();
    ShowSize();
    Panel_->show();
    SizeTick_.start();
}

void PlayerRecording::Stop() {
    if (!Recording())
        return;
    End(QStringLiteral("Recording kept in %1 / Grava\u00E7\u00E3o guardada em %1").arg(StationFolder_),
        StationFolder_);
}

void PlayerRecording::End(const QString &Line, const QString &Explanation) {
    Wmp_.setRecordingTap(nullptr);
    Current_->Finish();
    Finishing_.emplace_back(Number_, std::move(Current_));
    Current_.reset();
    SizeTick_.stop();
    Panel_->hide();
    Item_->setChecked(false);
    Notice_->ShowNotice(Line, Explanation);
    Notice_->show();
}

void PlayerRecording::Stopped(quint64 Number, RecordingStop Why, const QString &Detail) {
    QString line;
    switch (Why) {
    case RecordingStop::Unrecordable:
        line = QStringLiteral("This station's format cannot be recorded as sent / "
                              "O formato desta r\u00E1dio n\u00E3o pode ser gravado como \u00E9 enviado");
        break;
    case RecordingStop::DiskTooSlow:
        line = QStringLiteral("Recording stopped: the disk does not keep up / "
                              "Grava\u00E7\u00E3o parada: o disco n\u00E3o acompanha");
        break;
    case RecordingStop::WriteFailed:
        line = QStringLiteral("Recording stopped: the file cannot be written / "
                              "Grava\u00E7\u00E3o parada: o arquivo n\u00E3o pode ser escrito");
        break;
    }
    if (Recording() && Number == Number_) {
        End(line, Detail);
        return;
    }
    // The last writes of a recording already ended failed: what it kept is shorter than said.
    Notice_->ShowNotice(line, Detail);
    Notice_->show();
}

void PlayerRecording::Finished(quint64 Number) {
    std::erase_if(Finishing_, [Number](const auto &Entry) { return Entry.first == Number; });
}

void PlayerRecording::ShowSize() {
    if (!Current_)
        return;
    const QString size = QLocale::c().formattedDataSize(static_cast<qint64>(Current_->BytesWritten()), 1,
                                                        QLocale::DataSizeTraditionalFormat);
    Panel_->setText(QStringLiteral("Recording / Gravando %1").arg(size));
}

} // namespace Tunewell
