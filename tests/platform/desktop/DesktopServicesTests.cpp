#include "platform/avfaudio/AudioPlayerError.hpp"
#include "platform/desktop/DesktopApplicationService.hpp"
#include "platform/desktop/DesktopAudioOutput.hpp"
#include "platform/desktop/DesktopWindowRealizer.hpp"
#include "platform/desktop/DesktopWorkspaceService.hpp"
#include "platform/desktop/NetworkMonitorPathService.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using network::Path;

// The desktop's services that need no display: the machine's real network, the default audio output
// (nothing is played here) and GIO's URL handlers.

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
    desktop::DesktopApplicationService application(realizer);
    desktop::DesktopWorkspaceService workspace(application, {});
    EXPECT_FALSE(workspace.open(*foundation::URL::fromString("x-kestrova-test-unhandled:page")));
}

}  // namespace
