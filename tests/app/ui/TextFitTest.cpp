// Every window of the program, in the state a listener sees it, has room for each of its texts.
// The suite runs once per font and scale (see CMakeLists.txt): TUNEWELL_TEXT_FIT_FONT=tahoma
// keeps the Tahoma of fonts-wine that every window suite loads as the program does, =fallback
// takes it away again, leaving the platform's sans font.
#include "FormRadioFixture.h"
#include "TextRoom.h"
#include "app/ui/MessageDialogs.h"
#include "app/ui/StatusNotice.h"
#include "app/ui/ThemeManager.h"
#include "help/ui/UnitAbout.h"
#include "help/ui/UnitHelp.h"
#include "profile/ui/UnitRegister.h"
#include "shared/ui/WindowFont.h"
#include "shared/ui/WindowFonts.h"

#include <Cumulo/Exceptions.h>
#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace Tunewell::Testing {
namespace {

using Cumulo::TJSONValue;

bool WithTahoma() {
    return qEnvironmentVariable("TUNEWELL_TEXT_FIT_FONT", QStringLiteral("tahoma")) !=
           QLatin1String("fallback");
}

// Every control, menu bar and menu of Window that shows text in another family than the windows'
// font: a layout measured for one font cannot be trusted with another.
QStringList OtherFonts(QWidget &Window) {
    const QString Family = QFontInfo(WindowFont()).family();
    QStringList Others;
    for (QWidget *Widget : Window.findChildren<QWidget *>()) {
        const bool ShowsText = qobject_cast<QLabel *>(Widget) || qobject_cast<QAbstractButton *>(Widget) ||
                               qobject_cast<QLineEdit *>(Widget) || qobject_cast<QMenuBar *>(Widget) ||
                               qobject_cast<QMenu *>(Widget);
        if (!ShowsText)
            continue;
        Widget->ensurePolished();
        if (QFontInfo(Widget->font()).family() != Family)
            Others << Widget->objectName() + QLatin1Char(' ') + QFontInfo(Widget->font()).family();
    }
    return Others;
}

class TextFitTest : public FormRadioFixture {
protected:
    void SetUp() override {
        if (WithTahoma()) {
            ASSERT_TRUE(UseTahoma()) << "fonts-wine is not installed (scripts/setup installs it)";
        } else {
            QFontDatabase::removeAllApplicationFonts();
            UseTahoma(QStringLiteral("/nonexistent"));
            if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
                GTEST_SKIP() << "this machine has a Tahoma of its own: there is no fallback to test";
        }
        ASSERT_EQ(QFontInfo(WindowFont()).family() == QLatin1String("Tahoma"), WithTahoma());
        ThemeManager::Apply(ThemeManager::DefaultTheme(), nullptr);
        FormRadioFixture::SetUp();
        // A station with long values of every field, as the real catalogue has them.
        Script->Tree["ESTACOES"]["-Station04ddd"] = TJSONValue{{"num", "144"},
                                                               {"url", "http://127.0.0.1:1/long"},
                                                               {"nome", "Rádio Paradise Mellow Mix"},
                                                               {"estilo", "Alternative Rock"},
                                                               {"localizacao", "São Paulo"},
                                                               {"qualidade", "320k"},
                                                               {"favorito", "1"},
                                                               {"serie", "44"}};
        Script->Tree["CADASTRADO"][kProfile]["LAST"] = TJSONValue{{"Serie", "44"}};
        // A newer version on offer, so the update question is among the messages.
        Script->Tree["VERSOES"] = TJSONValue{{"Software", "9.9"}, {"Url", "http://127.0.0.1:1/download"}};
    }

    void MakeCloudUnreachable() {
        Script->SignInError =
            "Failed to connect to 127.0.0.1 port 9099 after 0 ms: Couldn't connect to server "
            "(http://127.0.0.1:9099/www.googleapis.com/identitytoolkit/v3/relyingparty/"
            "verifyPassword)";
        Script->Answer = [this](const std::string &, const Cumulo::TStringDynArray &,
                                const TJSONValue *) -> Cumulo::TOptionalJSON {
            throw Cumulo::ETransport(Script->SignInError);
        };
    }

