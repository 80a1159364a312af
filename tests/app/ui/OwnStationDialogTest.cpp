// The dialog of a station of one's own: the fields' limits, what it says of bad input, and the
// trial of the address before saving, with a trial that answers as told.
#include "app/ui/OwnStationDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>

namespace Tunewell::Testing {
namespace {

using Outcome = TStationTrialResult::TOutcome;

class OwnStationDialogTest : public ::testing::Test {
protected:
    // A dialog whose trial answers with Answer and counts the addresses tried.
    std::unique_ptr<OwnStationDialog> Dialog(const TOwnStation &Initial = {}) {
        return std::make_unique<OwnStationDialog>(
            Initial,
            [this](const std::string &Url) {
                ++Tries;
                TStationTrialResult result = Answer;
                result.StreamUrl = Url;
                return result;
            },
            nullptr);
    }

    static void Fill(OwnStationDialog &Dialog, const QString &Name, const QString &Address) {
        Dialog.NameField->setText(Name);
        Dialog.AddressField->setText(Address);
    }

    // Clicks Save and waits for the trial it starts, if any.
    static void SaveAndWait(OwnStationDialog &Dialog, bool Tries) {
        QSignalSpy tried(&Dialog, &OwnStationDialog::Tried);
        Dialog.SaveButton->click();
        if (Tries) {
            ASSERT_TRUE(tried.wait(5000));
        }
    }

    TStationTrialResult Answer{Outcome::Answers, {}, false, "audio/mpeg", "128", {}};
    std::atomic<int> Tries{0};
};

TEST_F(OwnStationDialogTest, FieldsHoldWhatTheCloudKeeps) {
    auto dialog = Dialog({"-Key", "Minha", "http://a/s", "Jazz", "Rio", -4});
    EXPECT_EQ(dialog->NameField->maxLength(), 150);
    EXPECT_EQ(dialog->AddressField->maxLength(), 200);
    EXPECT_EQ(dialog->StyleField->maxLength(), 30);
    EXPECT_EQ(dialog->LocationField->maxLength(), 30);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Edit own station / Editar esta\u00E7\u00E3o sua"));
    EXPECT_EQ(dialog->Station(), (TOwnStation{"-Key", "Minha", "http://a/s", "Jazz", "Rio", -4}));
}

TEST_F(OwnStationDialogTest, BadInputIsSaidAndNothingIsTried) {
    struct Case {
        const char *What;
        QString Name;
        QString Address;
        const char *Said;
    };
    const std::vector<Case> cases{
        {"no name", "  ", "http://a/s", "The station needs a name"},
        {"no scheme", "Minha", "a/s", "The address must start with http:// or https://"},
        {"a file", "Minha", "file:///tmp/a.mp3", "The address must start with http:// or https://"},
    };
    for (const auto &c : cases) {
        auto dialog = Dialog();
        Fill(*dialog, c.Name, c.Address);
        dialog->SaveButton->click();
        EXPECT_TRUE(dialog->ResultLabel->text().startsWith(QString::fromUtf8(c.Said))) << c.What;
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << c.What;
        EXPECT_TRUE(dialog->SaveButton->isEnabled()) << c.What;
    }
    EXPECT_EQ(Tries, 0);
}

TEST_F(OwnStationDialogTest, AnAddressThatAnswersWithAudioIsSavedAtOnce) {
    auto dialog = Dialog();
    Fill(*dialog, " Minha ", " http://a/s ");
    SaveAndWait(*dialog, true);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Tries, 1);
    EXPECT_EQ(dialog->ResultLabel->text(),
              QStringLiteral("Answers: audio/mpeg, 128 kb/s / Responde: audio/mpeg, 128 kb/s"));
    EXPECT_EQ(dialog->Station().Nome, "Minha");
    EXPECT_EQ(dialog->Station().Url, "http://a/s");
}

TEST_F(OwnStationDialogTest, AfterAFailureTheListenerMayStillSave) {
    Answer = {Outcome::NotAudio, {}, false, "text/html", {}, {}};
    auto dialog = Dialog();
    Fill(*dialog, "Minha", "http://a/page");
    SaveAndWait(*dialog, true);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(dialog->ResultLabel->text().startsWith("Answers, but not with audio: text/html"));
    EXPECT_EQ(dialog->SaveButton->text(), QStringLiteral("Save anyway / Salvar assim mesmo"));

    // Another address is tried anew; the same one again is saved as it is.
    dialog->AddressField->setText("http://a/other");
    EXPECT_EQ(dialog->SaveButton->text(), QStringLiteral("Save / Salvar"));
    SaveAndWait(*dialog, true);
    EXPECT_EQ(Tries, 2);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    SaveAndWait(*dialog, false);
    EXPECT_EQ(Tries, 2);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Station().Url, "http://a/other");
}

TEST_F(OwnStationDialogTest, TryShowsTheAnswerWithoutSaving) {
    Answer = {Outcome::NoAnswer, {}, false, {}, {}, {}};
    auto dialog = Dialog();
    Fill(*dialog, "", "https://a/s");
    QSignalSpy tried(dialog.get(), &OwnStationDialog::Tried);
    dialog->TryButton->click();
    EXPECT_FALSE(dialog->SaveButton->isEnabled()) << "no second trial while one runs";
    ASSERT_TRUE(tried.wait(5000));
    EXPECT_TRUE(dialog->ResultLabel->text().startsWith("No answer within 8 s"));
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(dialog->SaveButton->isEnabled());
}

TEST_F(OwnStationDialogTest, AfterTryFocusComesBackAndEnterSaves) {
    Answer = {Outcome::NoAnswer, {}, false, {}, {}, {}};
    auto dialog = Dialog();
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    dialog->NameField->setFocus();
    QTest::keyClicks(dialog->NameField, QStringLiteral("Minha"));
    QTest::keyClick(dialog->NameField, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), dialog->AddressField);
    QTest::keyClicks(dialog->AddressField, QStringLiteral("http://a/s"));
    dialog->TryButton->setFocus();

    QSignalSpy tried(dialog.get(), &OwnStationDialog::Tried);
    QTest::keyClick(dialog->TryButton, Qt::Key_Space);
    ASSERT_FALSE(dialog->TryButton->isEnabled());
    // Enter while the trial runs loses nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_TRUE(tried.wait(5000));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), dialog->TryButton) << "focus comes back where it was";

    // Enter saves what was typed, whatever button has the focus.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->Station().Nome, "Minha");
    EXPECT_EQ(dialog->Station().Url, "http://a/s");
    EXPECT_EQ(Tries, 1);
}

} // namespace
} // namespace Tunewell::Testing
