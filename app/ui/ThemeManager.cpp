#include "app/ui/ThemeManager.h"

#include "shared/ui/Dialogs.h"

#include <QApplication>
#include <QFile>

namespace Tunewell {

namespace {
// The applied theme's name travels with the application object rather than in a variable of ours.
constexpr const char *kAppliedProperty = "tunewellTheme";
} // namespace

const std::array<ThemeEntry, 10> &ThemeManager::Themes() {
    static const std::array<ThemeEntry, 10> themes{{
        {"Amethist1", "Amethist", "Amethyst Velour"},
        {"Amakrits1", "Amakrits", "Amakrits"},
        {"AquaLight1", "Aqua Light", "Aqua Light Slate"},
        {"Auric1", "Auric", "Auric"},
        {"Cobalt1", "Cobalt", "Cobalt Medialux"},
        {"Cyan1", "Cyan", "Cyan Dusk"},
        {"Lavender1", "Lavender", "Lavender Classico"},
        {"Light1", "Light", "Light"},
        {"Sapphire1", "Sapphire", "Sapphire Velour"},
        {"Smokey1", "Smokey", "Smokey Quartz Velour"},
    }};
    return themes;
}

bool ThemeManager::Apply(const QString &Name, IDialogs *ErrorReport, QWidget *Parent) {
    QFile file(QStringLiteral(":/themes/%1.qss").arg(Name));
    if (!file.open(QIODevice::ReadOnly)) {
        if (ErrorReport)
            ErrorReport->ShowError(
                Parent, QStringLiteral("Theme '%1' cannot be applied: %2").arg(Name, file.errorString()));
        return false;
    }
    qApp->setStyleSheet(QString::fromUtf8(file.readAll()));
    qApp->setProperty(kAppliedProperty, Name);
    return true;
}

QString ThemeManager::Applied() {
    return qApp->property(kAppliedProperty).toString();
}

} // namespace Tunewell
