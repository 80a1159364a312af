#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class QIODevice;

namespace Tunewell {

// Writes the kept file's little-endian fields to a device through a small buffer, so a large
// catalogue is streamed rather than assembled in memory, and keeps the CRC-32 of every byte.
class KeptFileWriter {
public:
    explicit KeptFileWriter(QIODevice &Device);

    void Raw(std::string_view Bytes);
    void U8(std::uint8_t Value);
    void U32(std::uint32_t Value);
    void I64(std::int64_t Value);
    // A length (32 bits) and the bytes.
    void Text(std::string_view Bytes);
    // Appends the CRC-32 of everything written so far and hands the rest to the device.
    // Throws EKeptCatalogueError when the device refuses a write.
    void Finish();

private:
    template <class Integer> void LittleEndian(Integer Value);
    void Flush();
    void WriteOut(const std::string &Bytes);

    QIODevice &Device_;
    std::string Buffer_;
    unsigned long Crc_;
};

} // namespace Tunewell
