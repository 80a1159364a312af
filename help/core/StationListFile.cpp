#include "help/core/StationListFile.h"

#include <QFile>
#include <QStringDecoder>

namespace Tunewell {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned codes map to
// the C1 controls of the same value.
const char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString FromCp1252(const QByteArray &Bytes) {
    QString text;
    text.reserve(Bytes.size());
    for (const char byte : Bytes) {
        const auto code = static_cast<unsigned char>(byte);
        text += QChar(code >= 0x80 && code < 0xA0 ? Cp1252High[code - 0x80] : char16_t(code));
    }
    return text;
}

QStringList SplitLines(const QString &Text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (Text[i] == '\r' || Text[i] == '\n') {
            lines.push_back(Text.mid(start, i - start));
            if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < Text.size()) {
        lines.push_back(Text.mid(start));
    }
    return lines;
}

} // namespace

QString DecodeStationList(const QByteArray &Bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(Bytes);
    if (utf8.hasError()) {
        return FromCp1252(Bytes);
    }
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

QStringList ReadStationList(const QString &Path) {
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EInOutError(file.errorString().toStdString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw EInOutError(file.errorString().toStdString());
    }
    return SplitLines(DecodeStationList(bytes));
}

} // namespace Tunewell
