// Plays a station for some seconds in the stream player, its decoded sound written to a pipe at
// the pace of a sound card, and prints the process's CPU time and peak memory and the longest
// gap between two pieces of sound reaching that pipe. With --record the station is recorded
// into a temporary folder as Player → Record does; with --slow-disk MS every write of the
// recording sleeps that long first, as a disk that stalls.
// Usage: recording-bench URL SECONDS [--record] [--slow-disk MS] [--queue BYTES]
#include "Player/Wmp.h"
#include "app/recording/FileRecordingDisk.h"
#include "app/recording/StreamRecording.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Each write of the recording waits first, as a disk that does not keep up.
class SlowDisk : public Tunewell::IRecordingDisk {
public:
    explicit SlowDisk(std::chrono::milliseconds Pause) : Pause_(Pause) {}
    std::unique_ptr<Tunewell::IRecordingFile> Create(const std::filesystem::path &Path) override {
        return std::make_unique<SlowFile>(Disk_.Create(Path), Pause_);
    }

private:
    class SlowFile : public Tunewell::IRecordingFile {
    public:
        SlowFile(std::unique_ptr<Tunewell::IRecordingFile> File, std::chrono::milliseconds Pause)
            : File_(std::move(File)), Pause_(Pause) {}
        void Write(std::string_view Bytes) override {
            std::this_thread::sleep_for(Pause_);
            File_->Write(Bytes);
        }
        void Close() override { File_->Close(); }

    private:
        std::unique_ptr<Tunewell::IRecordingFile> File_;
        std::chrono::milliseconds Pause_;
    };
    Tunewell::FileRecordingDisk Disk_;
    std::chrono::milliseconds Pause_;
};

// The longest wait between two reads of the sound pipe, from the first read on.
class GapWatch {
public:
    explicit GapWatch(int Fd) : Fd_(Fd), Thread_([this] { Run(); }) {}
    ~GapWatch() { Thread_.join(); }
    std::chrono::milliseconds Longest() const { return std::chrono::milliseconds(LongestMs_.load()); }
    long long Bytes() const { return Bytes_.load(); }

private:
    void Run() {
        char buffer[65536];
        std::optional<Clock::time_point> last;
        for (;;) {
            const ssize_t got = read(Fd_, buffer, sizeof buffer);
            if (got <= 0)
                return;
            const auto now = Clock::now();
            if (last) {
                const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(now - *last).count();
                if (gap > LongestMs_.load())
                    LongestMs_ = gap;
            }
            last = now;
            Bytes_ += got;
        }
    }
    int Fd_;
    std::atomic<long long> LongestMs_{0};
    std::atomic<long long> Bytes_{0};
    std::thread Thread_;
};

double Seconds(const timeval &Time) {
    return static_cast<double>(Time.tv_sec) + static_cast<double>(Time.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::cerr << "usage: recording-bench URL SECONDS [--record] [--slow-disk MS] [--queue BYTES]\n";
        return 2;
    }
    const QString url = QString::fromLocal8Bit(argv[1]);
    const int seconds = std::stoi(argv[2]);
    bool record = false;
    std::chrono::milliseconds slow{0};
    std::size_t queue = Tunewell::RecordingWriter::DefaultQueueBytes;
    for (int index = 3; index < argc; ++index) {
        const std::string option = argv[index];
        if (option == "--record")
            record = true;
        else if (option == "--slow-disk" && index + 1 < argc)
            slow = std::chrono::milliseconds(std::stoi(argv[++index])), record = true;
        else if (option == "--queue" && index + 1 < argc)
            queue = std::stoul(argv[++index]);
    }

    int sound[2];
    if (pipe(sound) != 0)
        return 1;
    QApplication application(argc, argv);
    Player::WmpOptions options;
    // Decoded sound to the pipe, at the pace of a sound card.
    options.audioSink =
        QStringLiteral("audioconvert ! audio/x-raw,format=S16LE ! fdsink sync=true fd=%1").arg(sound[1]);
    auto player = std::make_unique<Player::Wmp>(options);
    std::optional<GapWatch> gaps;
    gaps.emplace(sound[0]);

    QTemporaryDir folder;
    std::unique_ptr<Tunewell::IRecordingDisk> disk;
    if (slow.count() > 0)
        disk = std::make_unique<SlowDisk>(slow);
    else
        disk = std::make_unique<Tunewell::FileRecordingDisk>();
    std::atomic<bool> stopped{false};
    std::shared_ptr<Tunewell::StreamRecording> recording;

    player->setURL(url);
    QObject::connect(player.get(), &Player::Wmp::playStateChanged, [&](Player::PlaybackState State) {
        if (State != Player::PlaybackState::Playing || !record || recording)
            return;
        Tunewell::StreamRecording::Setup setup;
        setup.Folder = folder.path().toStdString();
        setup.Station = QStringLiteral("Bench");
        setup.QueueBytes = queue;
        recording = std::make_shared<Tunewell::StreamRecording>(
            setup, *disk, [&stopped](Tunewell::RecordingStop, const std::string &) { stopped = true; });
        player->setRecordingTap(recording);
    });
    QTimer::singleShot(seconds * 1000, &application, &QApplication::quit);
    application.exec();

    const std::uint64_t written = recording ? recording->BytesWritten() : 0;
    player->setRecordingTap(nullptr);
    player.reset();
    recording.reset();
    close(sound[1]);
    const long long longestGap = gaps->Longest().count();
    const long long soundBytes = gaps->Bytes();
    gaps.reset();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::string label = !record ? "playing alone" : slow.count() ? "recording, slow disk" : "recording";
    if (queue != Tunewell::RecordingWriter::DefaultQueueBytes)
        label += ", " + std::to_string(queue / 1024) + " KiB queue";
    const double cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    std::printf("%-36s cpu %6.2f s (%4.1f %% of a core)  peak memory %6.1f MiB  longest sound gap %4lld ms  "
                "sound %3lld s  recorded %7.1f KiB%s\n",
                label.c_str(), cpu, 100.0 * cpu / seconds, static_cast<double>(usage.ru_maxrss) / 1024.0,
                longestGap, soundBytes / (44100 * 2 * 2), static_cast<double>(written) / 1024.0,
                stopped ? "  (stopped: the disk did not keep up)" : "");
    return 0;
}
