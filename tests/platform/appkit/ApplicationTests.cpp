#include "platform/appkit/Application.hpp"
#include "platform/appkit/Workspace.hpp"

#include "platform/headless/HeadlessBackend.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

headless::HeadlessBackend& headlessBackend() {
    return headless::HeadlessBackend::installed();
}

TEST(ApplicationTest, ClosingEveryWindowOfTheListClosesThemFrontToBack) {
    headlessBackend().effects().clear();
    headlessBackend().windowService().open("third");
    headlessBackend().windowService().open("second");
    headlessBackend().windowService().open("first");
    const auto windows = appkit::Application::shared().windows();
    for (const auto& window : windows) {
        window->close();
    }
    windows.front()->close();  // a second close of the same window does nothing
    EXPECT_TRUE(appkit::Application::shared().windows().empty());
    EXPECT_EQ(headlessBackend().effects().lines(),
              (std::vector<std::string>{"window closed: first", "window closed: second", "window closed: third"}));
}

TEST(WorkspaceTest, OpenedURLsAreRecordedInOrder) {
    headlessBackend().effects().clear();
    EXPECT_TRUE(appkit::Workspace::shared().open(*foundation::URL::fromString("https://kestrova.example/help")));
    EXPECT_TRUE(appkit::Workspace::shared().open(*foundation::URL::fromString("kestrova:///open?url=x")));
    EXPECT_EQ(headlessBackend().effects().lines(),
              (std::vector<std::string>{"workspace opened: https://kestrova.example/help",
                                        "workspace opened: kestrova:///open?url=x"}));
}

}  // namespace
