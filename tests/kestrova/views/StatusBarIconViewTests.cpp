#include "kestrova/views/StatusBarIconView.hpp"

#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/core/DateFormatter.hpp"
#include "platform/kits/ui/Image.hpp"
#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Renderer.hpp"
#include "platform/kits/ui/ViewHost.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace kestrova {
namespace {

using testsupport::MainLoop;

std::string today() {
    foundation::DateFormatter formatter;
    formatter.setDateFormat("yyyy-MM-dd");
    return formatter.string(foundation::Date::now());
}

Journal journal(std::int64_t id, bool due, bool doneToday) {
    Journal made;
    made.id = id;
    made.title = "Journal " + std::to_string(id);
    made.isDue = due;
    if (doneToday) {
        made.streakDate = foundation::Text(today());
    }
    return made;
}

User signedIn(std::optional<std::vector<Journal>> journals, std::optional<std::int64_t> entriesToday = std::nullopt) {
    User user;
    user.id = 1;
    user.username = "ann";
    user.journals = std::move(journals);
    user.numberOfEntriesToday = entriesToday;
    return user;
}

class StatusBarIconViewTest : public testing::Test {
protected:
    void SetUp() override {
        AppState::shared().user = std::nullopt;
        sharedDefaults().removeObject("statusBarIconMonochrome");
    }
    void TearDown() override { AppState::shared().user = std::nullopt; }

    static StatusBarIconView view(double size = 22) {
        return StatusBarIconView(size, AppState::shared().statusBarIconMonochrome.binding());
    }
};

TEST_F(StatusBarIconViewTest, ProgressIsTheShareOfDueJournalsDoneTodayInTheDocumentedOrder) {
    struct Case {
        const char* name;
        std::optional<User> user;
        double expected;
    };
    const std::vector<Case> cases = {
        {"nobody signed in", std::nullopt, 1.0},
        {"no journals list", signedIn(std::nullopt), 1.0},
        {"none done", signedIn(std::vector<Journal>{journal(1, true, false), journal(2, true, false)}), 0.0},
        {"an empty list", signedIn(std::vector<Journal>{}), 0.0},
        {"one of three", signedIn(std::vector<Journal>{journal(1, true, true), journal(2, true, false), journal(3, true, false)}),
         100.0 / 3.0 * 1.0 / 100.0},
        {"done but not due does not count", signedIn(std::vector<Journal>{journal(1, false, true), journal(2, true, false)}), 0.0},
        {"all done", signedIn(std::vector<Journal>{journal(1, true, true), journal(2, true, true)}), 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppState::shared().user = c.user;
        EXPECT_EQ(view().progress(), c.expected);
    }
    // The order of the arithmetic shows in the last bit: it is not one third.
    EXPECT_NE(100.0 / 3.0 * 1.0 / 100.0, 1.0 / 3.0);
    EXPECT_NEAR(100.0 / 3.0 * 1.0 / 100.0, 0.3333, 1e-4);
}

TEST_F(StatusBarIconViewTest, SignedOutItIsTheApplicationIconAtTheFullSquare) {
    const auto options = ui::Renderer::Options::atScale(2);
    for (const bool monochrome : {true, false}) {
        AppState::shared().statusBarIconMonochrome = monochrome;
        ui::LayoutEngine engine;
        const auto tree = engine.layout(view(), {22, 22});
        const auto* image = tree.first<ui::node::Image>();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->frame, (ui::Rect{{0, 0}, {22, 22}}));
        EXPECT_EQ(image->as<ui::node::Image>()->name, "AppIcon");
        EXPECT_EQ(tree.first<ui::node::ShapeView>(), nullptr);

        const auto drawn = ui::Renderer::render(view(), {22, 22}, options);
        const auto icon = ui::Renderer::render(ui::Image::bundleResource("AppIcon").resizable().view().frame(22, 22), {22, 22}, options);
        EXPECT_EQ(drawn.pixel(22, 6), icon.pixel(22, 6));
        EXPECT_EQ(drawn.pixel(22, 22), icon.pixel(22, 22));
        EXPECT_GT(drawn.pixel(22, 22).alpha, 200);
    }
}

TEST_F(StatusBarIconViewTest, SignedInItIsARingInTheDailyColourOrInBlack) {
    struct Case {
        bool monochrome;
        ui::RGBA color;
        const char* identity;
    };
    const ui::RGBA daily = ui::Color("Daily").resolve(ui::ColorScheme::light);
    ASSERT_EQ(daily.alpha, 1.0);
    const Case cases[] = {{true, {0, 0, 0, 1}, "black"}, {false, daily, "Daily"}};
    AppState::shared().user = signedIn(std::nullopt, 5);  // no list: a full ring
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identity);
        AppState::shared().statusBarIconMonochrome = c.monochrome;
        ui::LayoutEngine engine;
        const auto tree = engine.layout(view(100), {100, 100});
        const auto* identity = tree.first<ui::node::Identity>();
        ASSERT_NE(identity, nullptr);
        EXPECT_EQ(identity->as<ui::node::Identity>()->id, c.identity);
        // Padded by 3 on every edge.
        const auto shapes = tree.all<ui::node::ShapeView>();
        ASSERT_EQ(shapes.size(), 2U);
        EXPECT_EQ(shapes[1]->frame, (ui::Rect{{3, 3}, {94, 94}}));
        EXPECT_EQ(tree.first<ui::node::Text>()->text(), "5");

        const auto bitmap = ui::Renderer::render(view(100), {100, 100});
        for (const auto& [x, y] : {std::pair{96, 50}, std::pair{50, 96}, std::pair{4, 50}, std::pair{50, 4}}) {
            const auto pixel = bitmap.pixel(x, y);
            EXPECT_NEAR(pixel.red, c.color.red * 255, 3) << x << ',' << y;
            EXPECT_NEAR(pixel.green, c.color.green * 255, 3) << x << ',' << y;
            EXPECT_NEAR(pixel.blue, c.color.blue * 255, 3) << x << ',' << y;
            EXPECT_GT(pixel.alpha, 240);
        }
    }
    // Without today's count the centre shows 0.
    AppState::shared().user = signedIn(std::nullopt);
    ui::LayoutEngine engine;
    EXPECT_EQ(engine.layout(view(), {22, 22}).first<ui::node::Text>()->text(), "0");
}

TEST_F(StatusBarIconViewTest, RedrawsWhenTheApplicationStateChanges) {
    ui::ViewHost::Options options;
    options.size = {22, 22};
    int updates = 0;
    ui::ViewHost host([] { return ui::View(view()); }, options);
    host.onUpdate([&updates] { ++updates; });
    EXPECT_NE(host.laidOut().first<ui::node::Image>(), nullptr);
    AppState::shared().user = signedIn(std::vector<Journal>{journal(1, true, true), journal(2, true, false)}, 2);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return host.laidOut().first<ui::node::Text>() != nullptr; }));
    EXPECT_EQ(host.laidOut().first<ui::node::Text>()->text(), "2");
    EXPECT_DOUBLE_EQ(host.laidOut().all<ui::node::ShapeView>().at(1)->trimTo, 0.5);

    // Toggling the monochrome setting makes a new ring at once: a new identity, no animation.
    const std::string before = host.laidOut().first<ui::node::Identity>()->identity;
    AppState::shared().statusBarIconMonochrome = !AppState::shared().statusBarIconMonochrome.get();
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return host.laidOut().first<ui::node::Identity>()->identity != before; }));
    EXPECT_FALSE(host.isAnimating());
    EXPECT_GE(updates, 2);
}

}  // namespace
}  // namespace kestrova
