#pragma once

#include "platform/kits/avfaudio/AudioOutput.hpp"
#include "platform/backends/headless/HeadlessEffects.hpp"

#include <cstddef>
#include <map>
#include <mutex>
#include <string>

namespace headless {

// Decodes for real, with GStreamer, into a sink that drops the samples at the sound's own pace, and
// counts per file what was opened, asked to play and actually started.
class HeadlessAudioOutput final : public avfaudio::AudioOutput {
public:
    explicit HeadlessAudioOutput(HeadlessEffects& effects) : effects_(effects) {}

    std::unique_ptr<avfaudio::AudioPlayback> open(const std::filesystem::path& file) override;

    struct Counts {
        std::size_t opens = 0;         // every attempt, also of files that do not decode
        std::size_t playRequests = 0;  // every play()
        std::size_t playsStarted = 0;  // play() calls that started the sound
    };
    // By file name ("publish.mp3").
    [[nodiscard]] Counts counts(const std::string& fileName) const;
    [[nodiscard]] std::size_t totalOpens() const;

private:
    friend class RecordingPlayback;
    void countPlay(const std::string& fileName, bool started);

    HeadlessEffects& effects_;
    mutable std::mutex mutex_;
    std::map<std::string, Counts> counts_;
};

}  // namespace headless
