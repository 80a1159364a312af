#include "app/recording/RecordingFileName.h"

#include <QRegularExpression>
#include <string_view>

namespace Tunewell {

namespace {

bool RefusedSomewhere(char32_t Character) {
    // Separators here, and what other systems refuse in a name (a music folder on a memory stick).
    return Character < 0x80 &&
           std::string_view("/\\:*?\"<>|").find(static_cast<char>(Character)) != std::string_view::npos;
}

bool IsControl(char32_t Character) {
    const auto category = QChar::category(Character);
    return category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
}

// DOS device names, refused as a name's stem whatever the extension.
bool IsDeviceName(const QString &Name) {
    static const QRegularExpression device(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    return device.match(Name).hasMatch();
}

QString CutToBytes(const QString &Text, int MaxBytes) {
    QString cut;
    int bytes = 0;
    for (const char32_t character : Text.toUcs4()) {
        const int size = character < 0x80 ? 1 : character < 0x800 ? 2 : character < 0x10000 ? 3 : 4;
        if (bytes + size > MaxBytes)
            break;
        bytes += size;
        cut += QString::fromUcs4(&character, 1);
    }
    return cut;
}

QString TrimmedEnds(QString Text) {
    while (!Text.isEmpty() && (Text.front() == u'.' || Text.front() == u' '))
        Text.remove(0, 1);
    while (!Text.isEmpty() && (Text.back() == u'.' || Text.back() == u' '))
        Text.chop(1);
    return Text;
}

} // namespace

QString SanitisedFileName(const QString &Text, int MaxBytes) {
    QString cleaned;
    for (const char32_t character : Text.toUcs4()) {
        if (RefusedSomewhere(character))
            cleaned += u'_';
        else if (IsControl(character) || QChar::isSpace(character))
            cleaned += u' ';
        else
            cleaned += QString::fromUcs4(&character, 1);
    }
    cleaned = TrimmedEnds(cleaned.simplified());
    if (IsDeviceName(cleaned))
        cleaned.prepend(u'_');
    // Cutting can leave a blank or a dot at the end again.
    return TrimmedEnds(CutToBytes(cleaned, MaxBytes));
}

QString RecordingFileName(const QDateTime &Start, const QString &Title, RecordingFormat Format) {
    const QString time = Start.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    const QString title = SanitisedFileName(Title);
    return (title.isEmpty() ? time : time + u' ' + title) + u'.' + ExtensionOf(Format);
}

QString RecordingFolderName(const QString &Station) {
    const QString name = SanitisedFileName(Station);
    return name.isEmpty() ? QStringLiteral("Station") : name;
}

} // namespace Tunewell
