#include "DesktopFixture.h"

#include "Player/Wmp.h"
#include "Player/WmpOptions.h"
#include "app/ui/WmpStationPlayer.h"
#include "shared/core/Registro.h"

#include <QTest>

namespace Tunewell::Testing {

namespace {
QStringList *gWarnings = nullptr;

void CollectWarning(QtMsgType Type, const QMessageLogContext &, const QString &Message) {
    if (gWarnings && Type == QtWarningMsg)
        gWarnings->append(Message);
}
} // namespace

void DesktopFixture::SetUp() {
    FormRadioFixture::SetUp();
    Options.TrayAvailable = false;
    Options.EndProgram = [this] { ++Ended; };
    for (const char *name : {"Volume", "TitleNotices", "SleepMinutes", "CloseToTray"})
        ExcluirRegistro(QStringLiteral("Firebase"), QStringLiteral("Player"), QString::fromLatin1(name),
                        QString());
}

void DesktopFixture::TearDown() {
    Desktop.reset();
    FormRadioFixture::TearDown();
}

QDBusConnection DesktopFixture::NoBus() {
    return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/tunewell-bus"),
                                         QStringLiteral("tunewell-no-bus"));
}

TFormRadio &DesktopFixture::StartDesktop(QDBusConnection Bus) {
    Player::WmpOptions player = PlayerOptions;
    player.audioSink = QStringLiteral("fakesink sync=true");
    auto station = std::make_unique<WmpStationPlayer>(player);
    Wmp = &station->Control();
    Form = std::make_unique<TFormRadio>(WindowEnvironment{Dialogs, Clients, Settings}, std::move(station),
                                        ChildWindowFactory{});
    Warnings.clear();
    gWarnings = &Warnings;
    const QtMessageHandler previous = qInstallMessageHandler(CollectWarning);
    Desktop = std::make_unique<DesktopIntegration>(*Form, *Wmp, Bus, Options);
    qInstallMessageHandler(previous);
    gWarnings = nullptr;
    RunAndWaitForStartUp([this] { Form->show(); });
    return *Form;
}

TFormRadio &DesktopFixture::Restart(QDBusConnection Bus) {
    Desktop.reset();
    Form->hide();
    Form.reset();
    return StartDesktop(std::move(Bus));
}

void DesktopFixture::Activate() {
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
}

} // namespace Tunewell::Testing
