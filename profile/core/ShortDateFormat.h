#pragma once

#include <QChar>

namespace Tunewell {

// The order of day, month and year in the user's short date format, and its separator.
struct TShortDateFormat {
    enum TOrder { DayMonthYear, MonthDayYear, YearMonthDay };
    TOrder Order = DayMonthYear;
    QChar Separator = '/';
};

// Read from the user's locale each time (Windows: the user's short date format; elsewhere
// the LC_TIME locale's %x form).
TShortDateFormat UserShortDateFormat();

// Reads a format picture such as "%d/%m/%Y" or "dd.MM.yyyy": the order of the first day,
// month and year letters and the first character that is none of them (nor "%").
TShortDateFormat ShortDateFormatFromPicture(const QString &Picture);

} // namespace Tunewell
