#pragma once

namespace avfaudio {

// One decoded sound of the installed backend, ready to play. Its methods are called on the main
// thread.
class AudioPlayback {
public:
    virtual ~AudioPlayback() = default;

    // Starts playing from the beginning and returns at once: true when it started now, false when it
    // was playing already (it is not restarted then).
    virtual bool play() = 0;
    [[nodiscard]] virtual bool isPlaying() const = 0;

protected:
    AudioPlayback() = default;
};

}  // namespace avfaudio
