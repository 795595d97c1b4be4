#include "platform/kits/appkit/Application.hpp"
#include "platform/kits/appkit/Menu.hpp"
#include "platform/kits/appkit/Workspace.hpp"

#include "platform/backends/headless/HeadlessBackend.hpp"

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

namespace {

TEST(ApplicationTest, TheDockMenuFollowsItsRebuildsAndAChosenItemReachesItsActionWithItsTag) {
    std::vector<long> chosen;
    auto menu = std::make_shared<appkit::Menu>("Journals");
    appkit::Application::shared().setDockMenu(menu);
    const auto& offered = headless::HeadlessBackend::installed().dockService().menu();
    ASSERT_EQ(offered, menu);
    auto item = std::make_shared<appkit::MenuItem>(
        "Runs", [&](appkit::MenuItem& sender) { chosen.push_back(sender.tag()); }, "");
    item->setTag(9);
    menu->addItem(item);
    offered->itemWithTag(9)->performAction();
    item->setEnabled(false);  // a disabled item cannot be chosen
    item->performAction();
    menu->removeAllItems();
    EXPECT_EQ(offered->itemWithTag(9), nullptr);
    EXPECT_EQ(chosen, std::vector<long>{9});
    appkit::Application::shared().setDockMenu(nullptr);
}

}  // namespace
