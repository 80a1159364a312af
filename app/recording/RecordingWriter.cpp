#include "app/recording/RecordingWriter.h"

#include "app/recording/RecordingDisk.h"
#include "app/recording/RecordingError.h"

namespace Tunewell {

RecordingWriter::RecordingWriter(IRecordingDisk &Disk, std::size_t QueueBytes, Failed OnFailure,
                                 Finished OnFinish)
    : Disk_(Disk), QueueBytes_(QueueBytes), OnFailure_(std::move(OnFailure)), OnFinish_(std::move(OnFinish)),
      Thread_([this] { Run(); }) {}

RecordingWriter::~RecordingWriter() {
    Finish();
    Thread_.join();
}

bool RecordingWriter::Open(std::filesystem::path Path, std::string Header) {
    return Push(Chunk{std::move(Path), std::move(Header)});
}

bool RecordingWriter::Write(std::string_view Bytes) {
    return Push(Chunk{std::nullopt, std::string(Bytes)});
}

void RecordingWriter::Finish() {
    {
        const std::lock_guard lock(Lock_);
        Finishing_ = true;
    }
    Wake_.notify_one();
}

bool RecordingWriter::Push(Chunk Next) {
    {
        const std::lock_guard lock(Lock_);
        // After Finish nothing more is taken, and that is no fault of the disk's.
        if (Finishing_)
            return true;
        if (Queued_ + Next.Bytes.size() > QueueBytes_)
            return false;
        Queued_ += Next.Bytes.size();
        Queue_.push_back(std::move(Next));
    }
    Wake_.notify_one();
    return true;
}

void RecordingWriter::Run() {
    for (;;) {
        Chunk next;
        {
            std::unique_lock lock(Lock_);
            Wake_.wait(lock, [this] { return Finishing_ || !Queue_.empty(); });
            if (Queue_.empty())
                break;
            next = std::move(Queue_.front());
            Queue_.pop_front();
            Queued_ -= next.Bytes.size();
        }
        if (!Failed_)
            Store(next);
    }
    if (!Failed_) {
        try {
            CloseFile();
        } catch (const ERecordingError &error) {
            OnFailure_(error.what());
        }
    }
    if (OnFinish_)
        OnFinish_();
}

void RecordingWriter::Store(Chunk &Next) {
    try {
        if (Next.NewFile) {
            CloseFile();
            File_ = Disk_.Create(*Next.NewFile);
        }
        if (!File_ || Next.Bytes.empty())
            return;
        File_->Write(Next.Bytes);
        Written_ += Next.Bytes.size();
    } catch (const ERecordingError &error) {
        Failed_ = true;
        // What reached the file stays; the close's own complaint adds nothing to the first one.
        try {
            CloseFile();
        } catch (const ERecordingError &) {
        }
        OnFailure_(error.what());
    }
}

void RecordingWriter::CloseFile() {
    const std::unique_ptr<IRecordingFile> file = std::move(File_);
    if (file)
        file->Close();
}

} // namespace Tunewell
