#pragma once

#include "platform/kits/avfaudio/AudioPlayer.hpp"

#include <memory>
#include <string_view>

namespace kestrova {

// One of the application's shipped sound effects, ready to play. The five shared sounds are made the
// first time they are asked for (once per process, from any thread) and kept until the process ends.
// Played on the main actor.
class KestrovaSound {
public:
    // Loads "<name>.mp3" from the application's resources. A file that is missing or does not decode
    // as audio leaves the sound silent, for good.
    explicit KestrovaSound(std::string_view name);

    // Plays the sound once and returns at once. A sound still playing is not restarted; a silent
    // sound does nothing.
    void play();

    // No player when the file could not be loaded.
    std::unique_ptr<avfaudio::AudioPlayer> player;

    static KestrovaSound& publish();
    static KestrovaSound& water1();
    static KestrovaSound& water2();
    static KestrovaSound& messageSent();
    static KestrovaSound& messageReceived();
};

}  // namespace kestrova
