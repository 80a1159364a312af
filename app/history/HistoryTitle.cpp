#include "app/history/HistoryTitle.h"

#include <QString>

namespace Tunewell {

std::string OneLineTitle(const std::string &Title) {
    QString text = QString::fromStdString(Title);
    for (QChar &character : text) {
        const auto category = character.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            character = QLatin1Char(' ');
    }
    return text.toStdString();
}

} // namespace Tunewell
