#pragma once

#include <QString>
#include <string_view>

namespace Player {

// Stations repeat the current title many times a second; this keeps the last one so that
// each change is reported once.
class NowPlayingTitle {
public:
    // True when the offered title differs from the current one (which it then becomes).
    bool offer(std::string_view bytes);
    // Forget the title, for a new station; true when there was one.
    bool clear();
    const QString &text() const { return text_; }

private:
    QString text_;
};

} // namespace Player
