#pragma once

#include <QString>
#include <string>

namespace Tunewell {

// An ID3v2.4 tag with UTF-8 text frames for the title (TIT2), artist (TPE1) and album (TALB);
// empty fields get no frame, and nothing at all gives an empty string.
std::string Id3v2Tag(const QString &Title, const QString &Artist, const QString &Album);

// The tag of a recorded MP3: title and artist from a now-playing "Artist - Title", the station
// as album.
std::string RecordingTag(const QString &NowPlaying, const QString &Station);

} // namespace Tunewell
