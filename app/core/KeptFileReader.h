#pragma once

#include <cstdint>
#include <string>

class QIODevice;

namespace Tunewell {

// Reads the fields KeptFileWriter wrote, through a small buffer. The checksum that ends the file
// is checked on its own first (ChecksumMatches), before any field is read. Even then nothing read
// is trusted: a field that would reach past the checksum throws EKeptCatalogueError, as does a
// text longer than the caller allows.
class KeptFileReader {
public:
    // True when the CRC-32 of every byte from the device's position up to the last four matches
    // those four. Reads the device once, in chunks, and leaves it where it was.
    static bool ChecksumMatches(QIODevice &Device);

    explicit KeptFileReader(QIODevice &Device);

    std::string Raw(std::size_t Count);
    std::uint8_t U8();
    std::uint32_t U32();
    std::int64_t I64();
    std::string Text(std::size_t MaxLength);
    // The same into a text the caller reuses.
    void Text(std::size_t MaxLength, std::string &Into);
    // Bytes left before the checksum; none once every field was read.
    std::uint64_t Remaining() const { return Remaining_; }

private:
    void Take(char *Into, std::size_t Count);
    void Refill();
    template <class Integer> Integer LittleEndian();

    QIODevice &Device_;
    // Bytes before the checksum not yet taken.
    std::uint64_t Remaining_;
    std::string Buffer_;
    std::size_t Position_ = 0;
};

} // namespace Tunewell
