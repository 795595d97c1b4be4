#include "pellicor/JournalDays.hpp"
#include "pellicor/JournalWidgetView.hpp"
#include "pellicor/WidgetColors.hpp"
#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "tests/pellicor/JournalTestData.hpp"
#include "tests/pellicor/ViewMarks.hpp"
#include "tests/pellicor/WidgetPictures.hpp"

#include <gtest/gtest.h>

#include <string>

namespace pellicor {
namespace {

using widgetkit::WidgetFamily;

const ui::Size small = widgetkit::nominalSize(WidgetFamily::systemSmall);

ui::LaidOutView layOut(const kestrova::Journal& journal) {
    ui::LayoutEngine engine;
    return engine.layout(JournalWidgetView{{{}, journal}}, small);
}

const ui::LaidOutView* textNode(const ui::LaidOutView& tree, const std::string& text) {
    const auto found = tree.all([&](const ui::LaidOutView& node) { return node.as<ui::node::Text>() != nullptr && node.text() == text; });
    return found.empty() ? nullptr : found.front();
}

bool hasStreakCircle(const ui::LaidOutView& tree) {
    return !tree.all([](const ui::LaidOutView& node) {
                    const auto* image = node.as<ui::node::Image>();
                    return image != nullptr && image->name == "KVClock";
                }).empty();
}

const ui::LaidOutView* picture(const ui::LaidOutView& tree) {
    const auto found = tree.all([](const ui::LaidOutView& node) {
        const auto* image = node.as<ui::node::Image>();
        return image != nullptr && image->source == ui::node::Image::Source::data;
    });
    return found.empty() ? nullptr : found.front();
}

TEST(JournalWidgetView, LaysOutTheCardWithTheCircleTopTrailingAndTheDetailsBottomLeading) {
    const kestrova::Journal meditation = sampleJournals().front();
    const auto tree = layOut(meditation);
    const auto* title = textNode(tree, "Meditation");
    const auto* count = textNode(tree, "1 entries today");
    const auto* emoji = textNode(tree, meditation.iconEmoji->str());
    ASSERT_NE(title, nullptr);
    ASSERT_NE(count, nullptr);
    ASSERT_NE(emoji, nullptr);
    EXPECT_EQ(title->as<ui::node::Text>()->runs.front().font, ui::Font::system(18));
    EXPECT_EQ(title->as<ui::node::Text>()->runs.front().weight, ui::Font::Weight::medium);
    EXPECT_EQ(count->as<ui::node::Text>()->runs.front().color, darkGrayColor());
    EXPECT_EQ(count->as<ui::node::Text>()->runs.front().font, ui::Font::caption());
    // The details at the bottom leading corner, inside the default padding.
    EXPECT_DOUBLE_EQ(title->frame.minX(), ui::defaultPadding);
    EXPECT_DOUBLE_EQ(count->frame.maxY(), small.height - ui::defaultPadding);
    EXPECT_LT(emoji->frame.maxY(), title->frame.minY());
    // The streak circle at the top trailing corner.
    ASSERT_TRUE(hasStreakCircle(tree));
    const auto* circle = tree.all([](const ui::LaidOutView& node) {
        const auto* frame = node.as<ui::node::Frame>();
        return frame != nullptr && frame->width == 24 && frame->height == 24;
    }).front();
    EXPECT_DOUBLE_EQ(circle->frame.maxX(), small.width - ui::defaultPadding);
    EXPECT_DOUBLE_EQ(circle->frame.minY(), ui::defaultPadding);

    EXPECT_EQ(testing::widgetURL(tree), meditation.createEntryURL()->absoluteString());
    EXPECT_EQ(testing::preferredColorScheme(tree), ui::ColorScheme::dark);

    const auto bitmap = testing::renderWidget(JournalWidgetView{{{}, meditation}}, WidgetFamily::systemSmall, "journal-emoji");
    EXPECT_TRUE(testing::isSolid(testing::at(bitmap, 1, 1), ui::Color::black()));
    // The count in the dark scheme's grey, the title in its primary text (white at 85 % on black).
    EXPECT_GT(testing::countIn(bitmap, count->frame, [](const ui::Bitmap::Pixel& pixel) { return testing::isSolid(pixel, darkGrayColor(), 30); }), 10);
    EXPECT_GT(testing::countIn(bitmap, title->frame, [](const ui::Bitmap::Pixel& pixel) { return pixel.red > 200 && pixel.green > 200 && pixel.blue > 200; }), 50);
}

TEST(JournalWidgetView, ShowsTheStreakCircleOnlyForADailyOrScheduledJournal) {
    struct Case {
        std::optional<bool> isDaily, isScheduled;
        bool shows;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, false}, {false, false, false}, {true, std::nullopt, true}, {false, true, true}, {true, true, true},
    };
    for (const Case& c : cases) {
        auto journal = testing::dueJournal(1);
        journal.isDaily = c.isDaily;
        journal.isScheduled = c.isScheduled;
        EXPECT_EQ(hasStreakCircle(layOut(journal)), c.shows);
    }
}

TEST(JournalWidgetView, ChoosesItsIconEmojiFirstThenPictureThenNone) {
    auto journal = testing::dueJournal(3);
    journal.title = "Sketches";
    journal.iconImageData = testing::redSquarePNG();

    const auto withPicture = layOut(journal);
    ASSERT_NE(picture(withPicture), nullptr);
    EXPECT_EQ(picture(withPicture)->frame.size, (ui::Size{32, 32}));
    EXPECT_DOUBLE_EQ(picture(withPicture)->frame.minX(), ui::defaultPadding);
    EXPECT_EQ(textNode(withPicture, "0 entries today") != nullptr, true);  // no count: 0
    const auto bitmap = testing::renderWidget(JournalWidgetView{{{}, journal}}, WidgetFamily::systemSmall, "journal-picture");
    EXPECT_TRUE(testing::isSolid(testing::at(bitmap, picture(withPicture)->frame.midX(), picture(withPicture)->frame.midY()),
                                 ui::Color::sRGB(1, 0, 0)));

    journal.iconEmoji = "\U0001F3B9";
    EXPECT_EQ(picture(layOut(journal)), nullptr);
    EXPECT_NE(textNode(layOut(journal), "\U0001F3B9"), nullptr);

    journal.iconEmoji.reset();
    journal.iconImageData = foundation::Data(std::string_view("no picture"));
    const auto withNothing = layOut(journal);
    EXPECT_EQ(picture(withNothing), nullptr);
    EXPECT_EQ(withNothing.all<ui::node::Text>().size(), 2U);  // the title and the count
    testing::renderWidget(JournalWidgetView{{{}, journal}}, WidgetFamily::systemSmall, "journal-no-icon");
}

}  // namespace
}  // namespace pellicor
