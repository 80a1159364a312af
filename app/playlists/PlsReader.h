#pragma once

#include <string_view>

namespace Tunewell {

class TPlaylistEntries;

// A PLS playlist: "FileN=" lines are the entries in the order of N, named by "TitleN=" wherever
// it stands. Keys in any case; Length, NumberOfEntries, Version and other keys are passed over
// (a NumberOfEntries that disagrees with the File lines is common, and the lines win).
void ReadPls(std::string_view Text, TPlaylistEntries &Entries);

} // namespace Tunewell
