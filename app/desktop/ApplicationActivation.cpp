#include "app/desktop/ApplicationActivation.h"

#include "shared/ui/GeneralErrorDisplay.h"

#include <QTimer>

namespace Tunewell {

ApplicationActivation::ApplicationActivation(QObject *Exported, std::function<void()> Activated)
    : QDBusAbstractAdaptor(Exported), Activated_(std::move(Activated)) {}

void ApplicationActivation::Activate(const QVariantMap &) {
    // After the answer has gone out, so the caller is not kept waiting on the window.
    QTimer::singleShot(0, parent(), Guarded([this] { Activated_(); }));
}

void ApplicationActivation::Open(const QStringList &, const QVariantMap &PlatformData) {
    Activate(PlatformData);
}

void ApplicationActivation::ActivateAction(const QString &, const QVariantList &, const QVariantMap &) {}

} // namespace Tunewell
