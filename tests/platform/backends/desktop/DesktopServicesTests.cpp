#include "platform/kits/avfaudio/AudioPlayerError.hpp"
#include "platform/backends/desktop/DesktopApplicationService.hpp"
#include "platform/backends/desktop/DesktopIntentService.hpp"
#include "platform/backends/desktop/DesktopAudioOutput.hpp"
#include "platform/backends/desktop/DesktopWindowRealizer.hpp"
#include "platform/backends/desktop/DesktopWorkspaceService.hpp"
#include "platform/backends/desktop/NetworkMonitorPathService.hpp"
#include "platform/backends/desktop/WindowCascade.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using network::Path;

// The desktop's services that need no display: the machine's real network, the default audio output
// (nothing is played here), GIO's URL handlers, and where a new window goes.

TEST(NetworkMonitorPathServiceTest, TheMachinesNetworkIsReportedAtOnceOnSubscribing) {
    desktop::NetworkMonitorPathService service;
    std::vector<Path> heard;
    auto subscription = service.subscribe([&](const Path& path) { heard.push_back(path); });
    EXPECT_EQ(heard.size(), 1u);
    subscription.cancel();
}

TEST(DesktopAudioOutputTest, OpensAShippedSoundAndRejectsWhatIsNone) {
    desktop::DesktopAudioOutput output;
    const auto playback = output.open(KESTROVA_SOURCE_DIR "/resources/sounds/publish.mp3");
    EXPECT_FALSE(playback->isPlaying());
    const testsupport::ScratchDirectory files;
    EXPECT_THROW(output.open(files.write("notes.mp3", "no samples")), avfaudio::AudioPlayerError);
}

TEST(DesktopWorkspaceServiceTest, AURLWhoseSchemeNoApplicationHandlesIsNotOpened) {
    desktop::DesktopWindowRealizer realizer;
    desktop::DesktopIntentService intents;
    desktop::DesktopApplicationService application(realizer, intents);
    desktop::DesktopWorkspaceService workspace(application, {});
    EXPECT_FALSE(workspace.open(*foundation::URL::fromString("x-kestrova-test-unhandled:page")));
}

TEST(WindowCascadeTest, ANewWindowStepsDownAndRightOfTheKeyWindowAndStartsAgainAtAnEdgeItWouldCross) {
    using Position = desktop::WindowCascade::Position;
    // A work area below a panel 30 pixels high.
    const desktop::WindowCascade::Frame workArea{0, 30, 1280, 994};
    const struct {
        Position key;
        Position expected;
    } cases[] = {
        {{100, 80}, {146, 126}},
        {{400, 80}, {446, 126}},  // its right edge lands on the area's
        {{401, 80}, {0, 126}},    // it would cross the right edge
        {{100, 148}, {146, 194}},  // its bottom edge lands on the area's
        {{100, 149}, {146, 30}},  // it would cross the bottom edge
        {{600, 200}, {0, 30}},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(desktop::WindowCascade::after(each.key, 46, 834, 830, workArea), each.expected) << each.key.x << "," << each.key.y;
    }
}

}  // namespace
