#include "DialogsSeen.h"
#include "RecordingDialogs.h"
#include "help/ui/UnitAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace Tunewell {
namespace {

// A desktop without a web browser.
class NoBrowser : public Testing::RecordingDialogs {
public:
    bool OpenAddress(const QString &Address) override {
        RecordingDialogs::OpenAddress(Address);
        return false;
    }
};

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
    Testing::RecordingDialogs Browser;
    NoBrowser Without;
    for (auto *Dialogs : {&Browser, static_cast<Testing::RecordingDialogs *>(&Without)}) {
        TFormAbout Form(*Dialogs);
        Form.show();
        QTest::mouseClick(Form.LbSite, Qt::LeftButton);
        EXPECT_EQ(Testing::Seen(*Dialogs), QStringList{QStringLiteral("open: ") + Form.LbSite->text()});
        EXPECT_TRUE(Form.isVisible());
    }
}

} // namespace
} // namespace Tunewell
