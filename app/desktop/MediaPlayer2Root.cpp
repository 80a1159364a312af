#include "app/desktop/MediaPlayer2Root.h"

#include "app/desktop/MainWindowControl.h"
#include "shared/ui/GeneralErrorDisplay.h"

#include <QTimer>

namespace Tunewell {

MediaPlayer2Root::MediaPlayer2Root(QObject *Exported, MainWindowControl &Control)
    : QDBusAbstractAdaptor(Exported), Control_(Control) {}

QString MediaPlayer2Root::Identity() const {
    return QStringLiteral("Tunewell");
}

QString MediaPlayer2Root::DesktopEntry() const {
    return QStringLiteral("tunewell");
}

void MediaPlayer2Root::Raise() {
    Control_.Raise();
}

void MediaPlayer2Root::Quit() {
    // After the answer has gone out: the close writes to the cloud, which takes its time.
    QTimer::singleShot(0, &Control_, Guarded([this] { Control_.Quit(); }));
}

} // namespace Tunewell
