#pragma once

#include "app/recording/RecordingWriter.h"
#include "app/recording/StreamRecording.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QStatusBar;

namespace Player {
class Wmp;
}

namespace Tunewell {

class IRecordingDisk;
class PlayerMenu;
class PlayerRemote;
class StatusNotice;

// Player → Record: the station being heard, as it sends it, into the music folder under
// Tunewell/<station>/, a file per title. A panel at the right of the status bar shows the size
// written while it runs; a line in the status bar says why it stopped. It stops by the same
// command, with a new station, Stop, pause or the stream's end, and by itself when the disk
// fails it; playback goes on whatever the disk does.
class PlayerRecording : public QObject {
    Q_OBJECT
public:
    struct Options {
        // Where Tunewell/ goes; empty: the user's music folder, else the home folder.
        QString Folder;
        // Null: the local disk.
        std::shared_ptr<IRecordingDisk> Disk;
        std::size_t QueueBytes = RecordingWriter::DefaultQueueBytes;
    };

    PlayerRecording(PlayerMenu &Menu, QStatusBar &Bar, PlayerRemote &Remote, Player::Wmp &Wmp, Options Given);
    // Writes what is queued and closes the file before it goes.
    ~PlayerRecording() override;

    QAction *Item() const { return Item_; }
    bool Recording() const { return Current_ != nullptr; }
    // The station's folder of the recording running or last run.
    const QString &Folder() const { return StationFolder_; }
    void Start();
    // Ends the recording running, saying where it is kept.
    void Stop();

private:
    void End(const QString &Line, const QString &Explanation);
    void Stopped(quint64 Number, RecordingStop Why, const QString &Detail);
    void Finished(quint64 Number);
    void ShowSize();

    PlayerRemote &Remote_;
    Player::Wmp &Wmp_;
    Options Options_;
    QAction *Item_ = nullptr;
    QLabel *Panel_ = nullptr;
    StatusNotice *Notice_ = nullptr;
    QTimer SizeTick_;
    QString StationFolder_;
    // Each recording's number tells a late report about one already ended from the current one's.
    quint64 Number_ = 0;
    std::shared_ptr<StreamRecording> Current_;
    // Recordings ended whose writer still empties its queue, by number; each goes when it has.
    std::vector<std::pair<quint64, std::shared_ptr<StreamRecording>>> Finishing_;
};

} // namespace Tunewell
