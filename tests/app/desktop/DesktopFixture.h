#pragma once

#include "FormRadioFixture.h"
#include "Player/WmpOptions.h"
#include "app/desktop/DesktopIntegration.h"

#include <QDBusConnection>
#include <QStringList>

namespace Player {
class Wmp;
} // namespace Player

namespace Tunewell::Testing {

// The main window with a real player (its sound to a fake sink) and the desktop's additions
// bound as the program binds them; the player's choices start from nothing in every test.
class DesktopFixture : public FormRadioFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window and its additions with Options, shows it and waits for its start-up
    // sequence.
    TFormRadio &StartDesktop(QDBusConnection Bus);
    // The additions again, as a later run of the program makes them (the window is new too).
    TFormRadio &Restart(QDBusConnection Bus);
    void Activate();
    static QDBusConnection NoBus();

    // No tray unless a test gives one; the program's end is counted in Ended.
    DesktopOptions Options;
    // The player's, its sound to a fake sink.
    Player::WmpOptions PlayerOptions;
    Player::Wmp *Wmp = nullptr;
    std::unique_ptr<DesktopIntegration> Desktop;
    // How often the program was ended.
    int Ended = 0;
    // Warnings written while the additions were made.
    QStringList Warnings;
};

} // namespace Tunewell::Testing
