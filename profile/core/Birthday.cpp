#include "profile/core/Birthday.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>

namespace Tunewell {

namespace {

std::optional<int> Number(const QString &Part, int MaxDigits) {
    const QString digits = Part.trimmed();
    if (digits.isEmpty() || digits.size() > MaxDigits) {
        return std::nullopt;
    }
    for (const QChar c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    return digits.toInt();
}

bool ValidTimePart(const QString &Text) {
    static const QRegularExpression time(R"(^\s*(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*$)");
    const auto match = time.match(Text);
    return match.hasMatch() && match.captured(1).toInt() < 24 && match.captured(2).toInt() < 60 &&
           match.captured(3).toInt() < 60;
}

QString TwoDigits(int Value) {
    return QString::number(Value).rightJustified(2, '0');
}

} // namespace

QString BirthdayInputMask(QChar Separator) {
    // Escaped: a separator such as "." or "-" must stay a literal of the mask.
    const QString sep = QStringLiteral("\\") + Separator;
    return "00" + sep + "00" + sep + "9999;_";
}

QString EmptyBirthdayText(QChar Separator) {
    const QString sep(Separator);
    return "  " + sep + "  " + sep + "    ";
}

std::optional<QString> ConvertBirthday(const QString &Text, const TShortDateFormat &Format) {
    QStringList parts = Text.split(Format.Separator);
    if (parts.size() != 3) {
        return std::nullopt;
    }
    // A time may follow the year after a blank.
    QString last = parts[2].trimmed();
    const qsizetype blank = last.indexOf(' ');
    if (blank >= 0) {
        if (!ValidTimePart(last.mid(blank + 1))) {
            return std::nullopt;
        }
        last = last.left(blank);
    }
    const bool monthFirst = Format.Order == TShortDateFormat::MonthDayYear;
    if (last.size() != 4) {
        return std::nullopt;
    }
    const int day = Number(parts[monthFirst ? 1 : 0], 2).value_or(0);
    const int month = Number(parts[monthFirst ? 0 : 1], 2).value_or(0);
    const int year = Number(last, 4).value_or(0);
    if (year < 1 || !QDate::isValid(year, month, day)) {
        return std::nullopt;
    }
    const QString sep(Format.Separator);
    const QString yearText = QString::number(year).rightJustified(4, '0');
    return monthFirst ? TwoDigits(month) + sep + TwoDigits(day) + sep + yearText
                      : TwoDigits(day) + sep + TwoDigits(month) + sep + yearText;
}

} // namespace Tunewell
