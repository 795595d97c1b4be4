#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/kits/avfaudio/AudioPlayback.hpp"

#include <filesystem>
#include <memory>
#include <string_view>

namespace avfaudio {

// What the installed backend plays sounds through.
class AudioOutput : public base::Installable<AudioOutput> {
public:
    static constexpr std::string_view serviceName = "avfaudio::AudioOutput";

    virtual ~AudioOutput() = default;

    // Opens and decodes the file. Throws AudioPlayerError when it is missing or is no audio.
    virtual std::unique_ptr<AudioPlayback> open(const std::filesystem::path& file) = 0;

protected:
    AudioOutput() = default;
};

}  // namespace avfaudio
