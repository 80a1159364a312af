#include "app/core/PlayerSettings.h"

#include "shared/core/Registro.h"

#include <QtGlobal>

namespace Tunewell {

namespace {
const QString kStore = QStringLiteral("Firebase");
const QString kSection = QStringLiteral("Player");
const QString kVolume = QStringLiteral("Volume");
const QString kTitleNotices = QStringLiteral("TitleNotices");
const QString kSleepMinutes = QStringLiteral("SleepMinutes");
const QString kCloseToTray = QStringLiteral("CloseToTray");
const QString kAlarmOn = QStringLiteral("AlarmOn");
const QString kAlarmTime = QStringLiteral("AlarmTime");
const QString kAlarmDays = QStringLiteral("AlarmDays");
const QString kAlarmStation = QStringLiteral("AlarmStation");
const QString kAlarmStationName = QStringLiteral("AlarmStationName");
const QString kAlarmVolume = QStringLiteral("AlarmVolume");
const QString kLastFolder = QStringLiteral("LastFolder");
const QString kTimeFormat = QStringLiteral("HH:mm");
} // namespace

QString PlayerSettings::Text(const QString &Name) const {
    try {
        return LerRegistro(kStore, kSection, Name);
    } catch (const ERegistroError &error) {
        // A damaged choice must not keep the player from starting.
        qWarning("%s; %s takes its default", error.what(), qPrintable(Name));
        return {};
    }
}

std::optional<int> PlayerSettings::Number(const QString &Name, int Lowest, int Highest) const {
    const QString text = Text(Name);
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < Lowest || value > Highest)
        return std::nullopt;
    return value;
}

bool PlayerSettings::Flag(const QString &Name) const {
    return Number(Name, 0, 1).value_or(0) == 1;
}

void PlayerSettings::WriteFlag(const QString &Name, bool On) const {
    Write(Name, On ? QStringLiteral("1") : QStringLiteral("0"));
}

void PlayerSettings::Write(const QString &Name, const QString &Value) const {
    try {
        GravarRegistro(kStore, kSection, Name, Value);
    } catch (const ERegistroError &error) {
        // The choice holds until the end of this run all the same.
        qWarning("%s; %s is not kept", error.what(), qPrintable(Name));
    }
}

std::optional<int> PlayerSettings::Volume() const {
    return Number(kVolume, 0, 100);
}

void PlayerSettings::SetVolume(int Percent) const {
    Write(kVolume, QString::number(qBound(0, Percent, 100)));
}

bool PlayerSettings::TitleNotices() const {
    return Flag(kTitleNotices);
}

void PlayerSettings::SetTitleNotices(bool On) const {
    WriteFlag(kTitleNotices, On);
}

int PlayerSettings::SleepMinutes() const {
    return Number(kSleepMinutes, 1, LongestSleepMinutes).value_or(DefaultSleepMinutes);
}

void PlayerSettings::SetSleepMinutes(int Minutes) const {
    Write(kSleepMinutes, QString::number(qBound(1, Minutes, LongestSleepMinutes)));
}

bool PlayerSettings::CloseToTray() const {
    return Flag(kCloseToTray);
}

void PlayerSettings::SetCloseToTray(bool On) const {
    WriteFlag(kCloseToTray, On);
}

AlarmChoice PlayerSettings::Alarm() const {
    AlarmChoice choice;
    choice.On = Flag(kAlarmOn);
    if (const QTime at = QTime::fromString(Text(kAlarmTime).trimmed(), kTimeFormat); at.isValid())
        choice.At = at;
    // The days as digits, 1 for Monday to 7 for Sunday: "12345".
    for (const QChar day : Text(kAlarmDays))
        if (day >= QLatin1Char('1') && day <= QLatin1Char('7'))
            choice.Days |= 1u << (day.unicode() - '1');
    choice.Serie = Text(kAlarmStation).trimmed();
    choice.StationName = Text(kAlarmStationName);
    choice.Volume = Number(kAlarmVolume, 0, 100).value_or(choice.Volume);
    return choice;
}

void PlayerSettings::SetAlarm(const AlarmChoice &Choice) const {
    QString days;
    for (int day = 1; day <= 7; ++day)
        if (Choice.Days >> (day - 1) & 1u)
            days += QString::number(day);
    WriteFlag(kAlarmOn, Choice.On);
    Write(kAlarmTime, Choice.At.toString(kTimeFormat));
    Write(kAlarmDays, days);
    Write(kAlarmStation, Choice.Serie);
    Write(kAlarmStationName, Choice.StationName);
    Write(kAlarmVolume, QString::number(qBound(0, Choice.Volume, 100)));
}

QString PlayerSettings::LastFolder() const {
    return Text(kLastFolder);
}

void PlayerSettings::SetLastFolder(const QString &Folder) const {
    Write(kLastFolder, Folder);
}

} // namespace Tunewell
