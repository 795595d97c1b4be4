#pragma once

#include <stdexcept>
#include <string>

namespace avfaudio {

// Why a file could not become a player: it is missing, or it does not decode as audio. The message
// names the file and the decoder's cause.
class AudioPlayerError : public std::runtime_error {
public:
    explicit AudioPlayerError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace avfaudio
