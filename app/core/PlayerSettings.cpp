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
} // namespace

std::optional<int> PlayerSettings::Number(const QString &Name, int Lowest, int Highest) const {
    QString text;
    try {
        text = LerRegistro(kStore, kSection, Name);
    } catch (const ERegistroError &error) {
        // A damaged choice must not keep the player from starting.
        qWarning("%s; %s takes its default", error.what(), qPrintable(Name));
        return std::nullopt;
    }
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < Lowest || value > Highest)
        return std::nullopt;
    return value;
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
    return Number(kTitleNotices, 0, 1).value_or(0) == 1;
}

void PlayerSettings::SetTitleNotices(bool On) const {
    Write(kTitleNotices, On ? QStringLiteral("1") : QStringLiteral("0"));
}

int PlayerSettings::SleepMinutes() const {
    return Number(kSleepMinutes, 1, LongestSleepMinutes).value_or(DefaultSleepMinutes);
}

void PlayerSettings::SetSleepMinutes(int Minutes) const {
    Write(kSleepMinutes, QString::number(qBound(1, Minutes, LongestSleepMinutes)));
}

bool PlayerSettings::CloseToTray() const {
    return Number(kCloseToTray, 0, 1).value_or(0) == 1;
}

void PlayerSettings::SetCloseToTray(bool On) const {
    Write(kCloseToTray, On ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace Tunewell