    TFormRegister &Profile() {
        RegisterWindow = std::make_unique<TFormRegister>(WindowEnvironment{Dialogs, Clients, Settings},
                                                         [] { return std::string("44"); });
        RegisterWindow->show();
        return *RegisterWindow;
    }

    std::unique_ptr<TFormRegister> RegisterWindow;
};

TEST_F(TextFitTest, MainWindowPlayingAStationWithLongValues) {
    SetProfile(kProfile);
    auto &Form = Start();
    ASSERT_EQ(Form.LabelNome->text(), QStringLiteral("Rádio Paradise Mellow Mix"));
    EXPECT_EQ(TextMisfits(Form), QStringList{});
    EXPECT_EQ(OtherFonts(Form), QStringList{});
}

// The status bar's line about the kept catalogue shown while the cloud is unreachable.
TEST_F(TextFitTest, MainWindowShowingTheKeptCatalogue) {
    SetProfile(kProfile);
    QTemporaryDir Folder;
    Kept = std::make_shared<KeptCatalogue>(Folder.filePath(QStringLiteral("catalogue.kept")));
    Start();
    WaitForKept(1);
    Form.reset();
    MakeCloudUnreachable();
    auto &Form = Start();
    ASSERT_FALSE(Form.CloudNotice()->Line().isEmpty());
    EXPECT_EQ(TextMisfits(Form), QStringList{});
}

TEST_F(TextFitTest, ProfileWindowRegisteredAndNot) {
    EXPECT_EQ(TextMisfits(Profile()), QStringList{}) << "not registered";
    EXPECT_EQ(OtherFonts(*RegisterWindow), QStringList{});
    SetProfile(kProfile);
    EXPECT_EQ(TextMisfits(Profile()), QStringList{}) << "registered";
}

TEST_F(TextFitTest, HelpAndAboutWindows) {
    TFormHelp Help(WindowEnvironment{Dialogs, Clients, Settings});
    Help.show();
    EXPECT_EQ(TextMisfits(Help), QStringList{});
    EXPECT_EQ(OtherFonts(Help), QStringList{});
    TFormAbout About(Dialogs);
    About.show();
    EXPECT_EQ(TextMisfits(About), QStringList{});
    EXPECT_EQ(OtherFonts(About), QStringList{});
}

// The messages the windows show, each in the desktop's own message box.
TEST_F(TextFitTest, MessageBoxes) {
    Start();
    QTest::mouseClick(Profile().btSave, Qt::LeftButton);
    QTemporaryDir NoList;
    const QString Here = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(NoList.path()));
    TFormHelp Help(WindowEnvironment{Dialogs, Clients, Settings});
    Help.BtListaRadiosClick();
    QDir::setCurrent(Here);
    // The cloud unreachable with nothing kept, and a refused read.
    Form.reset();
    MakeCloudUnreachable();
    Start();
    Form.reset();
    *Script = FakeCloudScript{};
    Script->Answer = [](const std::string &, const Cumulo::TStringDynArray &,
                        const TJSONValue *) -> Cumulo::TOptionalJSON {
        throw Cumulo::EFirebaseResponse("Permission denied");
    };
    Start();
    ASSERT_GE(Dialogs.Entries.size(), 5u) << "the update question, a profile message and three errors";

    MessageDialogs Desktop;
    for (const auto &Entry : Dialogs.Entries) {
        QStringList Misfits{QStringLiteral("no message box")};
        QTimer::singleShot(0, [&Misfits] {
            auto *Box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!Box)
                return;
            Misfits = TextMisfits(*Box);
            Box->done(0);
        });
        if (Entry.What == RecordingDialogs::Kind::Question)
            Desktop.AskYesNo(nullptr, Entry.Text, Entry.Caption);
        else if (Entry.What == RecordingDialogs::Kind::Error)
            Desktop.ShowError(nullptr, Entry.Text);
        else if (Entry.What == RecordingDialogs::Kind::Message)
            Desktop.ShowMessage(nullptr, Entry.Text);
        else
            continue;
        EXPECT_EQ(Misfits, QStringList{}) << Entry.Text.toStdString();
    }
}

} // namespace
} // namespace Tunewell::Testing
