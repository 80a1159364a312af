#include "FakeNotifications.h"

namespace Tunewell::Testing {

namespace {
const QString kNotificationsService = QStringLiteral("org.freedesktop.Notifications");
}

FakeNotifications::FakeNotifications(QStringList Capabilities)
    : Capabilities_(std::move(Capabilities)), Name_(QStringLiteral("tunewell-test-notifications")),
      Bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, Name_)) {
    Registered_ = Bus_.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                      QDBusConnection::ExportAllSlots) &&
                  Bus_.registerService(kNotificationsService);
}

FakeNotifications::~FakeNotifications() {
    QDBusConnection::disconnectFromBus(Name_);
}

uint FakeNotifications::Notify(const QString &AppName, uint ReplacesId, const QString &AppIcon,
                               const QString &Summary, const QString &Body, const QStringList &,
                               const QVariantMap &Hints, int) {
    bool known = false;
    for (const auto &notice : Notices)
        known = known || notice.Id == ReplacesId;
    const uint id = ReplacesId != 0 && known ? ReplacesId : NextId_++;
    Notices.push_back({AppName, ReplacesId, AppIcon, Summary, Body, Hints, id});
    return id;
}

QStringList FakeNotifications::GetCapabilities() {
    return Capabilities_;
}

void FakeNotifications::CloseNotification(uint) {}

} // namespace Tunewell::Testing
