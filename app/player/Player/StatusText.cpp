#include "Player/StatusText.h"

namespace Player {

namespace {

QString failureText(FailureKind failure) {
    switch (failure) {
    case FailureKind::NotFound:
        return QStringLiteral("Station not found");
    case FailureKind::Unsupported:
        return QStringLiteral("Unsupported stream format");
    case FailureKind::Unreachable:
        return QStringLiteral("Station unreachable / R\u00E1dio inacess\u00EDvel");
    case FailureKind::Certificate:
        return QString::fromUtf8(
            "Station certificate not trusted \u00B7 Certificado da esta\u00E7\u00E3o n\u00E3o "
            "confi\u00E1vel");
    case FailureKind::Network:
        break;
    }
    return QStringLiteral("Network error");
}

} // namespace

QString statusText(const StatusFacts &facts) {
    switch (facts.state) {
    case PlaybackState::Stopped:
        return QStringLiteral("Stopped");
    case PlaybackState::Connecting:
        return QStringLiteral("Connecting...");
    case PlaybackState::Buffering:
        return QStringLiteral("Buffering %1%").arg(facts.bufferPercent);
    case PlaybackState::Playing:
        return QStringLiteral("Playing");
    case PlaybackState::Paused:
        return QStringLiteral("Paused");
    case PlaybackState::Reconnecting:
        return QStringLiteral("Connection lost, reconnecting in %1 s").arg(facts.secondsToReconnect);
    case PlaybackState::Failed:
        return failureText(facts.failure);
    }
    return {};
}

} // namespace Player
