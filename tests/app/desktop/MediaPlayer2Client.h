#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QVariantMap>
#include <vector>

namespace Tunewell::Testing {

// A client of the player's media interface with a bus connection of its own, as a desktop's
// media applet is: it calls methods, reads and writes properties, and records every
// PropertiesChanged the player sends. Waits run the event loop, so the player can answer.
class MediaPlayer2Client : public QObject {
    Q_OBJECT
public:
    static const QString Root;
    static const QString Player;

    MediaPlayer2Client();
    ~MediaPlayer2Client() override;

    // The reply, or an error message after 10 s.
    QDBusMessage Call(const QString &Interface, const QString &Method, const QVariantList &Arguments = {});
    QVariant Get(const QString &Interface, const QString &Property);
    QVariantMap GetAll(const QString &Interface);
    QDBusMessage Set(const QString &Interface, const QString &Property, const QVariant &Value);
    bool NameOwned();

    struct Change {
        QString Interface;
        QVariantMap Properties;
    };
    std::vector<Change> Changes;
    int Seeked = 0;
    // The values one property was announced with, in order.
    QVariantList Announced(const QString &Property) const;

    // A value as read from the bus, with nested maps and string lists taken out of their
    // D-Bus wrapping.
    static QVariant Plain(const QVariant &Value);

private Q_SLOTS:
    void Record(const QDBusMessage &Signal);
    void RecordSeeked(qlonglong Position);

private:
    QDBusMessage Wait(const QDBusMessage &Call);

    QString Name_;
    QDBusConnection Bus_;
};

} // namespace Tunewell::Testing
