#include "MediaPlayer2Client.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QTest>

namespace Tunewell::Testing {

namespace {
const QString kPlayerService = QStringLiteral("org.mpris.MediaPlayer2.tunewell");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
int gClients = 0;
} // namespace

const QString MediaPlayer2Client::Root = QStringLiteral("org.mpris.MediaPlayer2");
const QString MediaPlayer2Client::Player = QStringLiteral("org.mpris.MediaPlayer2.Player");

MediaPlayer2Client::MediaPlayer2Client()
    : Name_(QStringLiteral("tunewell-test-client-%1").arg(++gClients)),
      Bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, Name_)) {
    Bus_.connect(kPlayerService, kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                 SLOT(Record(QDBusMessage)));
    Bus_.connect(kPlayerService, kPath, Player, QStringLiteral("Seeked"), this,
                 SLOT(RecordSeeked(qlonglong)));
}

MediaPlayer2Client::~MediaPlayer2Client() {
    QDBusConnection::disconnectFromBus(Name_);
}

QDBusMessage MediaPlayer2Client::Wait(const QDBusMessage &Call) {
    QDBusPendingCall pending = Bus_.asyncCall(Call, 10000);
    if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 11000))
        return Call.createErrorReply(QDBusError::Timeout, QStringLiteral("no reply"));
    return pending.reply();
}

QDBusMessage MediaPlayer2Client::Call(const QString &Interface, const QString &Method,
                                      const QVariantList &Arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(kPlayerService, kPath, Interface, Method);
    call.setArguments(Arguments);
    return Wait(call);
}

QVariant MediaPlayer2Client::Get(const QString &Interface, const QString &Property) {
    const QDBusMessage reply = Call(kProperties, QStringLiteral("Get"), {Interface, Property});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {};
    return Plain(reply.arguments().value(0).value<QDBusVariant>().variant());
}

QVariantMap MediaPlayer2Client::GetAll(const QString &Interface) {
    const QDBusMessage reply = Call(kProperties, QStringLiteral("GetAll"), {Interface});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {};
    return Plain(reply.arguments().value(0)).toMap();
}

QDBusMessage MediaPlayer2Client::Set(const QString &Interface, const QString &Property,
                                     const QVariant &Value) {
    return Call(kProperties, QStringLiteral("Set"),
                {Interface, Property, QVariant::fromValue(QDBusVariant(Value))});
}

bool MediaPlayer2Client::NameOwned() {
    return Bus_.interface()->isServiceRegistered(kPlayerService).value();
}

QVariant MediaPlayer2Client::Plain(const QVariant &Value) {
    if (Value.userType() == qMetaTypeId<QDBusVariant>())
        return Plain(Value.value<QDBusVariant>().variant());
    if (Value.userType() != qMetaTypeId<QDBusArgument>())
        return Value;
    const auto argument = Value.value<QDBusArgument>();
    const QString signature = argument.currentSignature();
    if (signature == QLatin1String("as"))
        return qdbus_cast<QStringList>(argument);
    QVariantMap map = qdbus_cast<QVariantMap>(argument);
    for (auto entry = map.begin(); entry != map.end(); ++entry)
        entry.value() = Plain(entry.value());
    return map;
}

void MediaPlayer2Client::Record(const QDBusMessage &Signal) {
    const QVariantList arguments = Signal.arguments();
    Changes.push_back({arguments.value(0).toString(), Plain(arguments.value(1)).toMap()});
}

void MediaPlayer2Client::RecordSeeked(qlonglong) {
    ++Seeked;
}

QVariantList MediaPlayer2Client::Announced(const QString &Property) const {
    QVariantList values;
    for (const auto &change : Changes)
        if (change.Properties.contains(Property))
            values << change.Properties.value(Property);
    return values;
}

} // namespace Tunewell::Testing
