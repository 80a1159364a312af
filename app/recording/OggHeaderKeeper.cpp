#include "app/recording/OggHeaderKeeper.h"

namespace Tunewell {

void OggHeaderKeeper::Feed(std::string_view Bytes) {
    Pages_.Feed(Bytes, [this](std::string_view Page, std::uint64_t) { Headers_.Take(Page); });
}

std::string OggHeaderKeeper::Handover() const {
    return Headers_.Pages() + std::string(Pages_.Held());
}

} // namespace Tunewell
