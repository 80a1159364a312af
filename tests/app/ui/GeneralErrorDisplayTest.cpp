// Errors that leave a handler or a posted procedure reach the error report; the program goes on.
#include "Cumulo/MainThread.h"
#include "FormRadioFixture.h"
#include "SettingsFaults.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <functional>
#include <stdexcept>

namespace Tunewell::Testing {
namespace {

using Kind = RecordingDialogs::Kind;

class GeneralErrorDisplayTest : public FormRadioFixture {
protected:
    // Delivers a call through the event loop, as a menu choice or a queued answer arrives.
    static void Deliver(QObject *Receiver, std::function<void()> Call) {
        QMetaObject::invokeMethod(Receiver, std::move(Call), Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }
};

TEST_F(GeneralErrorDisplayTest, SettingsErrorsOfTheMainWindowsHandlersAreShown) {
    SetProfile(kProfile);
    auto &form = Start();
    const QString unreadable = QStringLiteral("Invalid data type for 'Registrado'");
    StoreProfileIdOfAnotherType();
    struct Case {
        const char *Name;
        std::function<void()> Act;
    };
    const std::vector<Case> cases{
        {"cell click", [&] { ClickCell(RowOfSerie("12"), 1); }},
        {"Favorite menu", [&] { Deliver(form.Favorite1, [&] { emit form.Favorite1->aboutToShow(); }); }},
        {"Include", [&] { Deliver(form.Include1, [&] { form.Include1->trigger(); }); }},
        {"Exclude", [&] { Deliver(form.Exclude1, [&] { form.Exclude1->trigger(); }); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        Dialogs.Entries.clear();
        c.Act();
        EXPECT_EQ(Dialogs.Texts(Kind::Error), std::vector<QString>{unreadable});
    }

    // A failing close record still lets the window close.
    Dialogs.Entries.clear();
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Dialogs.Texts(Kind::Error), std::vector<QString>{unreadable});
}

TEST_F(GeneralErrorDisplayTest, ErrorsOfProceduresPostedToTheMainThreadAreShown) {
    int ran = 0;
    Cumulo::PostToMainThread([] { throw std::runtime_error("listener callback broke"); });
    Cumulo::PostToMainThread([&ran] { ++ran; });
    Cumulo::ProcessMainThreadQueue();
    EXPECT_EQ(Dialogs.Texts(Kind::Error), std::vector<QString>{"listener callback broke"});
    EXPECT_EQ(ran, 1);
}

} // namespace
} // namespace Tunewell::Testing
