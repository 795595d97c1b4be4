#pragma once

#include "platform/kits/avfaudio/AudioPlayback.hpp"

#include <filesystem>
#include <memory>

namespace avfaudio {

// A sound played by a GStreamer playbin. Both backends use it: the desktop plays to the default audio
// output, the headless backend decodes into a sink that discards the samples at the sound's own pace,
// so that a test decodes the real bytes and sees the real length of the sound.
//
// End-of-stream and errors arrive through the default main context: the main loop must run for a
// finished sound to become playable again.
class GStreamerPlayback final : public AudioPlayback {
public:
    enum class Output {
        defaultDevice,
        discard,
    };

    // Decodes the file once, into nothing, before anything is played: a file that is missing, is no
    // media, or holds no audio stream throws AudioPlayerError with the decoder's reason.
    GStreamerPlayback(const std::filesystem::path& file, Output output);
    ~GStreamerPlayback() override;
    GStreamerPlayback(const GStreamerPlayback&) = delete;
    GStreamerPlayback& operator=(const GStreamerPlayback&) = delete;

    bool play() override;
    [[nodiscard]] bool isPlaying() const override;

private:
    struct Pipeline;
    std::shared_ptr<Pipeline> pipeline_;
};

}  // namespace avfaudio
