// The event-stream parser fed in random splits: the events must not depend on where the bytes
// were cut, and each event decodes without a fault.
#include <Cumulo/EventStreamParser.h>
#include <Cumulo/StreamEventDecoder.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t PendingLimit = 4096;

// The events of Text fed in pieces of 1 to 16 bytes chosen by Cuts, cycled (whole when Cuts is
// empty); false when the parser refused an event past the limit.
bool FeedInPieces(std::string_view Text, std::string_view Cuts, std::vector<Cumulo::TStreamEvent> &Events) {
    Cumulo::TEventStreamParser parser(PendingLimit);
    std::size_t next = 0;
    try {
        while (!Text.empty()) {
            const std::size_t length =
                Cuts.empty() ? Text.size() : 1 + static_cast<unsigned char>(Cuts[next++ % Cuts.size()]) % 16;
            const auto piece = Text.substr(0, length);
            Text.remove_prefix(piece.size());
            for (auto &event : parser.Feed(piece)) {
                Events.push_back(std::move(event));
            }
        }
    } catch (const std::length_error &) {
        return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
    // The first 16 bytes choose the cuts; the rest is the stream.
    const std::string_view input(reinterpret_cast<const char *>(Data), Size);
    const auto cuts = input.substr(0, 16);
    const auto stream = input.substr(cuts.size());
    std::vector<Cumulo::TStreamEvent> whole;
    std::vector<Cumulo::TStreamEvent> pieces;
    const bool wholeFits = FeedInPieces(stream, {}, whole);
    const bool piecesFit = FeedInPieces(stream, cuts, pieces);
    if (wholeFits && piecesFit && whole != pieces) {
        std::abort();
    }
    for (const auto &event : whole) {
        Cumulo::DecodeStreamEvent(event);
    }
    return 0;
}
