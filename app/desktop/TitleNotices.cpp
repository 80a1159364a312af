#include "app/desktop/TitleNotices.h"

#include "app/desktop/PlayerRemote.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace Tunewell {

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

QDBusMessage Call(const QString &Method) {
    return QDBusMessage::createMethodCall(kService, kPath, kService, Method);
}
} // namespace

TitleNotices::TitleNotices(PlayerRemote &Remote, QDBusConnection Bus, QObject *Parent)
    : QObject(Parent), Remote_(Remote), Bus_(std::move(Bus)) {
    connect(&Remote_, &PlayerRemote::TitleChanged, this, &TitleNotices::OnTitle);
}

void TitleNotices::OnTitle() {
    const QString title = Remote_.Title();
    if (!Enabled_ || title.isEmpty() || title == LastTold_)
        return;
    LastTold_ = title;
    Send({title, Remote_.Station().Name});
}

void TitleNotices::Send(const Notice &Notice) {
    if (Calling_) {
        Waiting_ = Notice;
        return;
    }
    Calling_ = true;
    if (BodyMarkup_)
        Notify(Notice);
    else {
        Waiting_ = Notice;
        AskCapabilities();
    }
}

void TitleNotices::AskCapabilities() {
    auto *watcher =
        new QDBusPendingCallWatcher(Bus_.asyncCall(Call(QStringLiteral("GetCapabilities"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *Watcher) {
        const QDBusPendingReply<QStringList> reply = *Watcher;
        Watcher->deleteLater();
        if (reply.isError()) {
            // No service to tell, or none yet: the notice is dropped, and the next title asks again.
            LogFailure(reply.error().message());
            Waiting_.reset();
            Answered();
            return;
        }
        // The body is marked up where the service reads markup, so a name with "&" or "<" must
        // be written as such; elsewhere it is plain text.
        BodyMarkup_ = reply.value().contains(QStringLiteral("body-markup"));
        Answered();
    });
}

void TitleNotices::Notify(const Notice &Notice) {
    QDBusMessage call = Call(QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("tunewell")}};
    // The title is the stream's own text: it goes where the service never reads markup.
    call << QStringLiteral("Tunewell") << NoticeId_ << QStringLiteral("tunewell") << Notice.Summary
         << (*BodyMarkup_ ? Notice.Body.toHtmlEscaped() : Notice.Body) << QStringList() << hints << -1;
    auto *watcher = new QDBusPendingCallWatcher(Bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *Watcher) {
        const QDBusPendingReply<uint> reply = *Watcher;
        Watcher->deleteLater();
        if (reply.isError()) {
            LogFailure(reply.error().message());
            // The service may have gone; the one that comes next is asked what it reads.
            BodyMarkup_.reset();
            NoticeId_ = 0;
        } else {
            NoticeId_ = reply.value();
        }
        Answered();
    });
}

void TitleNotices::LogFailure(const QString &Message) {
    if (!std::exchange(FailureLogged_, true))
        qWarning("Title notices: %s", qPrintable(Message));
}

void TitleNotices::Answered() {
    Calling_ = false;
    if (Waiting_)
        Send(*std::exchange(Waiting_, std::nullopt));
}

} // namespace Tunewell
