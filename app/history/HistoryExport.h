#pragma once

#include "app/history/HistoryEntry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Tunewell {

// When a title started, in the local time of this computer: "2026-12-11 07:30:05".
std::string HistoryTimeText(std::int64_t StartedAt);

// One line per entry, "time  station  title", each ended by a line break; control characters
// within the station or the title are blanks.
std::string HistoryText(const std::vector<HistoryEntry> &Entries);
// CSV (RFC 4180): a header line, then time, station, title and address per entry; a field with
// a comma, a quote or a line break is quoted, its quotes doubled; lines end with CR LF. A field
// a spreadsheet would take for a formula (beginning with = + - @, a tab or a CR) is quoted with
// a single quote before it.
std::string HistoryCsv(const std::vector<HistoryEntry> &Entries);

// Writes Content to the file whole, or leaves what was there; throws EHistoryError.
void SaveHistoryFile(const std::string &Path, const std::string &Content);

} // namespace Tunewell
