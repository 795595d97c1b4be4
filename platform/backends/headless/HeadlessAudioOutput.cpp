#include "platform/backends/headless/HeadlessAudioOutput.hpp"

#include "platform/kits/avfaudio/GStreamerPlayback.hpp"

namespace headless {

class RecordingPlayback final : public avfaudio::AudioPlayback {
public:
    RecordingPlayback(HeadlessAudioOutput& output, std::string fileName,
                      std::unique_ptr<avfaudio::GStreamerPlayback> playback)
        : output_(output), fileName_(std::move(fileName)), playback_(std::move(playback)) {}

    bool play() override {
        const bool started = playback_->play();
        output_.countPlay(fileName_, started);
        return started;
    }

    [[nodiscard]] bool isPlaying() const override { return playback_->isPlaying(); }

private:
    HeadlessAudioOutput& output_;
    std::string fileName_;
    std::unique_ptr<avfaudio::GStreamerPlayback> playback_;
};

std::unique_ptr<avfaudio::AudioPlayback> HeadlessAudioOutput::open(const std::filesystem::path& file) {
    const std::string fileName = file.filename().string();
    {
        const std::lock_guard lock(mutex_);
        ++counts_[fileName].opens;
    }
    effects_.record("sound opened: " + fileName);
    return std::make_unique<RecordingPlayback>(
        *this, fileName,
        std::make_unique<avfaudio::GStreamerPlayback>(file, avfaudio::GStreamerPlayback::Output::discard));
}

void HeadlessAudioOutput::countPlay(const std::string& fileName, bool started) {
    {
        const std::lock_guard lock(mutex_);
        Counts& counts = counts_[fileName];
        ++counts.playRequests;
        if (started) {
            ++counts.playsStarted;
        }
    }
    if (started) {
        effects_.record("sound started: " + fileName);
    }
}

HeadlessAudioOutput::Counts HeadlessAudioOutput::counts(const std::string& fileName) const {
    const std::lock_guard lock(mutex_);
    const auto found = counts_.find(fileName);
    return found == counts_.end() ? Counts{} : found->second;
}

std::size_t HeadlessAudioOutput::totalOpens() const {
    const std::lock_guard lock(mutex_);
    std::size_t total = 0;
    for (const auto& [name, counts] : counts_) {
        total += counts.opens;
    }
    return total;
}

}  // namespace headless
