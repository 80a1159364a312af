#pragma once

#include <QString>
#include <optional>
#include <string>

namespace Tunewell {

// The formats kept as the station sends them, each a stream that plays from any frame on.
enum class RecordingFormat { Mp3, Aac, Ogg };

// What the pipeline says of the stream's bytes: the caps' media type and the fields that tell
// MPEG audio apart.
struct StreamKind {
    std::string MediaType;
    int MpegVersion = 0;
    int Layer = 0;
    std::string StreamFormat;
    bool operator==(const StreamKind &) const = default;
};

// Empty for a stream that cannot be kept as sent (raw AAC without ADTS headers has no frame
// boundaries a player can find; other formats have no file type here).
std::optional<RecordingFormat> RecordingFormatOf(const StreamKind &Kind);
// "mp3", "aac", "ogg".
QString ExtensionOf(RecordingFormat Format);

} // namespace Tunewell
