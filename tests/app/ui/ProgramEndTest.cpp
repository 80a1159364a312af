// The program's end: after its close record, or after a restart request, nothing more is sent.
#include "Cumulo/Helpers.h"
#include "FormRadioFixture.h"
#include "ProgramLoop.h"
#include "app/desktop/MainWindowControl.h"
#include "app/ui/TerminationRequest.h"
#include "profile/ui/UnitRegister.h"

#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>

namespace Tunewell::Testing {
namespace {

using Cumulo::TFirebaseHelpers;
using Kind = RecordingDialogs::Kind;

class ProgramEndTest : public FormRadioFixture {
protected:
    // The calls made after the first one that holds Needle.
    std::vector<std::string> CallsAfter(const std::string &Needle) const {
        auto first = std::find_if(Script->Calls.begin(), Script->Calls.end(), [&](const std::string &Call) {
            return Call.find(Needle) != std::string::npos;
        });
        if (first == Script->Calls.end())
            return {"(no call holds " + Needle + ")"};
        return {std::next(first), Script->Calls.end()};
    }

    // SIGTERM as the session sends it, handled as the program handles it, until the window is gone.
    void Terminate() {
        std::raise(SIGTERM);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !Form->isVisible(); }, 10000));
    }
};

TEST_F(ProgramEndTest, TerminationDuringAModalWindowWritesNothingAfterTheCloseRecord) {
    struct Case {
        const char *Name;
        // Arranges for the termination to come while a modal window of the run is open.
        std::function<void()> Arrange;
        // Opens that window once the program runs.
        std::function<void(TFormRadio &)> Open;
    };
    const std::vector<Case> cases{
        {"the update question",
         [this] {
             Script->Tree["VERSOES"]["Software"] = "2.3";
             Dialogs.WhileAsking = [this] { Terminate(); };
         },
         [](TFormRadio &) {}},
        {"the about window",
         [this] {
             Children = [this](ChildWindow, TFormRadio &) {
                 auto child = std::make_unique<QDialog>();
                 QTimer::singleShot(0, child.get(), [this] { Terminate(); });
                 return child;
             };
         },
         [](TFormRadio &Form) { Form.About1->trigger(); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        SetUp();
        SetProfile(kProfile);
        c.Arrange();
        RunAsTheProgram([&] {
            // As the program binds it: the window's control ends it, close record first.
            TerminationRequest termination([this] { MainWindowControl(*Form).Quit(); });
            Start();
            c.Open(*Form);
        });
        // As the program does once its loop has ended: the close record is waited for.
        WaitForCloud();
        const auto after = CallsAfter("\"Status\":\"Offline\"");
        EXPECT_TRUE(after.empty()) << after.front();
        EXPECT_EQ(Node({"CADASTRADO", kProfile, "STATUS", "Status"})->get<std::string>(), "Offline");
        EXPECT_TRUE(Dialogs.Texts(Kind::Error).empty());
        EXPECT_TRUE(TFirebaseHelpers::AppIsTerminated());
        TearDown();
    }
}

TEST_F(ProgramEndTest, DeletingTheProfileEndsThisInstanceWithoutAnotherCloudCall) {
    SetProfile(kProfile);
    QPointer<TFormRegister> profileWindow;
    Children = [&](ChildWindow, TFormRadio &Main) {
        auto child = std::make_unique<TFormRegister>(Main.Environment(), [] { return std::string("12"); });
        profileWindow = child.get();
        QTimer::singleShot(0, child.get(),
                           [&] { QTest::mouseClick(profileWindow->btDelete, Qt::LeftButton); });
        // Should the end not come, the window must not wait for ever.
        QTimer::singleShot(5000, child.get(), [&] { profileWindow->done(QDialog::Rejected); });
        return child;
    };
    RunAsTheProgram([&] {
        Start();
        Form->Register1->trigger();
    });
    delete profileWindow.data();

    const auto after = CallsAfter("/EXCLUIDO ");
    EXPECT_TRUE(after.empty()) << after.front();
    EXPECT_EQ(Dialogs.Texts(Kind::Restart).size(), 1u);
    EXPECT_EQ(Dialogs.Entries.size(), 1u);
    // Without the close record: the profile's presence stays the start's.
    EXPECT_EQ(Node({"CADASTRADO", kProfile, "STATUS", "Status"})->get<std::string>(), "Online");
    EXPECT_TRUE(TFirebaseHelpers::AppIsTerminated());
}

} // namespace
} // namespace Tunewell::Testing
