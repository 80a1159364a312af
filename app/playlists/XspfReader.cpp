#include "app/playlists/XspfReader.h"

#include "app/playlists/PlaylistEntries.h"
#include "app/playlists/PlaylistMessages.h"

#include <QString>
#include <QXmlStreamReader>
#include <optional>

namespace Tunewell {

namespace {

int LineOf(const QXmlStreamReader &Xml) {
    return static_cast<int>(Xml.lineNumber());
}

QString ElementText(QXmlStreamReader &Xml) {
    return Xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
}

void ReadTrack(QXmlStreamReader &Xml, TPlaylistEntries &Entries) {
    std::optional<QString> location;
    int line = 0;
    QString title;
    QString annotation;
    while (Xml.readNextStartElement()) {
        const auto name = Xml.name();
        if (name == QLatin1String("location") && !location) {
            line = LineOf(Xml);
            location = ElementText(Xml);
        } else if (name == QLatin1String("title")) {
            title = ElementText(Xml);
        } else if (name == QLatin1String("annotation")) {
            annotation = ElementText(Xml);
        } else {
            Xml.skipCurrentElement();
        }
    }
    if (location && !Xml.hasError()) {
        const QString stationName = title.trimmed().isEmpty() ? annotation : title;
        Entries.Add(stationName.toStdString(), location->toStdString(), line);
    }
}

void ReadTrackList(QXmlStreamReader &Xml, TPlaylistEntries &Entries) {
    while (Xml.readNextStartElement()) {
        if (Xml.name() == QLatin1String("track")) {
            ReadTrack(Xml, Entries);
        } else {
            Xml.skipCurrentElement();
        }
    }
}

// Up to the root element; a DOCTYPE before it is refused.
void ReadToRoot(QXmlStreamReader &Xml) {
    while (!Xml.atEnd() && !Xml.isStartElement()) {
        if (Xml.readNext() == QXmlStreamReader::DTD) {
            throw PlaylistRefusal::Doctype();
        }
    }
}

} // namespace

void ReadXspf(std::string_view Text, TPlaylistEntries &Entries) {
    // Read as the UTF-8 the text was checked to be: an encoding the declaration claims is not heeded.
    QXmlStreamReader xml(QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())));
    ReadToRoot(xml);
    if (!xml.hasError() && (!xml.isStartElement() || xml.name() != QLatin1String("playlist"))) {
        throw PlaylistRefusal::NotXspf();
    }
    while (!xml.hasError() && xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("trackList")) {
            ReadTrackList(xml, Entries);
        } else {
            xml.skipCurrentElement();
        }
    }
    // The rest must be well-formed too: a damaged file is refused whole.
    while (!xml.atEnd()) {
        xml.readNext();
    }
    if (xml.hasError()) {
        throw PlaylistRefusal::MalformedXml(LineOf(xml), xml.errorString().toStdString());
    }
}

} // namespace Tunewell
