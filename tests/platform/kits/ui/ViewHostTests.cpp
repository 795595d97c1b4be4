#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/combine/Published.hpp"
#include "platform/kits/ui/Controls.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "platform/backends/headless/HeadlessWindowRealizer.hpp"
#include "platform/kits/ui/ViewHost.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ui {
namespace {

using testsupport::MainLoop;

class Counter final : public combine::ObservableObject {
public:
    combine::Published<int> count{*this, 0};
    combine::Published<bool> flag{*this, false};
};

ViewHost::Options sized(Size size, std::function<double()> clock = {}) {
    ViewHost::Options options;
    options.size = size;
    options.clock = std::move(clock);
    return options;
}

std::string shownText(const ViewHost& host) {
    const auto* text = host.laidOut().first<node::Text>();
    return text == nullptr ? std::string() : text->text();
}

TEST(ViewHost, ReevaluatesOnceAfterAnObservedObjectChanges) {
    auto counter = std::make_shared<Counter>();
    int evaluations = 0;
    ViewHost host(
        [&] {
            ++evaluations;
            return Text(LocalizedStringKey("%lld", {std::int64_t{counter->count.get()}})).view().observing(counter);
        },
        sized({100, 40}));
    EXPECT_EQ(shownText(host), "0");
    counter->count = 1;
    counter->count = 2;
    // The change is announced before it is made: the view follows on a later turn, once for both.
    EXPECT_EQ(shownText(host), "0");
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return shownText(host) == "2"; }));
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(20));
    EXPECT_EQ(evaluations, 2);
}

TEST(ViewHost, TellsViewsWhenTheyComeAndWhenTheyLeave) {
    std::vector<std::string> events;
    bool second = false;
    const auto tracked = [&events](const std::string& name) {
        return Text::verbatim(name).view().onAppear([&events, name] { events.push_back("appear " + name); }).onDisappear([&events, name] {
            events.push_back("disappear " + name);
        });
    };
    {
        ViewHost host([&] { return VStack({second ? tracked("b").id("b") : tracked("a").id("a")}); }, sized({100, 40}));
        EXPECT_EQ(events, (std::vector<std::string>{"appear a"}));
        host.update();
        EXPECT_EQ(events.size(), 1U);
        second = true;
        host.update();
        EXPECT_EQ(events, (std::vector<std::string>{"appear a", "disappear a", "appear b"}));
    }
    EXPECT_EQ(events.back(), "disappear b");
}

TEST(ViewHost, OpacityTransitionsFadeViewsInAndOut) {
    double clock = 0;
    bool loading = true;
    const Transition fade = Transition::opacity().withAnimation(Animation::standard());
    ViewHost host(
        [&] {
            return ZStack({ColorView(Color::black()),
                           loading ? Text("Loading...").view().transition(fade) : EmptyView()});
        },
        sized({100, 40}, [&] { return clock; }));
    const auto textOpacity = [&host]() -> std::optional<double> {
        const auto tree = host.presentation();
        const auto marked = tree.all<node::TransitionMarker>();
        if (marked.empty()) {
            return std::nullopt;
        }
        return marked.front()->opacity;
    };
    EXPECT_EQ(textOpacity(), 1.0);  // there from the start: no fade

    loading = false;
    host.update();
    EXPECT_TRUE(host.isAnimating());
    EXPECT_EQ(textOpacity(), 1.0);
    clock += Animation::standard().duration() / 2;
    EXPECT_NEAR(textOpacity().value_or(-1), 0.5, 1e-9);
    clock += Animation::standard().duration();
    EXPECT_EQ(textOpacity(), std::nullopt);

    loading = true;
    host.update();
    EXPECT_EQ(textOpacity(), 0.0);
    clock += Animation::standard().duration() / 2;
    EXPECT_NEAR(textOpacity().value_or(-1), 0.5, 1e-9);
    clock += Animation::standard().duration();
    EXPECT_EQ(textOpacity(), 1.0);
    EXPECT_FALSE(host.isAnimating());
}

