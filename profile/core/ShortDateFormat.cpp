#include "profile/core/ShortDateFormat.h"

#include <QString>

namespace Tunewell {

TShortDateFormat ShortDateFormatFromPicture(const QString &Picture) {
    // strftime's %D and %F stand for whole dates.
    QString picture = Picture;
    picture.replace("%D", "%m/%d/%y").replace("%F", "%Y-%m-%d");
    qsizetype day = -1;
    qsizetype month = -1;
    qsizetype year = -1;
    TShortDateFormat format;
    bool separatorFound = false;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        const QChar lower = c.toLower();
        if (lower == 'd' || lower == 'e') {
            day = day < 0 ? i : day;
        } else if (c == 'm' || c == 'M' || lower == 'b') {
            month = month < 0 ? i : month;
        } else if (lower == 'y') {
            year = year < 0 ? i : year;
        } else if (c != '%' && !separatorFound && c.unicode() > 0x20) {
            format.Separator = c;
            separatorFound = true;
        }
    }
    if (year >= 0 && (year < day || day < 0) && (year < month || month < 0)) {
        format.Order = TShortDateFormat::YearMonthDay;
    } else if (month >= 0 && day >= 0 && month < day) {
        format.Order = TShortDateFormat::MonthDayYear;
    } else {
        format.Order = TShortDateFormat::DayMonthYear;
    }
    return format;
}

} // namespace Tunewell
