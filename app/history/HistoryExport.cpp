#include "app/history/HistoryExport.h"

#include "app/history/HistoryError.h"
#include "app/history/HistoryTitle.h"

#include <QDateTime>
#include <QSaveFile>
#include <string_view>

namespace Tunewell {

namespace {
// A spreadsheet reads a field beginning so as a formula; a quote before it makes it text.
bool ReadAsFormula(const std::string &Field) {
    return !Field.empty() && std::string_view("=+-@\t\r").find(Field.front()) != std::string_view::npos;
}

void AppendCsvField(std::string &Out, const std::string &Field) {
    const bool formula = ReadAsFormula(Field);
    if (!formula && Field.find_first_of(",\"\r\n") == std::string::npos) {
        Out += Field;
        return;
    }
    Out += '"';
    if (formula)
        Out += '\'';
    for (const char c : Field) {
        if (c == '"')
            Out += '"';
        Out += c;
    }
    Out += '"';
}
} // namespace

std::string HistoryTimeText(std::int64_t StartedAt) {
    return QDateTime::fromSecsSinceEpoch(StartedAt)
        .toLocalTime()
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
        .toStdString();
}

std::string HistoryText(const std::vector<HistoryEntry> &Entries) {
    std::string text;
    for (const auto &entry : Entries)
        // Titles kept before they were made one line at arrival are made so here.
        text += HistoryTimeText(entry.StartedAt) + "  " + OneLineTitle(entry.Station) + "  " +
                OneLineTitle(entry.Title) + "\n";
    return text;
}

std::string HistoryCsv(const std::vector<HistoryEntry> &Entries) {
    std::string csv = "time,station,title,address\r\n";
    for (const auto &entry : Entries) {
        csv += HistoryTimeText(entry.StartedAt);
        for (const std::string *field : {&entry.Station, &entry.Title, &entry.Url}) {
            csv += ',';
            AppendCsvField(csv, *field);
        }
        csv += "\r\n";
    }
    return csv;
}

void SaveHistoryFile(const std::string &Path, const std::string &Content) {
    QSaveFile file(QString::fromStdString(Path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(Content.data(), static_cast<qint64>(Content.size())) !=
            static_cast<qint64>(Content.size()) ||
        !file.commit())
        throw EHistoryError(file.errorString().toStdString(), false);
}

} // namespace Tunewell
