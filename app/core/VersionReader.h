#pragma once

#include <Cumulo/Types.h>
#include <string>
#include <string_view>

namespace Tunewell {

struct TPublishedVersion {
    std::string Version;
    std::string Url;
};

// Cuts the published version and download address out of the VERSOES node, which holds the
// two string members "Software" and "Url" in this order. Another shape yields other pieces
// (an empty version, for instance); no error is raised.
TPublishedVersion ReadVersion(const Cumulo::TJSONValue &Node);
TPublishedVersion ReadVersionText(std::string_view NodeText);

} // namespace Tunewell
