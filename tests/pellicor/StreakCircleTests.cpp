#include "pellicor/DailyCircle.hpp"
#include "pellicor/JournalRow.hpp"
#include "pellicor/WidgetColors.hpp"
#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Node.hpp"
#include "tests/pellicor/JournalTestData.hpp"
#include "tests/pellicor/WidgetPictures.hpp"

#include <gtest/gtest.h>

#include <string>

namespace pellicor {
namespace {

using testing::at;
using testing::countIn;
using testing::isSolid;

const ui::Size space{32, 32};  // the 24-point circle centred, its badge reaching 6 points beyond
const ui::Rect inside{{10, 10}, {12, 12}};  // where the mark draws, clear of the ring
const ui::Point ringTop{16, 4};
const ui::Point badgeOnly{27, 27};  // inside the clock badge, outside the ring

DailyCircle circle(bool postedToday, bool isStreakActive, std::int64_t streak, bool shouldDisplayStreak, bool isScheduled) {
    return DailyCircle{streak, postedToday, isStreakActive, false, isScheduled, shouldDisplayStreak, 24, 10, 2};
}

enum class Mark { number, none, checkmark };

// What the circle shows in its middle, read from the laid-out tree.
Mark markOf(const DailyCircle& view, std::string& number) {
    ui::LayoutEngine engine;
    const auto tree = engine.layout(view, space);
    for (const auto* image : tree.all<ui::node::Image>()) {
        if (image->as<ui::node::Image>()->name == "checkmark") {
            return Mark::checkmark;
        }
    }
    const auto* text = tree.first<ui::node::Text>();
    number = text != nullptr ? text->text() : std::string();
    return number.empty() ? Mark::none : Mark::number;
}

TEST(DailyCircle, ShowsTheStatesOfTheStreak) {
    const ui::Color grey = colorFromHex("#8E8E97");
    struct Case {
        const char* name;
        bool postedToday, isStreakActive;
        std::int64_t streak;
        bool shouldDisplayStreak;
        Mark mark;
        ui::Color markColor, ringColor;
    };
    const Case cases[] = {
        {"posted", true, false, 263, true, Mark::number, dailyColor(), dailyColor()},
        {"posted-no-streak", true, true, 0, true, Mark::none, dailyColor(), dailyColor()},
        {"alive", false, true, 43, true, Mark::number, grey, publishingColor()},
        {"alive-no-streak", false, true, 0, true, Mark::none, grey, publishingColor()},
        {"broken", false, false, 5, true, Mark::none, grey, publishingColor()},
        {"checkmark-posted", true, false, 7, false, Mark::checkmark, dailyColor(), dailyColor()},
        {"checkmark-not-posted", false, true, 7, false, Mark::checkmark, grey, publishingColor()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DailyCircle view = circle(c.postedToday, c.isStreakActive, c.streak, c.shouldDisplayStreak, false);
        std::string number;
        EXPECT_EQ(markOf(view, number), c.mark);
        if (c.mark == Mark::number) {
            EXPECT_EQ(number, std::to_string(c.streak));
        }
        const auto bitmap = testing::renderWidget(view, space, widgetkit::WidgetFamily::systemSmall, std::string("circle-") + c.name);
        EXPECT_TRUE(isSolid(at(bitmap, ringTop.x, ringTop.y), c.ringColor));
        const int markPixels = countIn(bitmap, inside, [&](const ui::Bitmap::Pixel& pixel) { return isSolid(pixel, c.markColor); });
        const int anyPixels = countIn(bitmap, inside, [](const ui::Bitmap::Pixel& pixel) { return pixel.alpha > 0; });
        if (c.mark == Mark::none) {
            EXPECT_EQ(anyPixels, 0);
        } else {
            EXPECT_GT(markPixels, 40);
        }
    }
}

TEST(DailyCircle, DrawsTheClockBadgeOnlyForAScheduledJournalButAlwaysHoldsIt) {
    for (const bool scheduled : {false, true}) {
        SCOPED_TRACE(scheduled);
        const DailyCircle view = circle(true, true, 3, true, scheduled);
        ui::LayoutEngine engine;
        const auto tree = engine.layout(view, space);
        const auto badges = tree.all([](const ui::LaidOutView& node) {
            const auto* image = node.as<ui::node::Image>();
            return image != nullptr && image->name == "KVClock";
        });
        ASSERT_EQ(badges.size(), 1U);
        EXPECT_EQ(badges.front()->frame.size, (ui::Size{12, 12}));
        const auto bitmap = testing::renderWidget(view, space, widgetkit::WidgetFamily::systemSmall,
                                                  scheduled ? "circle-scheduled" : "circle-unscheduled");
        EXPECT_EQ(at(bitmap, badgeOnly.x, badgeOnly.y).alpha, scheduled ? 255 : 0);
        const int clockPixels = countIn(bitmap, {{18, 18}, {12, 12}}, [](const ui::Bitmap::Pixel& pixel) { return isSolid(pixel, timeColor(), 40); });
        if (scheduled) {
            EXPECT_GT(clockPixels, 20);
        } else {
            EXPECT_EQ(clockPixels, 0);
        }
    }
}

TEST(DailyCircle, DrawsTheConnectorBelowOnlyWhenAskedAndPosted) {
    const ui::Size tall{32, 64};
    const auto connectorPixels = [&](bool posted, bool connector, const std::string& name) {
        DailyCircle view = circle(posted, true, 3, true, false);
        view.bottomConnectorLine = connector;
        // The circle at the top of the space, the line running down from it.
        const auto bitmap = testing::renderWidget(ui::View(view).frame(32, 64, ui::Alignment::top()), tall,
                                                  widgetkit::WidgetFamily::systemSmall, name);
        return countIn(bitmap, {{4, 30}, {24, 24}}, [](const ui::Bitmap::Pixel& pixel) { return pixel.alpha > 0; });
    };
    EXPECT_GT(connectorPixels(true, true, "circle-connector"), 20);
    EXPECT_EQ(connectorPixels(true, false, "circle-no-connector"), 0);
    EXPECT_EQ(connectorPixels(false, true, "circle-connector-not-posted"), 0);
}

TEST(DailyCircle, TakesItsParametersFromTheJournal) {
    auto journal = testing::doneJournal(1);
    journal.streak = 12;
    journal.nextStreakDate = testing::localDay(1);
    journal.isScheduled = true;
    journal.shouldDisplayStreak = true;
    const DailyCircle made = DailyCircle::forJournal(journal);
    EXPECT_EQ(made.streak, 12);
    EXPECT_TRUE(made.postedToday);
    EXPECT_TRUE(made.isStreakActive);
    EXPECT_FALSE(made.bottomConnectorLine);
    EXPECT_TRUE(made.isScheduled);
    EXPECT_TRUE(made.shouldDisplayStreak);
    EXPECT_EQ(made.size, 24);
    EXPECT_EQ(made.fontSize, 10);
    EXPECT_EQ(made.lineWidth, 2);

    const DailyCircle bare = DailyCircle::forJournal(testing::dueJournal(2));
    EXPECT_EQ(bare.streak, 0);
    EXPECT_FALSE(bare.postedToday);
    EXPECT_FALSE(bare.isStreakActive);
    EXPECT_FALSE(bare.isScheduled);
    EXPECT_FALSE(bare.shouldDisplayStreak);  // absent: a checkmark
}

TEST(JournalRow, ChoosesItsIconEmojiFirstThenPictureThenNone) {
    enum class Icon { emoji, picture, none };
    struct Case {
        const char* name;
        std::optional<std::string> emoji;
        std::optional<foundation::Data> bytes;
        Icon icon;
    };
    const Case cases[] = {
        {"emoji-and-picture", "\U0001F4D3", testing::redSquarePNG(), Icon::emoji},
        {"empty-emoji-and-picture", "", testing::redSquarePNG(), Icon::emoji},
        {"picture", std::nullopt, testing::redSquarePNG(), Icon::picture},
        {"no-image-bytes", std::nullopt, foundation::Data(std::string_view("not a picture")), Icon::none},
        {"nothing", std::nullopt, std::nullopt, Icon::none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto journal = testing::dueJournal(1);
        journal.title = "Reading";
        if (c.emoji) {
            journal.iconEmoji = *c.emoji;
        }
        journal.iconImageData = c.bytes;
        const ui::Size size{200, 32};
        ui::LayoutEngine engine;
        const auto tree = engine.layout(JournalRow{journal}, size);
        const auto texts = tree.all<ui::node::Text>();
        const auto* title = texts.back();
        EXPECT_EQ(title->text(), "Reading");
        const auto pictures = tree.all([](const ui::LaidOutView& node) {
            const auto* image = node.as<ui::node::Image>();
            return image != nullptr && image->source == ui::node::Image::Source::data;
        });
        // Circle 24, spacing 8, then the icon (2 + 14) and spacing 8, or the title straight away.
        const double circleEnd = tree.frame.minX() + 24 + 8;
        switch (c.icon) {
        case Icon::emoji:
            ASSERT_EQ(texts.size(), 2U);  // the emoji and the title; the circle holds a checkmark
            EXPECT_EQ(texts[0]->text(), *c.emoji);
            EXPECT_TRUE(pictures.empty());
            EXPECT_DOUBLE_EQ(title->frame.minX(), circleEnd + 16 + 8);
            break;
        case Icon::picture:
            ASSERT_EQ(pictures.size(), 1U);
            EXPECT_EQ(pictures.front()->frame.size, (ui::Size{14, 14}));
            EXPECT_DOUBLE_EQ(pictures.front()->frame.minX(), circleEnd + 2);
            EXPECT_DOUBLE_EQ(title->frame.minX(), circleEnd + 16 + 8);
            break;
        case Icon::none:
            EXPECT_TRUE(pictures.empty());
            EXPECT_EQ(texts.size(), 1U);
            EXPECT_DOUBLE_EQ(title->frame.minX(), circleEnd);
            break;
        }
        testing::renderWidget(ui::View(JournalRow{journal}), size, widgetkit::WidgetFamily::systemSmall, std::string("row-") + c.name);
    }
}

TEST(JournalRow, SetsItsTitleInMediumOnOneLine) {
    auto journal = testing::dueJournal(1);
    journal.title = "A title long enough to need more than one line in a narrow row";
    ui::LayoutEngine engine;
    const auto tree = engine.layout(JournalRow{journal}, {160, 100});
    const auto* title = tree.all<ui::node::Text>().back();
    EXPECT_EQ(title->environment->lineLimit, 1);
    const auto& run = title->as<ui::node::Text>()->runs.front();
    EXPECT_EQ(run.font, ui::Font::system(14));
    EXPECT_EQ(run.weight, ui::Font::Weight::medium);
    EXPECT_LT(title->frame.height(), 24);
}

}  // namespace
}  // namespace pellicor
