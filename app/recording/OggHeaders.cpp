#include "app/recording/OggHeaders.h"

#include "app/recording/OggPage.h"

#include <algorithm>

namespace Tunewell {

namespace {

std::uint32_t BigEndian16(std::string_view Bytes, std::size_t At) {
    return (static_cast<std::uint8_t>(Bytes[At]) << 8U) | static_cast<std::uint8_t>(Bytes[At + 1]);
}

std::uint32_t LittleEndian32(std::string_view Bytes, std::size_t At) {
    std::uint32_t value = 0;
    for (std::size_t index = 4; index-- > 0;)
        value = (value << 8U) | static_cast<std::uint8_t>(Bytes[At + index]);
    return value;
}

// How many header packets the codec whose first packet is First sends before its audio; a codec
// not known here is taken to have its first packet alone.
int HeaderPackets(std::string_view First) {
    const auto startsWith = [First](std::string_view Magic) {
        return First.substr(0, Magic.size()) == Magic;
    };
    if (startsWith(std::string_view("\x01vorbis", 7)) || startsWith("\x80theora"))
        return 3;
    if (startsWith("OpusHead"))
        return 2;
    // Its first packet counts the header packets after it.
    constexpr std::size_t flacCountAt = 7;
    if (startsWith("\x7F"
                   "FLAC") &&
        First.size() >= flacCountAt + 2)
        return 1 + static_cast<int>(BigEndian16(First, flacCountAt));
    constexpr std::size_t speexExtraAt = 68;
    if (startsWith("Speex   ") && First.size() >= speexExtraAt + 4)
        return 2 + static_cast<int>(std::min<std::uint32_t>(LittleEndian32(First, speexExtraAt), 16));
    return 1;
}

} // namespace

bool OggHeaders::Take(std::string_view Page) {
    if (OggPage::BeginsStream(Page)) {
        if (PastFirstPages_) {
            Streams_.clear();
            Pages_.clear();
            PastFirstPages_ = false;
        }
        Streams_.push_back(
            {OggPage::Serial(Page), HeaderPackets(OggPage::FirstPacket(Page)), OggPage::PacketsEnded(Page)});
        Pages_.append(Page);
        return true;
    }
    PastFirstPages_ = true;
    const auto stream =
        std::find_if(Streams_.begin(), Streams_.end(),
                     [serial = OggPage::Serial(Page)](const Stream &Each) { return Each.Serial == serial; });
    if (stream == Streams_.end() || stream->Seen >= stream->Needed)
        return false;
    stream->Seen += OggPage::PacketsEnded(Page);
    Pages_.append(Page);
    return true;
}

bool OggHeaders::Complete() const {
    return !Streams_.empty() && std::all_of(Streams_.begin(), Streams_.end(),
                                            [](const Stream &Each) { return Each.Seen >= Each.Needed; });
}

} // namespace Tunewell
