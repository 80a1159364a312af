#include "app/recording/Id3v2Tag.h"

#include "app/core/StreamTitleParts.h"

#include <cstdint>

namespace Tunewell {

namespace {

// Seven bits a byte, so that no size looks like a frame sync.
void AppendSyncSafe(std::string &Out, std::uint32_t Value) {
    for (int shift = 21; shift >= 0; shift -= 7)
        Out += static_cast<char>((Value >> shift) & 0x7F);
}

void AppendTextFrame(std::string &Out, const char *Id, const QString &Text) {
    if (Text.isEmpty())
        return;
    const QByteArray utf8 = Text.toUtf8();
    constexpr char utf8Encoding = 3;
    Out += Id;
    AppendSyncSafe(Out, static_cast<std::uint32_t>(utf8.size() + 1));
    Out += std::string(2, '\0');
    Out += utf8Encoding;
    Out += utf8.toStdString();
}

} // namespace

std::string Id3v2Tag(const QString &Title, const QString &Artist, const QString &Album) {
    std::string frames;
    AppendTextFrame(frames, "TIT2", Title);
    AppendTextFrame(frames, "TPE1", Artist);
    AppendTextFrame(frames, "TALB", Album);
    if (frames.empty())
        return {};
    std::string tag("ID3\x04\x00\x00", 6);
    AppendSyncSafe(tag, static_cast<std::uint32_t>(frames.size()));
    return tag + frames;
}

std::string RecordingTag(const QString &NowPlaying, const QString &Station) {
    const StreamTitleParts parts = SplitStreamTitle(NowPlaying);
    return Id3v2Tag(parts.Title, parts.Artist, Station);
}

} // namespace Tunewell
