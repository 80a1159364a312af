#pragma once

#include <QString>
#include <array>

class QWidget;

namespace Tunewell {

class IDialogs;

// One theme of the "Skin" menu: its menu item, the item's caption and the theme's name.
struct ThemeEntry {
    const char *ItemName;
    const char *Caption;
    const char *ThemeName;
};

// The ten themes the program carries as resources (":/themes/<name>.qss"), applied to the
// whole program by name.
class ThemeManager {
public:
    // In the order of the "Skin" menu.
    static const std::array<ThemeEntry, 10> &Themes();
    static QString DefaultTheme() { return QStringLiteral("Auric"); }
    // Applies the theme; when it cannot be, the program keeps its look and the error is reported
    // through ErrorReport (when given). True when applied.
    static bool Apply(const QString &Name, IDialogs *ErrorReport, QWidget *Parent = nullptr);
    // The name of the theme applied last; empty before the first.
    static QString Applied();
};

} // namespace Tunewell
