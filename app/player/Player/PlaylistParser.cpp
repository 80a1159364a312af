#include "Player/PlaylistParser.h"

#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <limits>

namespace Player {

namespace {

QStringList playlistLines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    QString decoded = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    decoded.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    decoded.replace('\r', '\n');
    QStringList lines;
    for (const QString &line : decoded.split('\n')) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty()) {
            lines << trimmed;
        }
    }
    return lines;
}

// Some servers put blank or stray lines before the section header.
bool isPlsText(const QStringList &lines) {
    return std::any_of(lines.begin(), lines.end(), [](const QString &line) {
        return line.compare(QLatin1String("[playlist]"), Qt::CaseInsensitive) == 0;
    });
}

// Only network streams make sense in a playlist fetched from the network; a local path such as
// "C:\radio.mp3" resolves to nothing playable.
QString resolveEntry(const QString &entry, const QString &playlistUrl) {
    if (entry.isEmpty() || entry.contains('\\')) {
        return {};
    }
    const QUrl resolved = QUrl(playlistUrl).resolved(QUrl(entry));
    const QString scheme = resolved.scheme().toLower();
    if (!resolved.isValid() || resolved.host().isEmpty() || (scheme != "http" && scheme != "https")) {
        return {};
    }
    return resolved.toString();
}

// "File<N>=address"; the lowest N wins, whatever order the lines come in.
QString firstPlsEntry(const QStringList &lines, const QString &playlistUrl) {
    QString best;
    int bestNumber = std::numeric_limits<int>::max();
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        if (!key.startsWith(QLatin1String("file"), Qt::CaseInsensitive)) {
            continue;
        }
        bool isNumber = false;
        const int number = key.mid(4).toInt(&isNumber);
        const QString stream = resolveEntry(line.mid(equals + 1).trimmed(), playlistUrl);
        if (isNumber && number < bestNumber && !stream.isEmpty()) {
            best = stream;
            bestNumber = number;
        }
    }
    return best;
}

QString firstM3uEntry(const QStringList &lines, const QString &playlistUrl) {
    for (const QString &line : lines) {
        if (line.startsWith('#')) {
            continue;
        }
        const QString stream = resolveEntry(line, playlistUrl);
        if (!stream.isEmpty()) {
            return stream;
        }
    }
    return {};
}

// A playlist address that serves the stream itself gives audio bytes, whose lines must not be
// taken for relative entries.
bool looksLikeText(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && c != '\t' && c != '\r' && c != '\n';
    });
}

} // namespace

QString firstStreamInPlaylist(std::string_view text, const QString &playlistUrl) {
    if (!looksLikeText(text)) {
        return {};
    }
    const QStringList lines = playlistLines(text);
    return isPlsText(lines) ? firstPlsEntry(lines, playlistUrl) : firstM3uEntry(lines, playlistUrl);
}

} // namespace Player
