// The import preview: what gets a star and what becomes one's own, before anything is written.
#include "app/desktop/ImportPreviewDialog.h"

#include "app/core/StationTable.h"
#include "app/playlists/ImportPlan.h"

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
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

// The pixel rows of Area holding ink: a pixel nearer the text's colour than the background's.
int InkRows(const QImage &Image, const QRect &Area, QColor Background, QColor Ink) {
    const auto distance = [](QColor A, QColor B) {
        return std::abs(A.red() - B.red()) + std::abs(A.green() - B.green()) + std::abs(A.blue() - B.blue());
    };
    int rows = 0;
    for (int y = Area.top(); y <= Area.bottom(); ++y) {
        for (int x = Area.left(); x <= Area.right(); ++x) {
            const QColor pixel = Image.pixelColor(x, y);
            if (distance(pixel, Ink) < distance(pixel, Background)) {
                ++rows;
                break;
            }
        }
    }
    return rows;
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

TEST_F(ImportPreview, AccentsOnCapitalsAreDrawnWhole) {
    ImportPreviewDialog dialog(Plan({{"\u00C3O \u00C1GUA \u00C9PICA", "http://new.example/n"}}), Table,
                               nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QListWidget *list = dialog.OwnList;
    const QString text = list->item(0)->text();
    const QImage drawn = list->viewport()->grab().toImage();
    const QColor background = list->palette().color(QPalette::Base);
    const QColor ink = list->palette().color(QPalette::Text);
    // The same text drawn with room to spare, in the list's font.
    QImage whole(list->fontMetrics().horizontalAdvance(text) + 20, list->fontMetrics().height() * 3,
                 QImage::Format_RGB32);
    whole.fill(background);
    {
        QPainter painter(&whole);
        painter.setFont(list->font());
        painter.setPen(ink);
        painter.drawText(10, list->fontMetrics().height() * 2, text);
    }
    const int wholeRows = InkRows(whole, whole.rect(), background, ink);
    ASSERT_GT(wholeRows, list->fontMetrics().ascent()) << "the accents reach above the font's ascent";
    EXPECT_EQ(InkRows(drawn, list->visualItemRect(list->item(0)), background, ink), wholeRows);
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
