#include "Player/NowPlayingTitle.h"

#include "Player/TitleText.h"

namespace Player {

bool NowPlayingTitle::offer(std::string_view bytes) {
    QString title = decodeTitle(bytes);
    if (title == text_) {
        return false;
    }
    text_ = std::move(title);
    return true;
}

bool NowPlayingTitle::clear() {
    const bool hadTitle = !text_.isEmpty();
    text_.clear();
    return hadTitle;
}

} // namespace Player
