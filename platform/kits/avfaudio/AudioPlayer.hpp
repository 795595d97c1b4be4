#pragma once

#include "platform/kits/avfaudio/AudioPlayback.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <memory>

namespace avfaudio {

// A sound file made ready to play through the installed backend. Made and played on the main thread.
class AudioPlayer {
public:
    // Opens the file that the file URL names and decodes it. Throws AudioPlayerError when the URL is
    // no file URL, the file is missing, or it does not decode as audio.
    explicit AudioPlayer(const foundation::URL& url);
    ~AudioPlayer();
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    // Plays the sound once, at full volume, and returns at once. Asking a player that is still
    // playing to play again neither restarts nor doubles it; once the sound has ended, play() starts
    // it from the beginning again. True when the sound is playing on return.
    bool play();
    [[nodiscard]] bool isPlaying() const;

    [[nodiscard]] const foundation::URL& url() const noexcept { return url_; }

private:
    foundation::URL url_;
    std::unique_ptr<AudioPlayback> playback_;
};

}  // namespace avfaudio
