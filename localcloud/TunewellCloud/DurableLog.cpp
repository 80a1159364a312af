#include "TunewellCloud/DurableLog.h"

#include "TunewellCloud/DurableFiles.h"
#include "TunewellCloud/RequestError.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>
#include <zlib.h>

namespace TunewellCloud {

namespace {

constexpr std::size_t kHeaderBytes = 8;
constexpr std::uint32_t kLargestRecord = 1u << 30;

std::uint32_t checksum(const char *data, std::size_t size) {
    return static_cast<std::uint32_t>(
        ::crc32(0L, reinterpret_cast<const Bytef *>(data), static_cast<uInt>(size)));
}

void putWord(char *out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t getWord(const char *in) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    return value;
}

} // namespace

DurableLog::DurableLog(std::filesystem::path folder, Figures figures)
    : folder_(std::move(folder)), figures_(figures) {
    std::filesystem::create_directories(folder_);
}

void DurableLog::openJournal() {
    const auto file = folder_ / "journal.log";
    journal_ = UniqueFd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!journal_.valid())
        throw StorageError("cannot open " + file.string() + ": " + std::strerror(errno));
}

void DurableLog::load(const std::function<void(const std::string &)> &restore,
                      const std::function<void(const Json &)> &replay) {
    if (const auto snapshot = DurableFiles::read(folder_ / "snapshot.json")) {
        // First line: {"seq": N}; the rest: the state.
        const auto lineEnd = snapshot->find('\n');
        if (lineEnd == std::string::npos)
            throw StorageError("damaged snapshot in " + folder_.string());
        sequence_ = Json::parse(snapshot->substr(0, lineEnd)).at("seq").get<std::uint64_t>();
        restore(snapshot->substr(lineEnd + 1));
    }
    openJournal();
    readJournal(replay);
    DurableFiles::syncDirectory(folder_);
}

void DurableLog::readJournal(const std::function<void(const Json &)> &replay) {
    const auto file = folder_ / "journal.log";
    const std::string content = DurableFiles::read(file).value_or(std::string());
    std::size_t offset = 0;
    while (offset + kHeaderBytes <= content.size()) {
        const std::uint32_t length = getWord(content.data() + offset);
        const std::uint32_t expected = getWord(content.data() + offset + 4);
        if (length == 0 || length > kLargestRecord || offset + kHeaderBytes + length > content.size())
            break;
        const char *payload = content.data() + offset + kHeaderBytes;
        if (checksum(payload, length) != expected)
            break;
        Json record = Json::parse(payload, payload + length, nullptr, false);
        if (record.is_discarded() || !record.is_object())
            break;
        const auto sequence = record.value("seq", std::uint64_t{0});
        if (sequence > sequence_) {
            replay(record);
            sequence_ = sequence;
        }
        offset += kHeaderBytes + length;
    }
    if (offset != content.size()) {
        std::cerr << "tunewell-cloud: dropping " << content.size() - offset << " damaged bytes at the end of "
                  << file.string() << '\n';
        if (::ftruncate(journal_.get(), static_cast<off_t>(offset)) != 0 || ::fsync(journal_.get()) != 0)
            throw StorageError("cannot cut " + file.string() + ": " + std::strerror(errno));
    }
    journalBytes_ = offset;
    if (::lseek(journal_.get(), static_cast<off_t>(offset), SEEK_SET) < 0)
        throw StorageError("cannot seek " + file.string() + ": " + std::strerror(errno));
}

std::uint64_t DurableLog::append(Json record) {
    record["seq"] = sequence_ + 1;
    const std::string payload = record.dump();
    std::string frame(kHeaderBytes, '\0');
    putWord(frame.data(), static_cast<std::uint32_t>(payload.size()));
    putWord(frame.data() + 4, checksum(payload.data(), payload.size()));
    frame += payload;
    try {
        DurableFiles::writeAll(journal_.get(), frame.data(), frame.size(), folder_ / "journal.log");
    } catch (const StorageError &) {
        // Leave no partial record behind a refused write.
        if (::ftruncate(journal_.get(), static_cast<off_t>(journalBytes_)) == 0)
            ::lseek(journal_.get(), static_cast<off_t>(journalBytes_), SEEK_SET);
        throw;
    }
    ++sequence_;
    journalBytes_ += frame.size();
    std::lock_guard lock(syncMutex_);
    return ++appended_;
}

void DurableLog::waitDurable(std::uint64_t ticket) {
    std::unique_lock lock(syncMutex_);
    while (durable_ < ticket) {
        if (syncing_) {
            syncDone_.wait(lock);
            continue;
        }
        syncing_ = true;
        const std::uint64_t target = appended_;
        lock.unlock();
        const bool synced = ::fdatasync(journal_.get()) == 0;
        lock.lock();
        syncing_ = false;
        if (synced)
            durable_ = std::max(durable_, target);
        syncDone_.notify_all();
        if (!synced)
            throw StorageError(std::string("cannot sync the journal: ") + std::strerror(errno));
    }
}

void DurableLog::compact(const std::string &stateText) {
    Json header = {{"seq", sequence_}};
    DurableFiles::writeAtomically(folder_ / "snapshot.json", header.dump() + "\n" + stateText);
    if (::ftruncate(journal_.get(), 0) != 0 || ::lseek(journal_.get(), 0, SEEK_SET) < 0 ||
        ::fsync(journal_.get()) != 0)
        throw StorageError(std::string("cannot empty the journal: ") + std::strerror(errno));
    journalBytes_ = 0;
    std::lock_guard lock(syncMutex_);
    durable_ = appended_;
}

} // namespace TunewellCloud
