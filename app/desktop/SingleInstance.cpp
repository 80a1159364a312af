#include "app/desktop/SingleInstance.h"

#include "app/desktop/ApplicationActivation.h"
#include "app/desktop/BusName.h"

#include <QDBusMessage>
#include <QVariantMap>

namespace Tunewell {

const QString SingleInstance::ServiceName = QStringLiteral("org.tunewell.Tunewell");
const QString SingleInstance::ObjectPath = QStringLiteral("/org/tunewell/Tunewell");

SingleInstance::SingleInstance(QDBusConnection Bus, QObject *Parent) : QObject(Parent), Bus_(std::move(Bus)) {
    new ApplicationActivation(&Exported_, [this] {
        if (Show_)
            Show_();
    });
}

SingleInstance::~SingleInstance() {
    Release();
}

bool SingleInstance::Claim() {
    if (!Bus_.isConnected())
        return true;
    // The object first: a start that finds the name finds it ready to answer.
    if (!Bus_.registerObject(ObjectPath, &Exported_, QDBusConnection::ExportAdaptors)) {
        qWarning("One program per session is not kept: the object %s is taken", qPrintable(ObjectPath));
        return true;
    }
    const BusNameClaim claim = ClaimBusName(Bus_, ServiceName);
    switch (claim.Outcome) {
    case BusNameClaim::TOutcome::Owned:
        Owned_ = true;
        return true;
    case BusNameClaim::TOutcome::Refused:
        qWarning("One program per session is not kept: %s", qPrintable(claim.Reason));
        Bus_.unregisterObject(ObjectPath);
        return true;
    case BusNameClaim::TOutcome::Taken:
        break;
    }
    Bus_.unregisterObject(ObjectPath);
    ActivateOther();
    return false;
}

void SingleInstance::ActivateOther() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        ServiceName, ObjectPath, QStringLiteral("org.freedesktop.Application"), QStringLiteral("Activate"));
    call << QVariantMap();
    // The events go on meanwhile: the running instance may be this process's own in a test.
    const QDBusMessage reply = Bus_.call(call, QDBus::BlockWithGui, ActivationTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage)
        qWarning("Tunewell is already running but did not answer: %s", qPrintable(reply.errorMessage()));
    else
        qInfo("Tunewell is already running: its window is shown");
}

void SingleInstance::Release() {
    if (!std::exchange(Owned_, false))
        return;
    Bus_.unregisterService(ServiceName);
    Bus_.unregisterObject(ObjectPath);
}

} // namespace Tunewell
