#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <functional>

namespace Tunewell {

// The interface org.freedesktop.Application, by which a desktop or a later start of the program
// asks the running one to show itself. It opens no files and has no actions.
class ApplicationActivation : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    ApplicationActivation(QObject *Exported, std::function<void()> Activated);

public Q_SLOTS:
    void Activate(const QVariantMap &PlatformData);
    void Open(const QStringList &Uris, const QVariantMap &PlatformData);
    void ActivateAction(const QString &Name, const QVariantList &Parameter, const QVariantMap &PlatformData);

private:
    std::function<void()> Activated_;
};

} // namespace Tunewell
