#include "Cumulo/AsciiCase.h"
#include "Cumulo/Exceptions.h"
#include "Cumulo/Helpers.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <vector>

namespace Cumulo {

namespace {

constexpr double kUnixEpoch = 25569.0; // 1970-01-01 as a date-time
constexpr std::int64_t kSecondsPerDay = 86400;

struct TCivilTime {
    int Year, Month, Day, Hour, Minute, Second;
};

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

TCivilTime CivilFromSeconds(std::int64_t Seconds) {
    std::int64_t days = Seconds / kSecondsPerDay;
    std::int64_t rest = Seconds % kSecondsPerDay;
    if (rest < 0)
        rest += kSecondsPerDay, --days;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
    return {static_cast<int>(y),
            static_cast<int>(m),
            static_cast<int>(d),
            static_cast<int>(rest / 3600),
            static_cast<int>(rest % 3600 / 60),
            static_cast<int>(rest % 60)};
}

std::int64_t SecondsFromCivil(const TCivilTime &t) {
    return DaysFromCivil(t.Year, static_cast<unsigned>(t.Month), static_cast<unsigned>(t.Day)) *
               kSecondsPerDay +
           t.Hour * 3600 + t.Minute * 60 + t.Second;
}

// Whole seconds since 1970 that a date-time stands for, on whatever clock it was read.
std::int64_t DateTimeToSeconds(TDateTime Value) {
    const auto ms = std::llround((Value - kUnixEpoch) * kSecondsPerDay * 1000.0);
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

TDateTime SecondsToDateTime(std::int64_t Seconds) {
    return kUnixEpoch + static_cast<double>(Seconds) / static_cast<double>(kSecondsPerDay);
}

std::tm LocalTm(std::time_t Instant) {
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &Instant);
#else
    localtime_r(&Instant, &tm);
#endif
    return tm;
}

// The local zone's offset from UTC at the instant, daylight saving included.
std::int64_t LocalOffsetAt(std::int64_t UtcSeconds) {
    const std::tm tm = LocalTm(static_cast<std::time_t>(UtcSeconds));
    const TCivilTime local{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return SecondsFromCivil(local) - UtcSeconds;
}

// The instant a local wall-clock time stands for; in an ambiguous or skipped hour the
// library's choice stands.
std::int64_t UtcFromLocalSeconds(std::int64_t LocalSeconds) {
    const TCivilTime c = CivilFromSeconds(LocalSeconds);
    std::tm tm{};
    tm.tm_year = c.Year - 1900;
    tm.tm_mon = c.Month - 1;
    tm.tm_mday = c.Day;
    tm.tm_hour = c.Hour;
    tm.tm_min = c.Minute;
    tm.tm_sec = c.Second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

std::vector<std::string> SplitWords(const std::string &Text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : Text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!word.empty())
                words.push_back(word), word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

bool AllDigits(const std::string &Text) {
    if (Text.empty())
        return false;
    for (char c : Text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

int ParseMonth(const std::string &Name) {
    static constexpr const char *kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                              "jul", "aug", "sep", "oct", "nov", "dec"};
    if (Name.size() != 3)
        return 0;
    const std::string lower = LowerAscii(Name);
    for (int i = 0; i < 12; ++i)
        if (lower == kMonths[i])
            return i + 1;
    return 0;
}

// Offset of a zone from UTC in seconds; false for an unknown zone.
bool ParseZone(const std::string &Zone, std::int64_t &Offset) {
    if (Zone.size() == 5 && (Zone[0] == '+' || Zone[0] == '-') && AllDigits(Zone.substr(1))) {
        const int hh = std::stoi(Zone.substr(1, 2));
        const int mm = std::stoi(Zone.substr(3, 2));
        if (mm > 59)
            return false;
        Offset = (Zone[0] == '-' ? -1 : 1) * (hh * 3600 + mm * 60);
        return true;
    }
    static const std::pair<const char *, int> kNamed[] = {{"GMT", 0},  {"UT", 0},   {"UTC", 0},  {"Z", 0},
                                                          {"EST", -5}, {"EDT", -4}, {"CST", -6}, {"CDT", -5},
                                                          {"MST", -7}, {"MDT", -6}, {"PST", -8}, {"PDT", -7}};
    std::string upper;
    for (char c : Zone)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const auto &[name, hours] : kNamed)
        if (upper == name) {
            Offset = hours * 3600;
            return true;
        }
    return false;
}

[[noreturn]] void RejectDateTime(const std::string &Text) {
    throw EConvertError("Invalid RFC 5322 date-time: " + Text);
}

} // namespace

TDateTime TFirebaseHelpers::ConvertTimeStampToUTCDateTime(std::int64_t TimeStamp) {
    return SecondsToDateTime(TimeStamp / 1000);
}

TDateTime TFirebaseHelpers::ConvertTimeStampToLocalDateTime(std::int64_t Timestamp) {
    return ConvertToLocalDateTime(ConvertTimeStampToUTCDateTime(Timestamp));
}

TDateTime TFirebaseHelpers::ConvertToLocalDateTime(TDateTime DateTimeStampUTC) {
    const std::int64_t seconds = DateTimeToSeconds(DateTimeStampUTC);
    const double fraction = DateTimeStampUTC - SecondsToDateTime(seconds);
    return SecondsToDateTime(seconds + LocalOffsetAt(seconds)) + fraction;
}

std::string TFirebaseHelpers::CodeRFC3339DateTime(TDateTime DateTimeStamp) {
    const std::int64_t local = DateTimeToSeconds(DateTimeStamp);
    const TCivilTime t = CivilFromSeconds(UtcFromLocalSeconds(local));
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.Year, t.Month, t.Day, t.Hour,
                  t.Minute, t.Second);
    return text;
}

TDateTime TFirebaseHelpers::ConvertRFC5322ToUTCDateTime(const std::string &DateTime) {
    // [day-name ","] day month year hh:mm[:ss] zone
    std::vector<std::string> words = SplitWords(DateTime);
    if (!words.empty() && words[0].size() >= 4 && words[0].back() == ',')
        words.erase(words.begin());
    else if (!words.empty() && words[0].find(',') != std::string::npos)
        RejectDateTime(DateTime);
    if (words.size() != 5)
        RejectDateTime(DateTime);
    const std::string &dayText = words[0], &yearText = words[2], &timeText = words[3];
    const int month = ParseMonth(words[1]);
    if (!AllDigits(dayText) || dayText.size() > 2 || month == 0 || !AllDigits(yearText) ||
        (yearText.size() != 2 && yearText.size() != 4))
        RejectDateTime(DateTime);
    int year = std::stoi(yearText);
    if (yearText.size() == 2)
        year += year < 50 ? 2000 : 1900;
    int hour = 0, minute = 0, second = 0;
    char tail = 0;
    const int fields = std::sscanf(timeText.c_str(), "%2d:%2d:%2d%c", &hour, &minute, &second, &tail);
    const bool shortForm = fields == 2 && timeText.size() == 5;
    const bool longForm = fields == 3 && timeText.size() == 8;
    if (!shortForm && !longForm)
        RejectDateTime(DateTime);
    const int day = std::stoi(dayText);
    const int lastDay = CivilFromSeconds(SecondsFromCivil({year, month % 12 + 1, 1, 0, 0, 0}) - 1).Day;
    std::int64_t offset = 0;
    if (day < 1 || day > (month == 12 ? 31 : lastDay) || hour > 23 || minute > 59 || second > 60 ||
        !ParseZone(words[4], offset))
        RejectDateTime(DateTime);
    const std::int64_t wall = SecondsFromCivil({year, month, day, hour, minute, std::min(second, 59)});
    return SecondsToDateTime(wall - offset);
}

TDateTime TFirebaseHelpers::ConvertRFC5322ToLocalDateTime(const std::string &DateTime) {
    return ConvertToLocalDateTime(ConvertRFC5322ToUTCDateTime(DateTime));
}

} // namespace Cumulo
