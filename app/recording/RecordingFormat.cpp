#include "app/recording/RecordingFormat.h"

namespace Tunewell {

std::optional<RecordingFormat> RecordingFormatOf(const StreamKind &Kind) {
    if (Kind.MediaType == "application/ogg" || Kind.MediaType == "audio/ogg")
        return RecordingFormat::Ogg;
    if (Kind.MediaType != "audio/mpeg")
        return std::nullopt;
    if (Kind.MpegVersion == 1 && Kind.Layer == 3)
        return RecordingFormat::Mp3;
    if ((Kind.MpegVersion == 2 || Kind.MpegVersion == 4) && Kind.StreamFormat == "adts")
        return RecordingFormat::Aac;
    return std::nullopt;
}

QString ExtensionOf(RecordingFormat Format) {
    switch (Format) {
    case RecordingFormat::Mp3:
        return QStringLiteral("mp3");
    case RecordingFormat::Aac:
        return QStringLiteral("aac");
    case RecordingFormat::Ogg:
        return QStringLiteral("ogg");
    }
    return {};
}

} // namespace Tunewell
