#include "platform/kits/avfaudio/AudioPlayer.hpp"

#include "platform/kits/avfaudio/AudioPlayerError.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using testsupport::MainLoop;

// A shipped sound from the source tree: short, real MP3.
const std::filesystem::path sound = KESTROVA_SOURCE_DIR "/resources/sounds/message_sent.mp3";

// A 1-by-1 PNG: media that decodes, but holds no sound.
const std::string onePixelPNG(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01"
    "\x08\x06\x00\x00\x00\x1f\x15\xc4\x89\x00\x00\x00\x0d\x49\x44\x41\x54\x78\x9c\x63\xf8\xcf\xc0"
    "\xf0\x1f\x00\x05\x00\x01\xff\x89\x99\x3d\x1d\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
    70);

headless::HeadlessAudioOutput& audio() {
    return headless::HeadlessBackend::installed().audioOutput();
}

class AudioPlayerTest : public testing::Test {
protected:
    testsupport::ScratchDirectory files_;
};

TEST_F(AudioPlayerTest, FilesThatAreNoSoundAreRejectedWithTheFileNamed) {
    struct Case {
        const char* what;
        std::string name;
        std::optional<std::string> bytes;  // none: no file at all
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"text", "notes.mp3", std::string("These are no samples.\n"), ""},
        {"an empty file", "empty.mp3", std::string(), ""},
        {"a tag and then noise", "noise.mp3", std::string("ID3\x04\0\0\0\0\0\x10", 10) + std::string(600, '\x5a'), ""},
        {"an image", "pixel.png", onePixelPNG, "it holds no sound"},
        {"a missing file", "missing.mp3", std::nullopt, "there is no such file"},
    };
    for (const auto& c : cases) {
        const std::filesystem::path file = files_.path() / c.name;
        if (c.bytes) {
            files_.write(c.name, *c.bytes);
        }
        try {
            avfaudio::AudioPlayer player(foundation::URL::fileURL(file.string()));
            ADD_FAILURE() << c.what << " was taken for a sound";
        } catch (const avfaudio::AudioPlayerError& error) {
            EXPECT_NE(std::string(error.what()).find(c.name), std::string::npos) << c.what << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << c.what << ": " << error.what();
        }
    }
    EXPECT_THROW(avfaudio::AudioPlayer(*foundation::URL::fromString("https://kestrova.example/publish.mp3")),
                 avfaudio::AudioPlayerError);
}

TEST_F(AudioPlayerTest, PlayReturnsAtOnceAndASecondPlayWhilePlayingDoesNotRestart) {
    const auto before = audio().counts("message_sent.mp3");
    avfaudio::AudioPlayer player(foundation::URL::fileURL(sound.string()));
    EXPECT_FALSE(player.isPlaying());

    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(player.play());
    EXPECT_TRUE(player.play());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_TRUE(player.isPlaying());

    // The samples go at the sound's own pace, so the end comes after its length.
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !player.isPlaying(); }, std::chrono::seconds(10)));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));

    EXPECT_TRUE(player.play());
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !player.isPlaying(); }, std::chrono::seconds(10)));

    const auto after = audio().counts("message_sent.mp3");
    EXPECT_EQ(after.opens - before.opens, 1u);
    EXPECT_EQ(after.playRequests - before.playRequests, 3u);
    EXPECT_EQ(after.playsStarted - before.playsStarted, 2u);
}

TEST_F(AudioPlayerTest, APlayerMayGoWhileItPlays) {
    {
        avfaudio::AudioPlayer player(foundation::URL::fileURL(sound.string()));
        player.play();
    }
    // Whatever the pipeline still had to say arrives for nobody.
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(300));
}

}  // namespace
