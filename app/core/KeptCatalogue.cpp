#include "app/core/KeptCatalogue.h"

#include "app/core/KeptCatalogueError.h"
#include "app/core/KeptFileReader.h"
#include "app/core/KeptFileWriter.h"
#include "app/core/StationTableError.h"

#include <Cumulo/JsonParse.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <charconv>
#include <variant>

namespace Tunewell {

namespace {
// CR LF inside the mark catches a file that went through a text-mode copy.
constexpr std::string_view kMark = "TWKEPT\r\n";
// Raised whenever the layout below changes; a file of another version is not read. Version 2
// added the own stations' node after the rows; a file of version 1 still reads, without it.
constexpr std::uint32_t kFormatVersion = 2;
constexpr std::uint32_t kFormatWithoutOwn = 1;
// No kept text is longer than a profile's node could reasonably be.
constexpr std::size_t kLongestNode = 16 * 1024 * 1024;
constexpr std::size_t kLongestProfileID = 4096;
// The longest display text of a field: its size in characters of up to 4 bytes, or an integer.
constexpr std::size_t kLongestField = 4 * 200;
// Each field of a row is at least its 32-bit length.
constexpr std::uint64_t kSmallestRow = 4 * StationFieldCount;

void WriteNode(KeptFileWriter &Writer, const std::optional<Cumulo::TJSONValue> &Node) {
    Writer.U8(Node ? 1 : 0);
    if (Node)
        Writer.Text(Node->dump());
}

std::optional<Cumulo::TJSONValue> ReadNode(KeptFileReader &Reader, bool MayBeNull = false) {
    const std::uint8_t present = Reader.U8();
    if (present > 1)
        throw EKeptCatalogueError("The kept file marks a node wrongly");
    if (present == 0)
        return std::nullopt;
    // The program's own parse, with its nesting limit: a node nested deeper could not even be
    // copied without overflowing the stack.
    auto node = Cumulo::ParseJSON(Reader.Text(kLongestNode));
    if (!node || !(node->is_object() || (MayBeNull && node->is_null())))
        throw EKeptCatalogueError("The kept file holds a node that is not a JSON object");
    return node;
}

void WriteField(KeptFileWriter &Writer, const TFieldValue &Value) {
    if (const auto *number = std::get_if<std::int64_t>(&Value)) {
        char digits[24];
        const auto end = std::to_chars(std::begin(digits), std::end(digits), *number).ptr;
        Writer.Text(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    } else if (const auto *text = std::get_if<std::string>(&Value)) {
        Writer.Text(*text);
    } else {
        Writer.Text({});
    }
}

std::vector<TStationRow> ReadRows(KeptFileReader &Reader) {
    const std::uint32_t count = Reader.U32();
    if (count > Reader.Remaining() / kSmallestRow)
        throw EKeptCatalogueError("The kept file counts more rows than it holds");
    const auto &fields = TStationTable::Fields();
    std::vector<TStationRow> rows(count);
    std::string text;
    for (auto &row : rows)
        for (int field = 0; field < StationFieldCount; ++field) {
            Reader.Text(kLongestField, text);
            row.Set(field, FieldValueFromText(fields[field], text));
        }
    return rows;
}

KeptCatalogueCopy ReadCopy(KeptFileReader &Reader, std::uint32_t Version) {
    KeptCatalogueCopy copy;
    copy.ReadAt = static_cast<std::time_t>(Reader.I64());
    copy.Profile.ProfileID = Reader.Text(kLongestProfileID);
    copy.Profile.Last = ReadNode(Reader);
    copy.Profile.Favourites = ReadNode(Reader);
    copy.Rows = ReadRows(Reader);
    if (Version != kFormatWithoutOwn)
        copy.Profile.Own = ReadNode(Reader, true);
    return copy;
}

KeptCatalogueRead Unusable(std::string Problem) {
    return {KeptCatalogueRead::TOutcome::Unusable, std::move(Problem), {}};
}
} // namespace

KeptCatalogue::KeptCatalogue(QString FilePath) : FilePath_(std::move(FilePath)) {}

QString KeptCatalogue::DefaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/catalogue.kept");
}

void KeptCatalogue::Keep(const std::vector<TStationRow> &Rows, const KeptProfile &Profile,
                         std::time_t ReadAt) const {
    const QString folder = QFileInfo(FilePath_).absolutePath();
    if (!QDir().mkpath(folder))
        throw EKeptCatalogueError("Cannot create the folder " + folder.toStdString());
    QSaveFile file(FilePath_);
    if (!file.open(QIODevice::WriteOnly))
        throw EKeptCatalogueError(file.errorString().toStdString());
    // It holds the profile's ID: the user's alone, whatever the copy it replaces allowed.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        throw EKeptCatalogueError("Cannot make " + FilePath_.toStdString() + " the user's alone");
    KeptFileWriter writer(file);
    writer.Raw(kMark);
    writer.U32(kFormatVersion);
    writer.I64(static_cast<std::int64_t>(ReadAt));
    writer.Text(Profile.ProfileID);
    WriteNode(writer, Profile.Last);
    WriteNode(writer, Profile.Favourites);
    writer.U32(static_cast<std::uint32_t>(Rows.size()));
    for (const auto &row : Rows)
        for (int field = 0; field < StationFieldCount; ++field)
            WriteField(writer, row.Value(field));
    WriteNode(writer, Profile.Own);
    writer.Finish();
    // Flushed, synced and renamed over the previous copy, or the previous copy stays.
    if (!file.commit())
        throw EKeptCatalogueError(file.errorString().toStdString());
}

KeptCatalogueRead KeptCatalogue::Read() const {
    QFile file(FilePath_);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return Unusable(file.errorString().toStdString());
    try {
        // Nothing of a damaged file is parsed, and no row is made by its counts.
        if (!KeptFileReader::ChecksumMatches(file))
            return Unusable("The kept catalogue is damaged");
        KeptFileReader reader(file);
        if (reader.Raw(kMark.size()) != kMark)
            return Unusable("Not a kept catalogue");
        const std::uint32_t version = reader.U32();
        if (version != kFormatVersion && version != kFormatWithoutOwn)
            return Unusable("A kept catalogue of format " + std::to_string(version));
        KeptCatalogueCopy copy = ReadCopy(reader, version);
        if (reader.Remaining() != 0)
            return Unusable("The kept catalogue holds more than its fields");
        return {KeptCatalogueRead::TOutcome::Kept, {}, std::move(copy)};
    } catch (const EKeptCatalogueError &error) {
        return Unusable(error.what());
    } catch (const EStationTableError &error) {
        return Unusable(error.what());
    }
}

} // namespace Tunewell
