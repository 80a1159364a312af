#include "shared/core/TimeText.h"

#include <locale.h>
#include <memory>
#include <time.h>
#include <type_traits>

namespace Tunewell {

namespace {

// Formats with the LC_TIME locale of the environment through a locale object of our own,
// so the process locale is left alone.
std::string Format(std::time_t When, const char *Picture) {
    std::unique_ptr<std::remove_pointer_t<locale_t>, decltype(&freelocale)> locale(
        newlocale(LC_TIME_MASK, "", nullptr), &freelocale);
    if (!locale) {
        locale.reset(newlocale(LC_TIME_MASK, "C", nullptr));
    }
    std::tm local{};
    if (!locale || !localtime_r(&When, &local)) {
        return {};
    }
    char text[128];
    const std::size_t size = strftime_l(text, sizeof text, Picture, &local, locale.get());
    return std::string(text, size);
}

} // namespace

std::string TimeText(std::time_t When) {
    return Format(When, "%X");
}

std::string DateText(std::time_t When) {
    return Format(When, "%x");
}

} // namespace Tunewell
