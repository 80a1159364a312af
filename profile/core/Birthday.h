#pragma once

#include "profile/core/ShortDateFormat.h"

#include <QString>
#include <optional>

namespace Tunewell {

// Reads the birthday field's text as a date in the given short date format (blanks around
// the numbers allowed, a time part after the date accepted) and gives it back written with
// two-digit day and month and a four-digit year. Nothing when the text is empty, partial or
// not a real date (31/02/1990).
//
// The field's mask puts the year last, so a year-first locale is read day first. The result
// keeps the locale's day and month order, so reading it again gives the same date.
std::optional<QString> ConvertBirthday(const QString &Text, const TShortDateFormat &Format);

// The birthday field's input mask: day and month two optional digits each, the year's four
// required, the locale's separator between them (the one ConvertBirthday reads), "_" for blanks.
QString BirthdayInputMask(QChar Separator);
// The field's text with nothing entered, blanks read as spaces ("  /  /    ").
QString EmptyBirthdayText(QChar Separator);

} // namespace Tunewell
