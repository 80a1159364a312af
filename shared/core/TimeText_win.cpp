#include "shared/core/TimeText.h"

#include <windows.h>

namespace Tunewell {

namespace {

std::string Utf8(const wchar_t *Text, int Length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, Text, Length, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? size : 0, '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, Text, Length, text.data(), size, nullptr, nullptr);
    }
    return text;
}

bool LocalSystemTime(std::time_t When, SYSTEMTIME &Time) {
    std::tm local{};
    if (localtime_s(&local, &When) != 0) {
        return false;
    }
    Time = {};
    Time.wYear = static_cast<WORD>(local.tm_year + 1900);
    Time.wMonth = static_cast<WORD>(local.tm_mon + 1);
    Time.wDay = static_cast<WORD>(local.tm_mday);
    Time.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    Time.wHour = static_cast<WORD>(local.tm_hour);
    Time.wMinute = static_cast<WORD>(local.tm_min);
    Time.wSecond = static_cast<WORD>(local.tm_sec);
    return true;
}

} // namespace

// Without a format picture both calls use the user's own formats: the long time format and,
// with DATE_SHORTDATE, the short date format.
std::string TimeText(std::time_t When) {
    SYSTEMTIME time;
    wchar_t text[128];
    if (!LocalSystemTime(When, time)) {
        return {};
    }
    const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, text, 128);
    return length > 0 ? Utf8(text, length - 1) : std::string();
}

std::string DateText(std::time_t When) {
    SYSTEMTIME time;
    wchar_t text[128];
    if (!LocalSystemTime(When, time)) {
        return {};
    }
    const int length =
        GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 128, nullptr);
    return length > 0 ? Utf8(text, length - 1) : std::string();
}

} // namespace Tunewell
