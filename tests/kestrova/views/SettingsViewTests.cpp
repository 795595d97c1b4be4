#include "kestrova/views/SettingsView.hpp"

#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/ViewHost.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

using testsupport::MainLoop;

constexpr std::array<const char*, 6> settingsKeys = {"token", "statusBarIcon", "statusBarIconMonochrome", "beta", "pageZoom", "soundFX"};

class SettingsViewTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* key : settingsKeys) {
            sharedDefaults().removeObject(key);
        }
        AppState::shared().user = std::nullopt;
        options_.size = {320, 136};
    }
    void TearDown() override { AppState::shared().user = std::nullopt; }

    static User ann() {
        User user;
        user.id = 42;
        user.username = "ann";
        return user;
    }

    static std::vector<std::string> toggles(const ui::LaidOutView& tree) {
        std::vector<std::string> titles;
        for (const auto* toggle : tree.all<ui::node::Toggle>()) {
            titles.push_back(toggle->as<ui::node::Toggle>()->title);
        }
        return titles;
    }

    // The tab that shows, without the other one.
    static const ui::LaidOutView& shownTab(const ui::LaidOutView& tree) {
        const auto* tabs = tree.first<ui::node::TabView>();
        return tabs->children.at(tabs->selection).children.front();
    }

    ui::ViewHost::Options options_;
};

TEST_F(SettingsViewTest, TwoTabsInAFixedFrame) {
    ui::ViewHost host([] { return ui::View(SettingsView()); }, options_);
    const auto& tree = host.laidOut();
    const auto* tabs = tree.first<ui::node::TabView>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->frame.size, (ui::Size{320, 136}));
    ASSERT_EQ(tabs->children.size(), 2U);
    const std::pair<const char*, const char*> labels[] = {{"General", "gear"}, {"Menubar", "menubar.rectangle"}};
    for (std::size_t i = 0; i < 2; ++i) {
        const auto& label = tabs->children[i].children.at(1);
        EXPECT_EQ(label.first<ui::node::Text>()->text(), labels[i].first);
        EXPECT_EQ(label.first<ui::node::Image>()->as<ui::node::Image>()->name, labels[i].second);
    }
}

TEST_F(SettingsViewTest, GeneralShowsTheAccountOnlyWhileSignedIn) {
    ui::ViewHost host([] { return ui::View(SettingsView()); }, options_);
    {
        const auto& general = shownTab(host.laidOut());
        EXPECT_EQ(toggles(general), (std::vector<std::string>{"Sound FX", "Beta"}));
        EXPECT_EQ(general.first<ui::node::Button>(), nullptr);
        const auto texts = general.all<ui::node::Text>();
        ASSERT_EQ(texts.size(), 1U);
        EXPECT_EQ(texts[0]->text(), "Enable 'Beta' to use an experimental version with new features.");
    }

    AppState::shared().user = ann();
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return shownTab(host.laidOut()).first<ui::node::Button>() != nullptr; }));
    const auto& general = shownTab(host.laidOut());
    const auto* row = general.first<ui::node::Stack>()->children.front().as<ui::node::Stack>() ? &general.first<ui::node::Stack>()->children.front() : nullptr;
    ASSERT_NE(row, nullptr);
    const auto* account = row->first<ui::node::Text>();
    ASSERT_NE(account, nullptr);
    const auto& runs = account->as<ui::node::Text>()->runs;
    ASSERT_EQ(runs.size(), 2U);
    EXPECT_EQ(runs[0].text, "Signed in as ");
    EXPECT_FALSE(runs[0].weight.has_value());
    EXPECT_EQ(runs[1].text, "@ann");
    EXPECT_EQ(runs[1].weight, ui::Font::Weight::bold);
    // The button comes last in the row, after the text.
    const auto* logout = row->first<ui::node::Button>();
    ASSERT_NE(logout, nullptr);
    EXPECT_GE(logout->frame.minX(), account->frame.maxX());
    EXPECT_EQ(logout->first<ui::node::Text>()->text(), "Logout");
    EXPECT_EQ(toggles(general), (std::vector<std::string>{"Sound FX", "Beta"}));

    AppState::shared().user = std::nullopt;
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return shownTab(host.laidOut()).first<ui::node::Button>() == nullptr; }));
}

TEST_F(SettingsViewTest, AFreshInstallationShowsTheDefaults) {
    ui::ViewHost host([] { return ui::View(SettingsView()); }, options_);
    const auto isOn = [&host](const std::string& title) {
        for (const auto* toggle : host.laidOut().all<ui::node::Toggle>()) {
            if (toggle->as<ui::node::Toggle>()->title == title) {
                return toggle->as<ui::node::Toggle>()->get();
            }
        }
        ADD_FAILURE() << "no toggle " << title;
        return false;
    };
    EXPECT_TRUE(isOn("Sound FX"));
    EXPECT_FALSE(isOn("Beta"));
    EXPECT_FALSE(isOn("Show Icon in Menubar"));
    EXPECT_TRUE(isOn("Monochrome Icon"));
}

TEST_F(SettingsViewTest, TogglesWriteTheSettingsAndMonochromeWaitsForTheIcon) {
    ui::ViewHost host([] { return ui::View(SettingsView()); }, options_);
    EXPECT_TRUE(host.flipToggle("Sound FX"));
    EXPECT_FALSE(AppState::shared().soundFX.get());
    EXPECT_EQ(sharedDefaults().boolean("soundFX"), false);
    EXPECT_TRUE(host.flipToggle("Beta"));
    EXPECT_TRUE(sharedDefaults().boolean("beta"));

    host.selectTab(host.laidOut().first<ui::node::TabView>()->identity, 1);
    const auto monochrome = [&host] {
        for (const auto* toggle : shownTab(host.laidOut()).all<ui::node::Toggle>()) {
            if (toggle->as<ui::node::Toggle>()->title == "Monochrome Icon") {
                return toggle;
            }
        }
        return static_cast<const ui::LaidOutView*>(nullptr);
    };
    ASSERT_NE(monochrome(), nullptr);
    EXPECT_FALSE(monochrome()->environment->isEnabled);
    EXPECT_FALSE(host.flipToggle("Monochrome Icon"));
    EXPECT_TRUE(AppState::shared().statusBarIconMonochrome.get());
    EXPECT_FALSE(sharedDefaults().object("statusBarIconMonochrome").has_value());

    EXPECT_TRUE(host.flipToggle("Show Icon in Menubar"));
    EXPECT_TRUE(sharedDefaults().boolean("statusBarIcon"));
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return monochrome()->environment->isEnabled; }));
    EXPECT_TRUE(host.flipToggle("Monochrome Icon"));
    EXPECT_FALSE(AppState::shared().statusBarIconMonochrome.get());
}

TEST_F(SettingsViewTest, LogoutSignsOut) {
    AppState::shared().user = ann();
    ui::ViewHost host([] { return ui::View(SettingsView()); }, options_);
    EXPECT_TRUE(host.pressButton("Logout"));
    ASSERT_TRUE(MainLoop::iterateUntil([] { return !AppState::shared().user.get().has_value(); }));
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return host.laidOut().first<ui::node::Button>() == nullptr; }));
}

}  // namespace
}  // namespace kestrova
