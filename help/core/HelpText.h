#pragma once

#include <QString>

namespace Tunewell {

// What the help text says that only this machine and this build know.
struct HelpTextValues {
    QString SettingsFile;
    QString MakerSite;
    QString MakerContact;
};

// The help text with its fields "{settings-file}", "{maker-site}" and "{maker-contact}" filled in.
QString FillHelpText(QString Text, const HelpTextValues &Values);

} // namespace Tunewell
