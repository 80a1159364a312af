#include "app/recording/FrameHead.h"

#include "app/recording/OggPage.h"

#include <array>
#include <cstdint>

namespace Tunewell {

namespace {

using Kind = FrameHead::Kind;

constexpr FrameHead None{Kind::None, 0};
constexpr FrameHead TooShort{Kind::TooShort, 0};

std::uint8_t At(std::string_view Bytes, std::size_t Index) {
    return static_cast<std::uint8_t>(Bytes[Index]);
}

FrameHead Mp3Head(std::string_view Bytes) {
    constexpr std::size_t headerBytes = 4;
    // Layer III bitrates in kbit/s, by index: MPEG-1, then MPEG-2 and 2.5.
    static constexpr std::array<int, 15> mpeg1Rates{0,   32,  40,  48,  56,  64,  80, 96,
                                                    112, 128, 160, 192, 224, 256, 320};
    static constexpr std::array<int, 15> mpeg2Rates{0,  8,  16, 24,  32,  40,  48, 56,
                                                    64, 80, 96, 112, 128, 144, 160};
    static constexpr std::array<int, 3> mpeg1SampleRates{44100, 48000, 32000};
    if (Bytes.size() < headerBytes)
        return Bytes.empty() || At(Bytes, 0) == 0xFF ? TooShort : None;
    const int version = (At(Bytes, 1) >> 3) & 0x3;
    const int layer = (At(Bytes, 1) >> 1) & 0x3;
    const int bitrate = At(Bytes, 2) >> 4;
    const int sampleRate = (At(Bytes, 2) >> 2) & 0x3;
    const int padding = (At(Bytes, 2) >> 1) & 0x1;
    // Eleven sync bits, a known version, layer III, a listed bitrate and sample rate (a free
    // bitrate gives no length).
    if (At(Bytes, 0) != 0xFF || (At(Bytes, 1) & 0xE0) != 0xE0 || version == 1 || layer != 1 || bitrate == 0 ||
        bitrate == 0xF || sampleRate == 3)
        return None;
    constexpr int mpeg1 = 3;
    constexpr int mpeg2 = 2;
    const int kbits = version == mpeg1 ? mpeg1Rates[bitrate] : mpeg2Rates[bitrate];
    const int hertz = mpeg1SampleRates[sampleRate] >> (version == mpeg1 ? 0 : version == mpeg2 ? 1 : 2);
    // 1152 samples a frame in MPEG-1, 576 in MPEG-2 and 2.5.
    const int samplesPerByte = version == mpeg1 ? 144 : 72;
    return {Kind::Frame, static_cast<std::size_t>(samplesPerByte * kbits * 1000 / hertz + padding)};
}

FrameHead AdtsHead(std::string_view Bytes) {
    constexpr std::size_t headerBytes = 7;
    if (Bytes.size() < headerBytes)
        return Bytes.empty() || At(Bytes, 0) == 0xFF ? TooShort : None;
    const int sampleRate = (At(Bytes, 2) >> 2) & 0xF;
    // Twelve sync bits and layer 0, with a listed sample rate.
    if (At(Bytes, 0) != 0xFF || (At(Bytes, 1) & 0xF6) != 0xF0 || sampleRate >= 13)
        return None;
    const std::size_t length = ((At(Bytes, 3) & 0x3U) << 11) | (At(Bytes, 4) << 3U) | (At(Bytes, 5) >> 5U);
    return length < headerBytes ? None : FrameHead{Kind::Frame, length};
}

FrameHead OggHead(std::string_view Bytes) {
    constexpr std::string_view capture("OggS\0", 5);
    if (Bytes.substr(0, capture.size()) != capture.substr(0, Bytes.size()))
        return None;
    if (Bytes.size() < OggPage::HeaderBytes)
        return TooShort;
    const std::size_t segments = At(Bytes, OggPage::HeaderBytes - 1);
    if (Bytes.size() < OggPage::HeaderBytes + segments)
        return TooShort;
    std::size_t length = OggPage::HeaderBytes + segments;
    for (std::size_t index = 0; index < segments; ++index)
        length += At(Bytes, OggPage::HeaderBytes + index);
    return {Kind::Frame, length};
}

} // namespace

FrameHead ReadFrameHead(RecordingFormat Format, std::string_view Bytes) {
    switch (Format) {
    case RecordingFormat::Mp3:
        return Mp3Head(Bytes);
    case RecordingFormat::Aac:
        return AdtsHead(Bytes);
    case RecordingFormat::Ogg:
        return OggHead(Bytes);
    }
    return None;
}

} // namespace Tunewell
