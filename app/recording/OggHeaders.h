#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Tunewell {

// The header pages of an Ogg stream: each logical stream's first page and the pages that carry
// the rest of its codec's header packets (Vorbis three, Opus two). A file that begins with them
// plays from any page on; without them no player reads it.
class OggHeaders {
public:
    // Whether the whole Page is one of them, and then keeps it. A stream's first page after
    // pages of another kind begins a new link of a chained stream, whose headers replace these.
    bool Take(std::string_view Page);
    // Every logical stream seen has all its header packets.
    bool Complete() const;
    // The pages kept, in stream order.
    const std::string &Pages() const { return Pages_; }

private:
    struct Stream {
        std::uint32_t Serial = 0;
        int Needed = 0;
        int Seen = 0;
    };

    std::vector<Stream> Streams_;
    std::string Pages_;
    bool PastFirstPages_ = false;
};

} // namespace Tunewell
