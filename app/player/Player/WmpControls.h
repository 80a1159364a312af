#pragma once

namespace Player {

class Wmp;

// The player's transport operations, reached as Wmp::controls().
class WmpControls {
public:
    explicit WmpControls(Wmp &player) : player_(player) {}

    // Plays the player's URL; asking again for the station already playing changes nothing.
    void play();
    void pause();
    void stop();

private:
    Wmp &player_;
};

} // namespace Player
