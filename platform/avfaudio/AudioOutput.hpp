#pragma once

#include "platform/avfaudio/AudioPlayback.hpp"

#include <filesystem>
#include <memory>

namespace avfaudio {

// What the installed backend plays sounds through.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Opens and decodes the file. Throws AudioPlayerError when it is missing or is no audio.
    virtual std::unique_ptr<AudioPlayback> open(const std::filesystem::path& file) = 0;

protected:
    AudioOutput() = default;
};

}  // namespace avfaudio
