#pragma once

#include <QDBusConnection>
#include <QObject>
#include <functional>

namespace Tunewell {

// One program per user session, where there is a session bus: the first start owns the name
// org.tunewell.Tunewell; a later start asks that one to show its window and ends before it
// writes anything. Without a session bus, or when the bus refuses the name for another reason,
// every start runs.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static const QString ServiceName;
    static const QString ObjectPath;
    // How long a later start waits for the running one to answer.
    static constexpr int ActivationTimeoutMs = 5000;

    explicit SingleInstance(QDBusConnection Bus, QObject *Parent = nullptr);
    ~SingleInstance() override;

    // True when this start is the program to run. False when another instance runs: it has been
    // asked to show its window, and this start ends.
    bool Claim();
    // What a later start asks of this one: the main window shown, restored, in front.
    void OnActivate(std::function<void()> Show) { Show_ = std::move(Show); }
    // Gives the name up, so that an instance started now owns it.
    void Release();

private:
    void ActivateOther();

    QDBusConnection Bus_;
    QObject Exported_;
    std::function<void()> Show_;
    bool Owned_ = false;
};

} // namespace Tunewell
