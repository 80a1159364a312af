#include "app/recording/OggPage.h"

#include <array>

namespace Tunewell::OggPage {

namespace {

constexpr std::size_t FlagsAt = 5;
constexpr std::size_t SerialAt = 14;
constexpr std::size_t SequenceAt = 18;
constexpr std::size_t ChecksumAt = 22;
constexpr std::size_t SegmentsAt = 26;
constexpr std::uint8_t Continued = 0x01;
constexpr std::uint8_t FirstOfStream = 0x02;
constexpr std::uint8_t LacingFull = 255;

std::uint8_t Byte(std::string_view Page, std::size_t At) {
    return static_cast<std::uint8_t>(Page[At]);
}

std::uint32_t LittleEndian32(std::string_view Page, std::size_t At) {
    std::uint32_t value = 0;
    for (std::size_t index = 4; index-- > 0;)
        value = (value << 8) | Byte(Page, At + index);
    return value;
}

void PutLittleEndian32(std::string &Page, std::size_t At, std::uint32_t Value) {
    for (std::size_t index = 0; index < 4; ++index)
        Page[At + index] = static_cast<char>((Value >> (8 * index)) & 0xFF);
}

// Ogg's CRC-32: polynomial 0x04C11DB7, not reflected, starting at zero, no final xor.
std::array<std::uint32_t, 256> MakeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t index = 0; index < 256; ++index) {
        std::uint32_t value = index << 24;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 0x80000000U) ? (value << 1) ^ 0x04C11DB7U : value << 1;
        table[index] = value;
    }
    return table;
}

// The checksum of the page, counted as if its checksum field were zero.
std::uint32_t Checksum(std::string_view Page) {
    static const std::array<std::uint32_t, 256> table = MakeTable();
    std::uint32_t crc = 0;
    for (std::size_t at = 0; at < Page.size(); ++at) {
        const std::uint8_t byte = at >= ChecksumAt && at < ChecksumAt + 4 ? 0 : Byte(Page, at);
        crc = (crc << 8) ^ table[((crc >> 24) ^ byte) & 0xFF];
    }
    return crc;
}

std::string_view Lacing(std::string_view Page) {
    return Page.substr(HeaderBytes, Byte(Page, SegmentsAt));
}

} // namespace

bool ChecksumHolds(std::string_view Page) {
    return Checksum(Page) == LittleEndian32(Page, ChecksumAt);
}

bool BeginsStream(std::string_view Page) {
    return (Byte(Page, FlagsAt) & FirstOfStream) != 0;
}

bool ContinuesPacket(std::string_view Page) {
    return (Byte(Page, FlagsAt) & Continued) != 0;
}

std::uint32_t Serial(std::string_view Page) {
    return LittleEndian32(Page, SerialAt);
}

int PacketsEnded(std::string_view Page) {
    int ended = 0;
    for (const char lacing : Lacing(Page))
        ended += static_cast<std::uint8_t>(lacing) < LacingFull ? 1 : 0;
    return ended;
}

std::string_view FirstPacket(std::string_view Page) {
    const std::string_view lacing = Lacing(Page);
    std::size_t size = 0;
    for (const char value : lacing) {
        size += static_cast<std::uint8_t>(value);
        if (static_cast<std::uint8_t>(value) < LacingFull)
            break;
    }
    return Page.substr(HeaderBytes + lacing.size(), size);
}

void Renumber(std::string &Page, std::uint32_t Sequence) {
    PutLittleEndian32(Page, SequenceAt, Sequence);
    PutLittleEndian32(Page, ChecksumAt, Checksum(Page));
}

} // namespace Tunewell::OggPage
