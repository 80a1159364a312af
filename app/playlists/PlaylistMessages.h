#pragma once

#include "app/playlists/PlaylistError.h"

#include <string>
#include <string_view>

namespace Tunewell {

// Why a playlist file is refused, each in English and Portuguese. Line numbers count from 1.
namespace PlaylistRefusal {

PlaylistError CannotRead(const std::string &Reason);
PlaylistError NotAFile();
PlaylistError TooLarge();
PlaylistError Binary(int Line);
PlaylistError NotUtf8(int Line);
PlaylistError LineTooLong(int Line);
PlaylistError TooManyEntries();
PlaylistError NotAnAddress(int Line, std::string_view Address);
PlaylistError AddressTooLong(int Line);
PlaylistError UnknownFormat();
PlaylistError Doctype();
PlaylistError MalformedXml(int Line, const std::string &Detail);
PlaylistError NotXspf();
PlaylistError NoStations();

} // namespace PlaylistRefusal

} // namespace Tunewell
