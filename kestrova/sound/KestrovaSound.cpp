#include "kestrova/sound/KestrovaSound.hpp"

#include "platform/kits/avfaudio/AudioPlayerError.hpp"
#include "platform/runtime/foundation/core/Bundle.hpp"

namespace kestrova {

KestrovaSound::KestrovaSound(std::string_view name) {
    const auto url = foundation::Bundle::main().urlForResource(name, "mp3");
    if (!url) {
        // A packaging fault; the sound stays silent as an undecodable one would.
        return;
    }
    try {
        player = std::make_unique<avfaudio::AudioPlayer>(*url);
    } catch (const avfaudio::AudioPlayerError&) {
        // Silent from now on; a player that failed is not tried again.
    }
}

void KestrovaSound::play() {
    if (player) {
        player->play();
    }
}

// Each made on first use; never destroyed, so a sound playing at exit has a player to the end.
KestrovaSound& KestrovaSound::publish() {
    static KestrovaSound* const sound = new KestrovaSound("publish");
    return *sound;
}

KestrovaSound& KestrovaSound::water1() {
    static KestrovaSound* const sound = new KestrovaSound("water1");
    return *sound;
}

KestrovaSound& KestrovaSound::water2() {
    static KestrovaSound* const sound = new KestrovaSound("water2");
    return *sound;
}

KestrovaSound& KestrovaSound::messageSent() {
    static KestrovaSound* const sound = new KestrovaSound("message_sent");
    return *sound;
}

KestrovaSound& KestrovaSound::messageReceived() {
    static KestrovaSound* const sound = new KestrovaSound("message_received");
    return *sound;
}

}  // namespace kestrova
