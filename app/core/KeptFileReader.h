#pragma once

#include <cstdint>
#include <string>

class QIODevice;

namespace Tunewell {

// Reads the fields KeptFileWriter wrote, through a small buffer, keeping the CRC-32 of every
// byte before the checksum that ends the file. Nothing read is trusted: a field that would reach
// past the end of the device throws EKeptCatalogueError, as does a text longer than the caller
// allows.
class KeptFileReader {
public:
    explicit KeptFileReader(QIODevice &Device);

    std::string Raw(std::size_t Count);
    std::uint8_t U8();
    std::uint32_t U32();
    std::int64_t I64();
    std::string Text(std::size_t MaxLength);
    // The same into a text the caller reuses.
    void Text(std::size_t MaxLength, std::string &Into);
    // Bytes left before the checksum.
    std::uint64_t Remaining() const { return Remaining_; }
    // Reads the checksum; true when it matches every byte read before it and ends the device.
    bool ChecksumMatches();

private:
    void Take(char *Into, std::size_t Count);
    void Refill();
    template <class Integer> Integer LittleEndian();

    QIODevice &Device_;
    // Bytes before the checksum not yet taken, and not yet read from the device.
    std::uint64_t Remaining_;
    std::uint64_t Unread_;
    std::string Buffer_;
    std::size_t Position_ = 0;
    unsigned long Crc_;
};

} // namespace Tunewell
