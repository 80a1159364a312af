#include "app/history/HistoryExport.h"

#include "app/history/HistoryEntry.h"
#include "app/history/HistoryTitle.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace Tunewell;

namespace {
// 2026-12-11 07:30:05 on this computer's clock, whatever its zone.
std::int64_t LocalMorning() {
    return QDateTime(QDate(2026, 12, 11), QTime(7, 30, 5)).toSecsSinceEpoch();
}
} // namespace

TEST(HistoryExport, TimesAreLocalAndLinesReadTimeStationTitle) {
    EXPECT_EQ(HistoryTimeText(LocalMorning()), "2026-12-11 07:30:05");
    const std::vector<HistoryEntry> entries{{"Nara - Sol", "Rádio Alpha", "10", "http://a", LocalMorning()},
                                            {"Lua", "Bravo", "2", "http://b", LocalMorning() - 3600}};
    EXPECT_EQ(HistoryText(entries), "2026-12-11 07:30:05  Rádio Alpha  Nara - Sol\n"
                                    "2026-12-11 06:30:05  Bravo  Lua\n");
    EXPECT_EQ(HistoryText({}), "");
    // A line break kept in an older title forges no line of its own.
    EXPECT_EQ(
        HistoryText({{"Song\n2026-01-01 00:00:00  Fake  Line", "Al\tpha", "1", "http://a", LocalMorning()}}),
        "2026-12-11 07:30:05  Al pha  Song 2026-01-01 00:00:00  Fake  Line\n");
}

TEST(HistoryExport, ATitleIsOneLineWithEveryControlCharacterABlank) {
    struct Case {
        const char *Arrived;
        const char *Kept;
    } cases[] = {
        {"Artist - Title", "Artist - Title"},
        {"two\nlines", "two lines"},
        {"crlf\r\nend", "crlf  end"},
        {"tab\there", "tab here"},
        {"bell\a, escape\x1b[31m, delete\x7f", "bell , escape [31m, delete "},
        {"next line\u0085line separator\u2028paragraph\u2029", "next line line separator paragraph "},
        {"Canção ção – 日本 🎵", "Canção ção – 日本 🎵"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(OneLineTitle(c.Arrived), c.Kept) << c.Arrived;
}

TEST(HistoryExport, CsvQuotesOnlyTheFieldsThatNeedIt) {
    struct Case {
        const char *Title;
        const char *Field;
    } cases[] = {
        {"Plain title", "Plain title"},
        {"Ana, Bia - Mar", "\"Ana, Bia - Mar\""},
        {"The \"Hit\" Song", "\"The \"\"Hit\"\" Song\""},
        {"two\nlines", "\"two\nlines\""},
        {"carriage\rreturn", "\"carriage\rreturn\""},
        {"\"", "\"\"\"\""},
        {"", ""},
        {"Canção ção", "Canção ção"},
        // What a spreadsheet would take for a formula is text.
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+1+1", "\"'+1+1\""},
        {"-2+3", "\"'-2+3\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"\tTab", "\"'\tTab\""},
        {"\rCR", "\"'\rCR\""},
        {"a=b - c", "a=b - c"},
    };
    for (const auto &c : cases) {
        const std::string csv = HistoryCsv({{c.Title, "Alpha", "10", "http://a/x?b=1", LocalMorning()}});
        EXPECT_EQ(csv, std::string("time,station,title,address\r\n2026-12-11 07:30:05,Alpha,") + c.Field +
                           ",http://a/x?b=1\r\n")
            << c.Title;
    }
    EXPECT_EQ(
        HistoryCsv({{"t", "Rádio, FM", "1", "http://a/?x=\"1\"", LocalMorning()}}),
        "time,station,title,address\r\n2026-12-11 07:30:05,\"Rádio, FM\",t,\"http://a/?x=\"\"1\"\"\"\r\n");
}
