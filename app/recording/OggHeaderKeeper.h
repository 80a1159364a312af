#pragma once

#include "app/recording/FrameSplitter.h"
#include "app/recording/OggHeaders.h"

#include <string>
#include <string_view>

namespace Tunewell {

// Follows an Ogg stream from its first byte and keeps its header pages, so that a recording
// begun anywhere later can still begin its files with them.
class OggHeaderKeeper {
public:
    void Feed(std::string_view Bytes);
    // What a recording begun now is handed before the stream's next bytes: the header pages,
    // then the start of the page not yet whole, so that the stream goes on from there unbroken.
    std::string Handover() const;

private:
    FrameSplitter Pages_{RecordingFormat::Ogg};
    OggHeaders Headers_;
};

} // namespace Tunewell
