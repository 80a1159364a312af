#pragma once

#include "app/recording/RecordingFormat.h"

#include <QString>
#include <string_view>

namespace Tunewell {

// What the player hands over of the stream being heard: its bytes as the station sent them, the
// station's interleaved titles taken out, and the titles themselves, all in stream order on the
// player's streaming thread. Kind comes before the first bytes and again when it changes.
class IRecordingTap {
public:
    virtual ~IRecordingTap() = default;
    virtual void Kind(const StreamKind &Kind) = 0;
    virtual void Title(const QString &Title) = 0;
    virtual void Bytes(std::string_view Bytes) = 0;
};

} // namespace Tunewell
