#include "help/publish/PublishCatalogue.h"

#include "help/core/StationListFile.h"
#include "help/publish/PublishPushKeys.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace Tunewell {
namespace {

using Cumulo::TJSONValue;

PublishPushKeys FixedKeys() {
    return PublishPushKeys([] { return std::int64_t{1'700'000'000'000}; }, [] { return std::uint32_t{5}; });
}

std::vector<TJSONValue> Records(const PublishCatalogue &Catalogue) {
    std::vector<TJSONValue> Records;
    for (const auto &[Key, Record] : Catalogue.Node().items())
        Records.push_back(Record);
    return Records;
}

TJSONValue Station(const char *Num, const char *Url, const char *Nome, const char *Estilo, const char *Local,
                   const char *Qualidade, const char *Favorito, const char *Serie) {
    // Built member by member: the order of the members is part of the record.
    TJSONValue Record = TJSONValue::object();
    Record["num"] = Num;
    Record["url"] = Url;
    Record["nome"] = Nome;
    Record["estilo"] = Estilo;
    Record["localizacao"] = Local;
    Record["qualidade"] = Qualidade;
    Record["favorito"] = Favorito;
    Record["serie"] = Serie;
    return Record;
}

TEST(PublishCatalogue, NumbersTheLinesInOrderUnderIncreasingKeys) {
    auto Keys = FixedKeys();
    const PublishCatalogue Catalogue({R"("http://a/1|Alpha|Rock|SP|128|2|11")",
                                      R"(junk "http://b/2|Beta|Jazz|RJ|64|1|12" junk)",
                                      R"("http://c/3|Gama|Pop|MG|32|2|13")"},
                                     Keys);
    EXPECT_EQ(Records(Catalogue), (std::vector<TJSONValue>{
                                      Station("1", "http://a/1", "Alpha", "Rock", "SP", "128", "2", "11"),
                                      Station("2", "http://b/2", "Beta", "Jazz", "RJ", "64", "1", "12"),
                                      Station("3", "http://c/3", "Gama", "Pop", "MG", "32", "2", "13"),
                                  }));
    ASSERT_EQ(Catalogue.Keys().size(), 3u);
    EXPECT_LT(Catalogue.Keys()[0], Catalogue.Keys()[1]);
    EXPECT_LT(Catalogue.Keys()[1], Catalogue.Keys()[2]);
    std::vector<std::string> NodeKeys;
    for (const auto &[Key, Record] : Catalogue.Node().items())
        NodeKeys.push_back(Key);
    EXPECT_EQ(NodeKeys, Catalogue.Keys());
}

TEST(PublishCatalogue, KeepsTheBlanksOfNameAndStyleOnly) {
    auto Keys = FixedKeys();
    const PublishCatalogue Catalogue({QString::fromUtf8(R"("addr1 | Rádio X |Pop| Centro | 128 | 0 | 42 ")")},
                                     Keys);
    EXPECT_EQ(Records(Catalogue),
              std::vector<TJSONValue>{Station("1", "addr1", " Rádio X ", "Pop", "Centro", "128", "0", "42")});
}

TEST(PublishCatalogue, ABlankLineIsAStationWithOnlyItsNumber) {
    auto Keys = FixedKeys();
    const PublishCatalogue Catalogue({R"("http://a|A|B|C|D|E|1")", QString(), R"("http://b|A|B|C|D|E|2")"},
                                     Keys);
    const auto All = Records(Catalogue);
    ASSERT_EQ(All.size(), 3u);
    EXPECT_EQ(All[1], Station("2", "", "", "", "", "", "", ""));
    EXPECT_EQ(All[2]["num"], "3");
}

TEST(PublishCatalogue, AnEmptyListIsAnEmptyCatalogue) {
    auto Keys = FixedKeys();
    const PublishCatalogue Catalogue(QStringList{}, Keys);
    EXPECT_EQ(Catalogue.Node(), TJSONValue::object());
    EXPECT_TRUE(Catalogue.Keys().empty());
}

class PublishCatalogueFile : public ::testing::Test {
protected:
    QString Write(const QByteArray &Bytes) {
        const auto Path = Folder.filePath(QStringLiteral("lista_radios.txt"));
        QFile File(Path);
        EXPECT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(Bytes);
        return Path;
    }
    QTemporaryDir Folder;
    PublishPushKeys Keys = FixedKeys();
};

TEST_F(PublishCatalogueFile, ReadsUtf8AndWindows1252Alike) {
    for (const QByteArray &Bytes : {QByteArray("\"u|R\xC3\xA1"
                                               "dio|S|L|Q|F|1\"\r\n"),
                                    QByteArray("\"u|R\xE1"
                                               "dio|S|L|Q|F|1\"\r\n")}) {
        const auto Catalogue = PublishCatalogue::FromFile(Write(Bytes), Keys);
        ASSERT_EQ(Catalogue.Keys().size(), 1u);
        EXPECT_EQ(Records(Catalogue)[0]["nome"], "Rádio") << Bytes.toStdString();
    }
}

TEST_F(PublishCatalogueFile, AMissingFileThrowsTheSystemsMessage) {
    try {
        PublishCatalogue::FromFile(Folder.filePath(QStringLiteral("missing.txt")), Keys);
        FAIL() << "no error";
    } catch (const EInOutError &Error) {
        EXPECT_STREQ(Error.what(), std::strerror(ENOENT));
    }
}

} // namespace
} // namespace Tunewell
