#include "help/core/StationLine.h"

#include "help/core/StationListFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Tunewell;

TEST(StationLine, CutsTheSevenFields) {
    struct Case {
        const char *Line;
        std::array<const char *, 7> Fields; // url nome estilo localizacao qualidade favorito serie
    };
    const Case cases[] = {
        {R"("addr1 | Rádio X |Pop| Centro | 128 | 0 | 42 ")",
         {"addr1", " Rádio X ", "Pop", "Centro", "128", "0", "42"}},
        {R"(ignored "http://a|N|E|L|Q|1|7" trailing)", {"http://a", "N", "E", "L", "Q", "1", "7"}},
        {"", {"", "", "", "", "", "", ""}},
        {R"("http://a|Nome")", {"http://a", "", "", "", "", "", "Nome"}},
        {R"("u|n|e|l|q|f")", {"u", "n", "e", "l", "q", "", "f"}},
        {"no quotes|n|e|l|q|f|9", {"no quote", "n", "e", "l", "q", "f", ""}},
        {R"("u|n|e|l|q|f|9|extra")", {"u", "n", "e", "l", "q", "f", "9|extra"}},
    };
    for (const auto &c : cases) {
        const auto cut = CutStationLine(QString::fromUtf8(c.Line));
        const QString fields[] = {cut.url,       cut.nome,     cut.estilo, cut.localizacao,
                                  cut.qualidade, cut.favorito, cut.serie};
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(fields[i].toStdString(), c.Fields[i]) << c.Line << " field " << i;
        }
    }
}

TEST(StationListFile, ReadsUtf8OrWindows1252) {
    struct Case {
        QByteArray Bytes;
        QStringList Lines;
    };
    const Case cases[] = {
        {"\"u|R\xc3\xa1"
         "dio\"\r\nb\n",
         {QString::fromUtf8("\"u|Rádio\""), "b"}},
        {"\xef\xbb\xbf"
         "a\rb\r\n\r\nc",
         {"a", "b", "", "c"}},
        {"R\xe1"
         "dio \x80\n",
         {QString::fromUtf8("Rádio €")}},
        {"", {}},
        {"\n", {""}},
    };
    QTemporaryDir folder;
    for (const auto &c : cases) {
        QFile file(folder.filePath("lista_radios.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.Bytes);
        file.close();
        EXPECT_EQ(ReadStationList(file.fileName()), c.Lines) << c.Bytes.toStdString();
    }
    EXPECT_THROW(ReadStationList(folder.filePath("missing.txt")), EInOutError);
}
