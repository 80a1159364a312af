#include "Player/TitleText.h"

#include <QStringDecoder>

namespace Player {

QString decodeTitle(std::string_view bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString text = utf8.decode(view);
    if (utf8.hasError()) {
        text = QString::fromLatin1(view);
    }
    return text.trimmed();
}

} // namespace Player
