#include "app/core/KeptCatalogue.h"

#include "app/core/KeptCatalogueError.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <zlib.h>

using namespace Tunewell;
using Cumulo::TJSONValue;
using Outcome = KeptCatalogueRead::TOutcome;

namespace {

void AddStation(TStationTable &Table, const std::vector<std::pair<const char *, std::string>> &Fields) {
    Table.Append();
    for (const auto &[name, text] : Fields)
        Table.SetField(name, text);
    Table.Post();
}

// Three rows: full, one left without values after "num" (as a station missing a member leaves
// it), and one whose texts fill their fields with characters of two and three bytes.
TStationTable SmallTable() {
    TStationTable table;
    AddStation(table, {{"ID", "-Stati"},
                       {"num", "10"},
                       {"estilo", "Rock"},
                       {"url", "http://x/ten"},
                       {"favoritos", "2"},
                       {"local", "BR"},
                       {"nome", "Alpha \"A\""},
                       {"qualidade", "128k"},
                       {"serie", "-12"}});
    AddStation(table, {{"ID", "-Bravo"}, {"num", "2"}});
    std::string longName;
    for (int i = 0; i < 150; ++i)
        longName += i % 2 ? "\u00E3" : "\u20AC";
    AddStation(table, {{"num", "9007199254740993"}, {"nome", longName}, {"url", std::string(200, 'u')}});
    return table;
}

KeptProfile SmallProfile() {
    return {"-Prof1", TJSONValue::parse(R"({"Serie":"15"})"),
            TJSONValue::parse(R"({"12":"1","11111":"2","7":1.5,"z":{"a":[1,null]}})"),
            TJSONValue::parse(R"({"-Own1":{"nome":"Minha","url":"http://x/m","serie":"-1"}})")};
}

std::string ReadAll(const QString &Path) {
    QFile file(Path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

void WriteAll(const QString &Path, const std::string &Bytes) {
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(Bytes.data(), static_cast<qint64>(Bytes.size()));
}

std::string LittleEndian32(std::uint32_t Value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((Value >> (8 * i)) & 0xFF);
    return bytes;
}

// The bytes followed by their CRC-32, as a kept file ends.
std::string WithChecksum(const std::string &Bytes) {
    const auto crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef *>(Bytes.data()),
                           static_cast<uInt>(Bytes.size()));
    return Bytes + LittleEndian32(static_cast<std::uint32_t>(crc));
}

class KeptCatalogueTest : public ::testing::Test {
protected:
    QTemporaryDir Folder;
    KeptCatalogue Store{Folder.filePath(QStringLiteral("cache/catalogue.kept"))};
};

TEST_F(KeptCatalogueTest, GivesBackTheRowsInTableOrderAndTheProfileNodesAsKept) {
    TStationTable table = SmallTable();
    table.SortBy("num");
    Store.Keep(table.Rows(), SmallProfile(), 1577286207);

    const KeptCatalogueRead read = Store.Read();
    ASSERT_EQ(read.Outcome, Outcome::Kept) << read.Problem;
    EXPECT_EQ(read.Copy.ReadAt, 1577286207);
    EXPECT_EQ(read.Copy.Rows, table.Rows());
    EXPECT_EQ(read.Copy.Profile.ProfileID, "-Prof1");
    // Member order and number forms as read, since the readers work on the node's text.
    EXPECT_EQ(read.Copy.Profile.Last->dump(), R"({"Serie":"15"})");
    EXPECT_EQ(read.Copy.Profile.Favourites->dump(), R"({"12":"1","11111":"2","7":1.5,"z":{"a":[1,null]}})");
    EXPECT_EQ(read.Copy.Profile.Own->dump(), R"({"-Own1":{"nome":"Minha","url":"http://x/m","serie":"-1"}})");
}

// A file kept before own stations were kept beside the catalogue: format 1, whose rows end it.
TEST_F(KeptCatalogueTest, AFileKeptBeforeOwnStationsStillReads) {
    KeptProfile profile = SmallProfile();
    profile.Own.reset();
    const TStationTable table = SmallTable();
    Store.Keep(table.Rows(), profile, 7);
    std::string bytes = ReadAll(Store.FilePath());
    // Without the checksum and the last byte, the own stations' "none" mark.
    bytes = bytes.substr(0, bytes.size() - 5);
    bytes[8] = 1;
    WriteAll(Store.FilePath(), WithChecksum(bytes));

    const KeptCatalogueRead read = Store.Read();
    ASSERT_EQ(read.Outcome, Outcome::Kept) << read.Problem;
    EXPECT_EQ(read.Copy.Rows, table.Rows());
    EXPECT_TRUE(read.Copy.Profile.Favourites);
    EXPECT_FALSE(read.Copy.Profile.Own);
}

TEST_F(KeptCatalogueTest, KeepsNoProfileAndAnEmptyCatalogue) {
    Store.Keep({}, KeptProfile{}, 0);
    const KeptCatalogueRead read = Store.Read();
    ASSERT_EQ(read.Outcome, Outcome::Kept) << read.Problem;
    EXPECT_TRUE(read.Copy.Rows.empty());
    EXPECT_TRUE(read.Copy.Profile.ProfileID.empty());
    EXPECT_FALSE(read.Copy.Profile.Last);
    EXPECT_FALSE(read.Copy.Profile.Favourites);
}

TEST_F(KeptCatalogueTest, ANewCopyReplacesTheOldOne) {
    Store.Keep(SmallTable().Rows(), SmallProfile(), 1);
    TStationTable other;
    AddStation(other, {{"num", "1"}, {"nome", "Only"}});
    Store.Keep(other.Rows(), KeptProfile{}, 2);
    const KeptCatalogueRead read = Store.Read();
    ASSERT_EQ(read.Outcome, Outcome::Kept);
    EXPECT_EQ(read.Copy.Rows, other.Rows());
    EXPECT_EQ(read.Copy.ReadAt, 2);
    EXPECT_FALSE(read.Copy.Profile.Favourites);
}

// It holds the profile's ID: a new copy is the user's alone, and so is one that replaces a copy
// others could read.
TEST_F(KeptCatalogueTest, TheCopyIsTheUsersAlone) {
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto everyone = ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    Store.Keep(SmallTable().Rows(), SmallProfile(), 1);
    EXPECT_EQ(QFile::permissions(Store.FilePath()) & everyone, ownerOnly);
    ASSERT_TRUE(QFile::setPermissions(Store.FilePath(), everyone));
    Store.Keep(SmallTable().Rows(), SmallProfile(), 2);
    EXPECT_EQ(QFile::permissions(Store.FilePath()) & everyone, ownerOnly);
}

TEST_F(KeptCatalogueTest, NothingKeptYetIsMissingNotUnusable) {
    EXPECT_EQ(Store.Read().Outcome, Outcome::Missing);
}

// Every way a file can be damaged or foreign is ignored, without trusting its counts.
TEST_F(KeptCatalogueTest, DamagedOrForeignFilesAreNeverUsed) {
    Store.Keep(SmallTable().Rows(), SmallProfile(), 1577286207);
    const std::string good = ReadAll(Store.FilePath());
    // The row count, then the first row's "num" ("10") with its length.
    const std::size_t rowsStart = good.find(std::string("\x02\0\0\0"
                                                        "10",
                                                        6)) -
                                  4;
    struct Case {
        const char *What;
        std::function<std::string(std::string)> Spoil;
    };
    const std::vector<Case> cases{
        {"empty", [](std::string) { return std::string(); }},
        {"foreign text", [](std::string) { return std::string("[General]\nRegistrado=-Prof1\n"); }},
        {"cut before its checksum", [](std::string S) { return S.substr(0, S.size() - 4); }},
        {"cut in a row", [](std::string S) { return S.substr(0, S.size() / 2); }},
        {"one bit flipped in a name",
         [](std::string S) {
             S[S.find("Alpha")] ^= 0x01;
             return S;
         }},
        {"bytes after its checksum", [](std::string S) { return S + '\0'; }},
        {"line ends converted", [](std::string S) { return S.replace(6, 2, "\n"); }},
        {"another format version",
         [](std::string S) {
             S[8] = 3;
             return S;
         }},
        {"a row count far beyond its size",
         [rowsStart](std::string S) {
             S.replace(rowsStart, 4, "\xFF\xFF\xFF\x7F");
             return S;
         }},
        {"a text length beyond its size",
         [rowsStart](std::string S) {
             S.replace(rowsStart + 4, 4, "\xF0\xFF\xFF\xFF");
             return S;
         }},
        // A valid checksum, and favourites that are an object holding a million nested arrays:
        // well under the size cap, and a copy of it would overflow the stack.
        {"nesting beyond the program's parse, checksum valid",
         [](std::string S) {
             const std::string kept = R"({"12":"1","11111":"2","7":1.5,"z":{"a":[1,null]}})";
             const std::string deep =
                 R"({"a":)" + std::string(1000000, '[') + std::string(1000000, ']') + "}";
             S.replace(S.find(kept) - 4, kept.size() + 4, LittleEndian32(deep.size()) + deep);
             return WithChecksum(S.substr(0, S.size() - 4));
         }},
    };
    for (const auto &c : cases) {
        WriteAll(Store.FilePath(), c.Spoil(good));
        const KeptCatalogueRead read = Store.Read();
        EXPECT_EQ(read.Outcome, Outcome::Unusable) << c.What;
        EXPECT_FALSE(read.Problem.empty()) << c.What;
        EXPECT_TRUE(read.Copy.Rows.empty()) << c.What;
    }
}

TEST_F(KeptCatalogueTest, AFolderThatCannotBeMadeIsAnErrorNotASilentLoss) {
    WriteAll(Folder.filePath(QStringLiteral("file")), "x");
    const KeptCatalogue store(Folder.filePath(QStringLiteral("file/catalogue.kept")));
    EXPECT_THROW(store.Keep(SmallTable().Rows(), SmallProfile(), 1), EKeptCatalogueError);
    EXPECT_EQ(store.Read().Outcome, Outcome::Missing);
}

} // namespace
