#include "app/recording/FrameStart.h"

#include <cstdint>

namespace Tunewell {

namespace {

constexpr std::size_t HeaderBytes = 4;

bool IsMp3Header(const std::uint8_t *Header) {
    const int version = (Header[1] >> 3) & 0x3;
    const int layer = (Header[1] >> 1) & 0x3;
    const int bitrate = Header[2] >> 4;
    const int sampleRate = (Header[2] >> 2) & 0x3;
    // Eleven sync bits, a known version, layer III, a listed bitrate and sample rate.
    return Header[0] == 0xFF && (Header[1] & 0xE0) == 0xE0 && version != 1 && layer == 1 && bitrate != 0 &&
           bitrate != 0xF && sampleRate != 3;
}

bool IsAdtsHeader(const std::uint8_t *Header) {
    const int sampleRate = (Header[2] >> 2) & 0xF;
    // Twelve sync bits and layer 0, with a listed sample rate.
    return Header[0] == 0xFF && (Header[1] & 0xF6) == 0xF0 && sampleRate < 13;
}

bool IsOggPage(const std::uint8_t *Header) {
    return Header[0] == 'O' && Header[1] == 'g' && Header[2] == 'g' && Header[3] == 'S';
}

} // namespace

std::optional<std::size_t> FindFrameStart(RecordingFormat Format, std::string_view Bytes) {
    const auto *data = reinterpret_cast<const std::uint8_t *>(Bytes.data());
    const auto isHeader = Format == RecordingFormat::Mp3   ? IsMp3Header
                          : Format == RecordingFormat::Aac ? IsAdtsHeader
                                                           : IsOggPage;
    for (std::size_t at = 0; at + HeaderBytes <= Bytes.size(); ++at) {
        if (isHeader(data + at))
            return at;
    }
    return std::nullopt;
}

} // namespace Tunewell
