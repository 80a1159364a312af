#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace Tunewell {

class IRecordingDisk;
class IRecordingFile;

// Writes a recording's files on a thread of its own, fed through a queue bounded in bytes, so
// that the stream's thread never waits for the disk. A full queue (a stalled disk) refuses the
// chunk; a failed write is reported once and the rest dropped, the file closed as written so far.
class RecordingWriter {
public:
    // Half a minute of a 320 kbit/s stream, two of a 128 kbit/s one.
    static constexpr std::size_t DefaultQueueBytes = 2 * 1024 * 1024;
    // Both called on the writer's thread.
    using Failed = std::function<void(const std::string &Detail)>;
    using Finished = std::function<void()>;

    RecordingWriter(IRecordingDisk &Disk, std::size_t QueueBytes, Failed OnFailure, Finished OnFinish);
    // Writes what is queued, closes the file and joins the thread.
    ~RecordingWriter();
    RecordingWriter(const RecordingWriter &) = delete;
    RecordingWriter &operator=(const RecordingWriter &) = delete;

    // From here on chunks go to a new file at Path, starting with Header. False when the queue is
    // full; after Finish, dropped.
    bool Open(std::filesystem::path Path, std::string Header);
    // As Open.
    bool Write(std::string_view Bytes);
    // No more chunks: the thread writes what is queued, closes the file and calls Finished.
    void Finish();
    // Bytes on the disk so far, headers included.
    std::uint64_t Written() const { return Written_.load(); }

private:
    struct Chunk {
        std::optional<std::filesystem::path> NewFile;
        std::string Bytes;
    };
    bool Push(Chunk Next);
    void Run();
    void Store(Chunk &Next);
    void CloseFile();

    IRecordingDisk &Disk_;
    std::size_t QueueBytes_;
    Failed OnFailure_;
    Finished OnFinish_;
    std::atomic<std::uint64_t> Written_{0};
    // The writer thread's alone.
    std::unique_ptr<IRecordingFile> File_;
    bool Failed_ = false;

    std::mutex Lock_;
    std::condition_variable Wake_;
    std::deque<Chunk> Queue_;
    std::size_t Queued_ = 0;
    bool Finishing_ = false;
    std::thread Thread_;
};

} // namespace Tunewell
