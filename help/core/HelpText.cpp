#include "help/core/HelpText.h"

namespace Tunewell {

QString FillHelpText(QString Text, const HelpTextValues &Values) {
    return Text.replace(QLatin1String("{settings-file}"), Values.SettingsFile)
        .replace(QLatin1String("{maker-site}"), Values.MakerSite)
        .replace(QLatin1String("{maker-contact}"), Values.MakerContact);
}

} // namespace Tunewell
