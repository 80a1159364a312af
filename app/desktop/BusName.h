#pragma once

#include <QDBusConnection>
#include <QString>

namespace Tunewell {

// Asking the session bus for a well-known name, never waiting in its queue: the name is ours,
// another program owns it, or the bus refused (Reason says why).
struct BusNameClaim {
    enum class TOutcome { Owned, Taken, Refused };
    TOutcome Outcome = TOutcome::Refused;
    QString Reason;
};

BusNameClaim ClaimBusName(QDBusConnection &Bus, const QString &Name);

} // namespace Tunewell
