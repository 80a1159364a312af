#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <optional>

namespace Tunewell {

class PlayerRemote;

// Tells each new now-playing title through the desktop's notification service: one notice that
// each new title replaces, never a stack of them, and none for a title equal to the last one
// told. Off until switched on.
class TitleNotices : public QObject {
    Q_OBJECT
public:
    TitleNotices(PlayerRemote &Remote, QDBusConnection Bus, QObject *Parent = nullptr);

    void SetEnabled(bool On) { Enabled_ = On; }
    bool Enabled() const { return Enabled_; }

private:
    struct Notice {
        QString Summary;
        QString Body;
    };

    void OnTitle();
    // One call at a time: the next needs the ID the last one was given, to replace it.
    void Send(const Notice &Notice);
    void AskCapabilities();
    void Notify(const Notice &Notice);
    void Answered();
    // Once per run: a desktop without the service would otherwise log every title.
    void LogFailure(const QString &Message);

    PlayerRemote &Remote_;
    QDBusConnection Bus_;
    bool Enabled_ = false;
    QString LastTold_;
    uint NoticeId_ = 0;
    // Unknown until the service says.
    std::optional<bool> BodyMarkup_;
    bool Calling_ = false;
    std::optional<Notice> Waiting_;
    bool FailureLogged_ = false;
};

} // namespace Tunewell
