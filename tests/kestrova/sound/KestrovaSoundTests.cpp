#include "kestrova/sound/KestrovaSound.hpp"

#include "platform/backends/headless/HeadlessBackend.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace kestrova {
namespace {

using testsupport::MainLoop;

headless::HeadlessAudioOutput& audio() {
    return headless::HeadlessBackend::installed().audioOutput();
}

TEST(KestrovaSoundTest, EveryShippedSoundDecodes) {
    struct Case {
        const char* name;
        KestrovaSound& (*shared)();
    };
    for (const Case& c : {Case{"publish", &KestrovaSound::publish}, Case{"water1", &KestrovaSound::water1},
                          Case{"water2", &KestrovaSound::water2}, Case{"message_sent", &KestrovaSound::messageSent},
                          Case{"message_received", &KestrovaSound::messageReceived}}) {
        const KestrovaSound sound(c.name);
        EXPECT_NE(sound.player, nullptr) << c.name;
        EXPECT_NE(c.shared().player, nullptr) << c.name;
        EXPECT_EQ(&c.shared(), &c.shared()) << c.name << " is made once";
    }
}

TEST(KestrovaSoundTest, ASoundWithoutItsFileIsSilentForGood) {
    KestrovaSound missing("no_such_sound");
    EXPECT_EQ(missing.player, nullptr);
    missing.play();
    EXPECT_EQ(audio().counts("no_such_sound.mp3").playRequests, 0u);
}

TEST(KestrovaSoundTest, ASoundAskedForTwiceInQuickSuccessionPlaysOnceThenAgainOnceItHasEnded) {
    const auto before = audio().counts("message_received.mp3");
    KestrovaSound sound("message_received");
    ASSERT_NE(sound.player, nullptr);
    sound.play();
    sound.play();
    auto now = audio().counts("message_received.mp3");
    EXPECT_EQ(now.playRequests - before.playRequests, 2u);
    EXPECT_EQ(now.playsStarted - before.playsStarted, 1u);

    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !sound.player->isPlaying(); }, std::chrono::seconds(10)));
    sound.play();
    now = audio().counts("message_received.mp3");
    EXPECT_EQ(now.playsStarted - before.playsStarted, 2u);
    MainLoop::iterateUntil([&] { return !sound.player->isPlaying(); }, std::chrono::seconds(10));
}

}  // namespace
}  // namespace kestrova
