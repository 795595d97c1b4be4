// The kestrova program started as a runner of its actions starts it, with --gapplication-service,
// on a display and a session bus of their own: it answers on the bus without opening a window or
// doing anything of a launch, and ends once it has been idle.
#include "platform/backends/desktop/DesktopApplication.hpp"
#include "platform/backends/desktop/DesktopIntentClient.hpp"
#include "tests/support/MappedWindows.hpp"
#include "tests/support/SessionProgram.hpp"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(KestrovaServiceTest, StartsWithoutAWindowForItsActionsAndEndsWhenIdle) {
    testsupport::MappedWindows windows;
    ASSERT_FALSE(testsupport::ownerOf(KESTROVA_APPLICATION_ID));
    desktop::DesktopIntentClient client(KESTROVA_APPLICATION_ID, KESTROVA_PROGRAM);
    for (const auto& intent : client.intents()) {
        EXPECT_FALSE(intent.metadata.title.empty());
    }
    const auto served = testsupport::ownerOf(KESTROVA_APPLICATION_ID);
    ASSERT_TRUE(served);
    const auto bound = std::chrono::milliseconds(desktop::DesktopApplication::serviceIdleBoundMilliseconds) + 60s;
    EXPECT_TRUE(testsupport::waitUntilUnowned(KESTROVA_APPLICATION_ID, bound));
    EXPECT_TRUE(testsupport::waitForEnd(*served, bound));
    EXPECT_FALSE(windows.anyMapped());
}

}  // namespace
