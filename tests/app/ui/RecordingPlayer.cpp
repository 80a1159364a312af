#include "RecordingPlayer.h"

namespace Tunewell::Testing {

RecordingPlayer::RecordingPlayer() : Widget_(new QWidget) {}

RecordingPlayer::~RecordingPlayer() {
    if (Widget_ && !Widget_->parent())
        delete Widget_.data();
}

} // namespace Tunewell::Testing
