#pragma once

#include "TunewellCloud/Json.h"
#include "TunewellCloud/UniqueFd.h"

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

namespace TunewellCloud {

// A state kept as a snapshot plus an append-only journal of changes since it, in one folder.
// Journal records are framed as [length][CRC-32][JSON text] and carry a sequence number; a
// torn or damaged tail is cut off at load. Appends are made under the owner's lock, and the
// fsync that makes them durable runs outside it, shared by every writer waiting at that moment.
class DurableLog {
public:
    struct Figures {
        std::uint64_t compactAfterBytes = 64ull << 20;
    };

    DurableLog(std::filesystem::path folder, Figures figures);
    DurableLog(const DurableLog &) = delete;
    DurableLog &operator=(const DurableLog &) = delete;

    // Hands the snapshot's text (if any) to restore, then every newer journal record to replay.
    void load(const std::function<void(const std::string &)> &restore,
              const std::function<void(const Json &)> &replay);

    // Appends a record (a JSON object; "seq" is added) and answers the ticket to wait for.
    std::uint64_t append(Json record);
    // Blocks until the record of the ticket is on disk.
    void waitDurable(std::uint64_t ticket);

    bool wantsCompaction() const { return journalBytes_ >= figures_.compactAfterBytes; }
    // Writes the whole state as the new snapshot and empties the journal. Call under the
    // owner's lock, with the state that includes every appended record.
    void compact(const std::string &stateText);

    std::uint64_t journalBytes() const { return journalBytes_; }

private:
    void openJournal();
    void readJournal(const std::function<void(const Json &)> &replay);

    std::filesystem::path folder_;
    Figures figures_;
    UniqueFd journal_;
    std::uint64_t sequence_ = 0;
    std::uint64_t journalBytes_ = 0;

    std::mutex syncMutex_;
    std::condition_variable syncDone_;
    std::uint64_t appended_ = 0;
    std::uint64_t durable_ = 0;
    bool syncing_ = false;
};

} // namespace TunewellCloud
