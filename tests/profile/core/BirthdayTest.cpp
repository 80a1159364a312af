#include "profile/core/Birthday.h"

#include <gtest/gtest.h>

using namespace Tunewell;

TEST(Birthday, ConvertsInTheLocalesOrderAndSeparator) {
    const TShortDateFormat dmy{TShortDateFormat::DayMonthYear, '/'};
    const TShortDateFormat mdy{TShortDateFormat::MonthDayYear, '/'};
    const TShortDateFormat dotted{TShortDateFormat::DayMonthYear, '.'};
    const TShortDateFormat ymd{TShortDateFormat::YearMonthDay, '-'};
    struct Case {
        TShortDateFormat Format;
        const char *Text;
        const char *Expected; // nullptr: "Data Inválida"
    };
    const Case cases[] = {
        {dmy, "25/12/1990", "25/12/1990"},  {dmy, " 1/ 2/1990", "01/02/1990"},
        {dmy, "29/02/2000", "29/02/2000"},  {dmy, "25/12/1990 10:30", "25/12/1990"},
        {mdy, "12/25/1990", "12/25/1990"},  {dotted, "25.12.1990", "25.12.1990"},
        {ymd, "25-12-1990", "25-12-1990"},  {dmy, "31/02/1990", nullptr},
        {dmy, "29/02/1900", nullptr},       {dmy, "", nullptr},
        {dmy, "  /  /    ", nullptr},       {dmy, "12/05/    ", nullptr},
        {dmy, "12/  /1990", nullptr},       {dmy, "12/05/19  ", nullptr},
        {dmy, "25/12/1990 25:00", nullptr}, {dmy, "1a/12/1990", nullptr},
        {dmy, "00/12/1990", nullptr},       {mdy, "25/12/1990", nullptr},
        {dotted, "25/12/1990", nullptr},
    };
    for (const auto &c : cases) {
        const auto result = ConvertBirthday(QString::fromUtf8(c.Text), c.Format);
        if (c.Expected) {
            EXPECT_EQ(result.value_or("none").toStdString(), c.Expected) << c.Text;
        } else {
            EXPECT_FALSE(result.has_value()) << c.Text;
        }
    }
}

TEST(Birthday, ReadsTheOrderAndSeparatorOfAFormatPicture) {
    struct Case {
        const char *Picture;
        TShortDateFormat::TOrder Order;
        char Separator;
    };
    const Case cases[] = {
        {"%d/%m/%Y", TShortDateFormat::DayMonthYear, '/'},
        {"%m/%d/%y", TShortDateFormat::MonthDayYear, '/'},
        {"%D", TShortDateFormat::MonthDayYear, '/'},
        {"%d.%m.%Y", TShortDateFormat::DayMonthYear, '.'},
        {"%F", TShortDateFormat::YearMonthDay, '-'},
        {"dd/MM/yyyy", TShortDateFormat::DayMonthYear, '/'},
        {"M/d/yyyy", TShortDateFormat::MonthDayYear, '/'},
        {"yyyy-MM-dd", TShortDateFormat::YearMonthDay, '-'},
        {"%e-%b-%Y", TShortDateFormat::DayMonthYear, '-'},
    };
    for (const auto &c : cases) {
        const auto format = ShortDateFormatFromPicture(c.Picture);
        EXPECT_EQ(format.Order, c.Order) << c.Picture;
        EXPECT_EQ(format.Separator, QChar(c.Separator)) << c.Picture;
    }
}
