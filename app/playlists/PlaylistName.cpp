#include "app/playlists/PlaylistName.h"

namespace Tunewell {

std::string FlatName(std::string_view Name) {
    std::string flat;
    flat.reserve(Name.size());
    for (const char byte : Name) {
        const bool blank = static_cast<unsigned char>(byte) <= 0x20 || byte == '\x7F';
        if (!blank) {
            flat += byte;
        } else if (!flat.empty() && flat.back() != ' ') {
            flat += ' ';
        }
    }
    if (!flat.empty() && flat.back() == ' ') {
        flat.pop_back();
    }
    return flat;
}

} // namespace Tunewell
