#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace Tunewell::Testing {

// A notification service on the session bus, with a connection of its own: it records every
// notice and gives IDs as a desktop's does (a replaced notice keeps its ID).
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeNotifications(QStringList Capabilities);
    ~FakeNotifications() override;
    bool Registered() const { return Registered_; }

    struct Notice {
        QString AppName;
        uint ReplacesId;
        QString AppIcon;
        QString Summary;
        QString Body;
        QVariantMap Hints;
        uint Id;
    };
    std::vector<Notice> Notices;

public Q_SLOTS:
    uint Notify(const QString &AppName, uint ReplacesId, const QString &AppIcon, const QString &Summary,
                const QString &Body, const QStringList &Actions, const QVariantMap &Hints, int ExpireTimeout);
    QStringList GetCapabilities();
    void CloseNotification(uint Id);

private:
    QStringList Capabilities_;
    QString Name_;
    QDBusConnection Bus_;
    bool Registered_ = false;
    uint NextId_ = 1;
};

} // namespace Tunewell::Testing
