#include "platform/kits/avfaudio/AudioPlayer.hpp"

#include "platform/kits/avfaudio/AudioOutput.hpp"
#include "platform/kits/avfaudio/AudioPlayerError.hpp"

namespace avfaudio {

AudioPlayer::AudioPlayer(const foundation::URL& url) : url_(url) {
    if (!url.isFileURL()) {
        throw AudioPlayerError("cannot play " + url.absoluteString() + ": only files can be played");
    }
    playback_ = AudioOutput::installed().open(url.path());
}

AudioPlayer::~AudioPlayer() = default;

bool AudioPlayer::play() {
    playback_->play();
    return playback_->isPlaying();
}

bool AudioPlayer::isPlaying() const {
    return playback_->isPlaying();
}

}  // namespace avfaudio
