#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Tunewell {

// The fields of a whole Ogg page that a recording reads or rewrites; Page is exactly one page.
namespace OggPage {

// The capture pattern to the segment count.
inline constexpr std::size_t HeaderBytes = 27;

// Whether the page's checksum matches its bytes.
bool ChecksumHolds(std::string_view Page);
// The first page of a logical stream.
bool BeginsStream(std::string_view Page);
// Its first bytes end a packet begun on an earlier page.
bool ContinuesPacket(std::string_view Page);
std::uint32_t Serial(std::string_view Page);
// How many packets end on the page.
int PacketsEnded(std::string_view Page);
// The bytes of the page's first packet that are on this page.
std::string_view FirstPacket(std::string_view Page);
// Page with another sequence number and the checksum that goes with it.
void Renumber(std::string &Page, std::uint32_t Sequence);

} // namespace OggPage

} // namespace Tunewell
