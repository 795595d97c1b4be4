#pragma once

#include "platform/kits/avfaudio/AudioOutput.hpp"
#include "platform/kits/avfaudio/GStreamerPlayback.hpp"

namespace desktop {

// Plays through GStreamer to the desktop's default audio output.
class DesktopAudioOutput final : public avfaudio::AudioOutput {
public:
    std::unique_ptr<avfaudio::AudioPlayback> open(const std::filesystem::path& file) override {
        return std::make_unique<avfaudio::GStreamerPlayback>(file, avfaudio::GStreamerPlayback::Output::defaultDevice);
    }
};

}  // namespace desktop