TEST(ViewHost, ControlsActThroughTheirBindingsUnlessDisabled) {
    auto counter = std::make_shared<Counter>();
    int pressed = 0;
    bool enabled = true;
    const Binding<bool> flag([counter] { return counter->flag.get(); }, [counter](bool value) { counter->flag = value; });
    ViewHost host(
        [&] {
            return VStack({Toggle("Sound FX", flag).disabled(!enabled), Button("Logout", [&pressed] { ++pressed; })})
                .observing(counter);
        },
        sized({200, 100}));
    EXPECT_TRUE(host.flipToggle("Sound FX"));
    EXPECT_TRUE(counter->flag.get());
    EXPECT_TRUE(host.pressButton("Logout"));
    EXPECT_EQ(pressed, 1);
    EXPECT_FALSE(host.flipToggle("Beta"));
    enabled = false;
    host.update();
    EXPECT_FALSE(host.flipToggle("Sound FX"));
    EXPECT_TRUE(counter->flag.get());
}

TEST(ViewHost, OnlyTheSelectedTabIsOnScreen) {
    std::vector<std::string> events;
    const auto tab = [&events](const std::string& name) {
        return Text::verbatim(name).view().onAppear([&events, name] { events.push_back(name); }).tabItem(Label(name, "gear"));
    };
    ViewHost host([&] { return TabView({tab("General"), tab("Menubar")}).frame(320, 136); }, sized({320, 136}));
    EXPECT_EQ(events, (std::vector<std::string>{"General"}));
    const auto* tabs = host.laidOut().first<node::TabView>();
    ASSERT_NE(tabs, nullptr);
    host.selectTab(tabs->identity, 1);
    EXPECT_EQ(events, (std::vector<std::string>{"General", "Menubar"}));
    EXPECT_EQ(host.laidOut().first<node::TabView>()->selection, 1U);
}

TEST(ViewHost, CollectsTheFocusedValuesOfTheShownViewsTheFirstOfAKeyWinning) {
    bool second = false;
    const auto tab = [](const std::string& name, const std::string& value) {
        return Text::verbatim(name).view().focusedSceneValue("tab", value).tabItem(Label(name, "gear"));
    };
    ViewHost host(
        [&] {
            return VStack({Text("a").view().focusedSceneValue("key", std::string("outer")),
                           second ? Text("b").view().focusedSceneValue("other", 2) : EmptyView(),
                           Text("c").view().focusedSceneValue("key", std::string("later")),
                           TabView({tab("General", "general"), tab("Menubar", "menubar")}).frame(320, 136)});
        },
        sized({320, 300}));
    auto values = host.focusedValues();
    EXPECT_EQ(values.size(), 2U);
    EXPECT_EQ(std::any_cast<std::string>(values.at("key")), "outer");
    EXPECT_EQ(std::any_cast<std::string>(values.at("tab")), "general");

    // The values follow the tree as it is now; a hidden tab offers nothing.
    second = true;
    host.selectTab(host.laidOut().first<node::TabView>()->identity, 1);
    values = host.focusedValues();
    EXPECT_EQ(std::any_cast<int>(values.at("other")), 2);
    EXPECT_EQ(std::any_cast<std::string>(values.at("tab")), "menubar");
}

}  // namespace
}  // namespace ui

namespace ui {
namespace {

TEST(HeadlessWindows, OpenShowAndCloseTheirViews) {
    auto& realizer = static_cast<headless::HeadlessWindowRealizer&>(ui::WindowRealizer::installed());
    std::vector<std::string> events;
    auto window = realizer.open({"Settings", {320, 136}, false}, [&events] {
        return Text("General").view().onAppear([&events] { events.emplace_back("appear"); }).onDisappear([&events] {
            events.emplace_back("disappear");
        });
    });
    EXPECT_TRUE(window->isOpen());
    EXPECT_EQ(window->host().size(), (Size{320, 136}));
    EXPECT_EQ(realizer.windows().size(), 1U);
    EXPECT_EQ(events, (std::vector<std::string>{"appear"}));
    const auto bitmap = window->host().render(2);
    EXPECT_EQ(bitmap.width(), 640);
    window->close();
    EXPECT_FALSE(window->isOpen());
    EXPECT_TRUE(realizer.windows().empty());
    EXPECT_EQ(events, (std::vector<std::string>{"appear", "disappear"}));
}

}  // namespace
}  // namespace ui
