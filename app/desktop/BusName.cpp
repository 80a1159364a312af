#include "app/desktop/BusName.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>

namespace Tunewell {

BusNameClaim ClaimBusName(QDBusConnection &Bus, const QString &Name) {
    QDBusConnectionInterface *bus = Bus.interface();
    if (!bus)
        return {BusNameClaim::TOutcome::Refused, QStringLiteral("not connected to a bus")};
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus->registerService(
        Name, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid())
        return {BusNameClaim::TOutcome::Refused, reply.error().message()};
    if (reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return {BusNameClaim::TOutcome::Owned, {}};
    return {BusNameClaim::TOutcome::Taken,
            QStringLiteral("the name %1 is owned by another program").arg(Name)};
}

} // namespace Tunewell
