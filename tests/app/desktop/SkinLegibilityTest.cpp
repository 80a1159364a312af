// Every text of the main window is legible in every skin: measured as the window draws it.
#include "DesktopFixture.h"
#include "Player/Wmp.h"
#include "TextLegibility.h"
#include "app/core/SleepTimer.h"
#include "app/ui/StationFilterBar.h"
#include "app/ui/StatusNotice.h"
#include "app/ui/ThemeManager.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

namespace Tunewell::Testing {
namespace {

class SkinLegibilityTest : public DesktopFixture {
protected:
    void TearDown() override {
        DesktopFixture::TearDown();
        ThemeManager::Apply(ThemeManager::DefaultTheme(), nullptr);
    }
};

TEST_F(SkinLegibilityTest, EveryTextOfTheMainWindowInEverySkin) {
    SetProfile(kProfile);
    auto &form = StartDesktop(NoBus());
    Activate();
    form.DBGrid1->setFocus();
    // Every kind of text the window shows at once: a station's values, the player's status, the
    // sleep timer's time left and the line about the catalogue.
    ASSERT_EQ(form.LabelNome->text(), "Bravo");
    Desktop->Sleep().Start(std::chrono::minutes(30));
    form.CloudNotice()->ShowNotice("Catalogue kept on 1 May 2024", "");
    const auto &skins = ThemeManager::Themes();
    for (int skin = 0; skin < static_cast<int>(skins.size()); ++skin) {
        form.ThemeItem(skin)->trigger();
        QApplication::processEvents();
        for (const QString &words : {QString(), QStringLiteral("a")}) {
            form.FilterBar1->Field()->setText(words);
            EXPECT_EQ(IllegibleTexts(form, {QStringLiteral("Fav")}), QStringList{})
                << skins[skin].ThemeName << (words.isEmpty() ? ", find row empty" : ", with words to find");
        }
        form.FilterBar1->Field()->clear();
    }
}

} // namespace
} // namespace Tunewell::Testing
