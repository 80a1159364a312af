#include "app/core/KeptFileReader.h"

#include "app/core/KeptCatalogueError.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>
#include <type_traits>
#include <zlib.h>

namespace Tunewell {

namespace {
constexpr std::size_t kReadBufferSize = 64 * 1024;
constexpr std::uint64_t kChecksumSize = 4;
} // namespace

bool KeptFileReader::ChecksumMatches(QIODevice &Device) {
    const qint64 start = Device.pos();
    const qint64 size = Device.size() - start;
    if (size < static_cast<qint64>(kChecksumSize))
        return false;
    auto summed = static_cast<std::uint64_t>(size) - kChecksumSize;
    unsigned long crc = crc32(0L, Z_NULL, 0);
    std::string chunk(kReadBufferSize, '\0');
    unsigned char stored[kChecksumSize];
    std::size_t storedRead = 0;
    for (;;) {
        const qint64 got = Device.read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (got <= 0)
            break;
        const auto bytes = static_cast<std::size_t>(got);
        const auto data = static_cast<std::size_t>(std::min<std::uint64_t>(summed, bytes));
        crc = crc32(crc, reinterpret_cast<const Bytef *>(chunk.data()), static_cast<uInt>(data));
        summed -= data;
        for (std::size_t i = data; i < bytes && storedRead < kChecksumSize; ++i)
            stored[storedRead++] = static_cast<unsigned char>(chunk[i]);
    }
    Device.seek(start);
    if (summed != 0 || storedRead != kChecksumSize)
        return false;
    std::uint32_t value = 0;
    for (std::size_t i = kChecksumSize; i-- > 0;)
        value = (value << 8) | stored[i];
    return value == static_cast<std::uint32_t>(crc);
}

KeptFileReader::KeptFileReader(QIODevice &Device) : Device_(Device) {
    const qint64 size = Device.size() - Device.pos();
    if (size < static_cast<qint64>(kChecksumSize))
        throw EKeptCatalogueError("The kept file is too short");
    Remaining_ = static_cast<std::uint64_t>(size) - kChecksumSize;
}

void KeptFileReader::Refill() {
    Buffer_.resize(kReadBufferSize);
    const qint64 got = Device_.read(Buffer_.data(), static_cast<qint64>(Buffer_.size()));
    if (got <= 0)
        throw EKeptCatalogueError("The kept file ends early");
    Buffer_.resize(static_cast<std::size_t>(got));
    Position_ = 0;
}

void KeptFileReader::Take(char *Into, std::size_t Count) {
    while (Count > 0) {
        if (Position_ == Buffer_.size())
            Refill();
        const std::size_t taken = std::min(Count, Buffer_.size() - Position_);
        std::memcpy(Into, Buffer_.data() + Position_, taken);
        Position_ += taken;
        Into += taken;
        Count -= taken;
    }
}

std::string KeptFileReader::Raw(std::size_t Count) {
    if (Count > Remaining_)
        throw EKeptCatalogueError("The kept file ends early");
    std::string bytes(Count, '\0');
    Take(bytes.data(), Count);
    Remaining_ -= Count;
    return bytes;
}

template <class Integer> Integer KeptFileReader::LittleEndian() {
    if (sizeof(Integer) > Remaining_)
        throw EKeptCatalogueError("The kept file ends early");
    unsigned char bytes[sizeof(Integer)];
    Take(reinterpret_cast<char *>(bytes), sizeof bytes);
    Remaining_ -= sizeof bytes;
    std::make_unsigned_t<Integer> bits = 0;
    for (std::size_t i = sizeof bytes; i-- > 0;)
        bits = static_cast<decltype(bits)>((bits << 8) | bytes[i]);
    return static_cast<Integer>(bits);
}

std::uint8_t KeptFileReader::U8() {
    return LittleEndian<std::uint8_t>();
}

std::uint32_t KeptFileReader::U32() {
    return LittleEndian<std::uint32_t>();
}

std::int64_t KeptFileReader::I64() {
    return LittleEndian<std::int64_t>();
}

std::string KeptFileReader::Text(std::size_t MaxLength) {
    std::string text;
    Text(MaxLength, text);
    return text;
}

void KeptFileReader::Text(std::size_t MaxLength, std::string &Into) {
    const std::uint32_t length = U32();
    if (length > MaxLength)
        throw EKeptCatalogueError("The kept file holds a text longer than its field");
    if (length > Remaining_)
        throw EKeptCatalogueError("The kept file ends early");
    Into.resize(length);
    Take(Into.data(), length);
    Remaining_ -= length;
}

} // namespace Tunewell
