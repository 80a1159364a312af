// The import preview: what gets a star and what becomes one's own, before anything is written.
#include "app/desktop/ImportPreviewDialog.h"

#include "app/core/StationTable.h"
#include "app/playlists/ImportPlan.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace Tunewell::Testing {
namespace {

QStringList Items(const QListWidget *List) {
    QStringList items;
    for (int i = 0; i < List->count(); ++i) {
        items << List->item(i)->text();
    }
    return items;
}

QString Caption(const QDialog &Dialog, const char *Name) {
    return Dialog.findChild<QLabel *>(QString::fromLatin1(Name))->text();
}

class ImportPreview : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto &[name, url, serie, favourite] :
             {std::tuple{"R\u00E1dio Um", "http://a.example/1", "101", ""},
              std::tuple{"Jazz", "http://a.example/2", "102", "1"}}) {
            Table.Append();
            Table.SetField(fpNome, name);
            Table.SetField(fpUrl, url);
            Table.SetField(fpSerie, serie);
            Table.SetField(fpFavoritos, favourite);
            Table.Post();
        }
    }
    TImportPlan Plan(const std::vector<TPlaylistEntry> &Entries) const { return PlanImport(Entries, Table); }

    TStationTable Table;
};

TEST_F(ImportPreview, ListsWhatGetsAStarAndWhatBecomesOwnWithTheirCounts) {
    ImportPreviewDialog dialog(Plan({{"Um", "http://a.example/1"},
                                     {"Jazz", "http://a.example/2"},
                                     {"Nova", "http://new.example/n"},
                                     {"", "https://other.example/s"}}),
                               Table, nullptr);
    EXPECT_EQ(Items(dialog.StarList), QStringList{QStringLiteral("R\u00E1dio Um \u2014 http://a.example/1")});
    EXPECT_EQ(Items(dialog.OwnList),
              (QStringList{QStringLiteral("Nova \u2014 http://new.example/n"),
                           QStringLiteral("other.example \u2014 https://other.example/s")}));
    EXPECT_EQ(Caption(dialog, "StarCaption"), QStringLiteral("Get a star / Ganham estrela (1)"));
    EXPECT_EQ(Caption(dialog, "OwnCaption"),
              QStringLiteral("Become your own stations / Viram esta\u00E7\u00F5es suas (2)"));
    EXPECT_TRUE(dialog.Summary->text().contains(QStringLiteral("Already favourites, left as they are: 1")));
    EXPECT_TRUE(dialog.ImportButton->isEnabled());
}

TEST_F(ImportPreview, ImportAcceptsAndCancelRejects) {
    const TImportPlan plan = Plan({{"Nova", "http://new.example/n"}});
    for (const bool import : {true, false}) {
        ImportPreviewDialog dialog(plan, Table, nullptr);
        dialog.show();
        QPushButton *cancel = nullptr;
        for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
            if (button->text().startsWith(QStringLiteral("Cancel"))) {
                cancel = button;
            }
        }
        ASSERT_NE(cancel, nullptr);
        QTest::mouseClick(import ? dialog.ImportButton : cancel, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), import ? QDialog::Accepted : QDialog::Rejected);
    }
}

TEST_F(ImportPreview, NothingToDoLeavesImportOff) {
    ImportPreviewDialog dialog(Plan({{"Jazz", "http://a.example/2"}}), Table, nullptr);
    EXPECT_FALSE(dialog.ImportButton->isEnabled());
    EXPECT_EQ(dialog.StarList->count() + dialog.OwnList->count(), 0);
    EXPECT_TRUE(dialog.Summary->text().startsWith(QStringLiteral("Nothing to import")));
}

} // namespace
} // namespace Tunewell::Testing
