#include "RecordingDialogs.h"
#include "help/ui/UnitAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace Tunewell {
namespace {

TEST(AboutWindow, ShowsNameDateAndSiteAndClosesWithItsButton) {
    Testing::RecordingDialogs Dialogs;
    TFormAbout Form(Dialogs);
    Form.show();
    EXPECT_EQ(Form.Label1->text(), QStringLiteral("Tunewell"));
    EXPECT_TRUE(Form.Label1->font().bold());
    EXPECT_EQ(Form.Label4->text(), QStringLiteral("Jan/2019"));
    EXPECT_EQ(Form.Label6->text(), QStringLiteral("Can be downloaded in my site:"));
    EXPECT_EQ(Form.BitBtn1->text(), QStringLiteral("    Close"));
    EXPECT_FALSE(Form.BitBtn1->icon().isNull());
    QTest::mouseClick(Form.BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(Form.isVisible());
}

TEST(AboutWindow, AClickOnTheSiteOpensItAndAMissingBrowserShowsNothing) {
    for (const bool Opens : {true, false}) {
        Testing::RecordingDialogs Dialogs;
        Dialogs.AddressOpens = Opens;
        TFormAbout Form(Dialogs);
        Form.show();
        QTest::mouseClick(Form.LbSite, Qt::LeftButton);
        EXPECT_EQ(Dialogs.Seen, QStringList{QStringLiteral("open: ") + Form.LbSite->text()}) << Opens;
        EXPECT_TRUE(Form.isVisible());
    }
}

} // namespace
} // namespace Tunewell
