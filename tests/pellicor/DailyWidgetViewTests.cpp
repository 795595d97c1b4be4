#include "pellicor/DailyWidgetView.hpp"
#include "pellicor/JournalDays.hpp"
#include "pellicor/WidgetColors.hpp"
#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/runtime/foundation/core/SystemVersionOverride.hpp"
#include "tests/pellicor/JournalTestData.hpp"
#include "tests/pellicor/ViewMarks.hpp"
#include "tests/pellicor/WidgetPictures.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pellicor {
namespace {

using widgetkit::WidgetFamily;

ui::LaidOutView layOut(const DailyWidgetView& view, WidgetFamily family, ui::Size size) {
    ui::EnvironmentValues environment;
    widgetkit::setWidgetFamily(environment, family);
    ui::LayoutEngine engine;
    return engine.layout(view, size, environment);
}

ui::LaidOutView layOut(const DailyWidgetView& view, WidgetFamily family) {
    return layOut(view, family, widgetkit::nominalSize(family));
}

std::vector<std::string> texts(const ui::LaidOutView& tree) {
    std::vector<std::string> all;
    for (const auto* text : tree.all<ui::node::Text>()) {
        all.push_back(text->text());
    }
    return all;
}

bool contains(const std::vector<std::string>& all, const std::string& text) {
    return std::find(all.begin(), all.end(), text) != all.end();
}

// The progress ring, found by its 80-point frame.
const ui::LaidOutView* ring(const ui::LaidOutView& tree) {
    const auto found = tree.all([](const ui::LaidOutView& node) {
        const auto* frame = node.as<ui::node::Frame>();
        return frame != nullptr && frame->width == 80 && frame->height == 80;
    });
    return found.empty() ? nullptr : found.front();
}

struct Row {
    std::string destination;
    std::string title;
    ui::Rect frame;
};

std::vector<Row> rows(const ui::LaidOutView& tree) {
    std::vector<Row> found;
    for (const auto* link : tree.all<ui::node::Link>()) {
        found.push_back({link->as<ui::node::Link>()->destination, link->all<ui::node::Text>().back()->text(), link->frame});
    }
    return found;
}

const DailyWidgetView samples{sampleJournals(), 3, 1.0F / 3};

TEST(DailyWidgetView, ListsTheJournalsThatFitEachSystemFamily) {
    struct Case {
        WidgetFamily family;
        std::vector<std::string> titles;
        bool showsRing;
    };
    const std::vector<std::string> notDone{"Probiotics", "Water", "Journal"};
    const Case cases[] = {
        {WidgetFamily::systemSmall, notDone, false},
        {WidgetFamily::systemMedium, notDone, true},
        {WidgetFamily::systemLarge,
         // the done ones last, the latest posted first; none of the samples says when, so last first
         {"Probiotics", "Water", "Journal", "Music", "Reading", "Bahasa Indonesia", "Vitamin D", "Workout", "Meditation"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(widgetkit::name(c.family)));
        const auto tree = layOut(samples, c.family);
        const auto shown = rows(tree);
        std::vector<std::string> titles;
        for (const Row& row : shown) {
            titles.push_back(row.title);
        }
        EXPECT_EQ(titles, c.titles);
        const ui::Size size = widgetkit::nominalSize(c.family);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            // Rows one under the other, lined up at their leading edge: at the widget's beside the
            // ring, centred as a column in a small widget.
            EXPECT_DOUBLE_EQ(shown[i].frame.minX(), c.showsRing ? ui::defaultPadding : shown.front().frame.minX());
            EXPECT_GE(shown[i].frame.minX(), ui::defaultPadding);
            EXPECT_LE(shown[i].frame.maxY(), size.height);
            EXPECT_LE(shown[i].frame.maxX(), c.showsRing ? size.width - 80 - 2 * ui::defaultPadding : size.width);
            if (i > 0) {
                EXPECT_DOUBLE_EQ(shown[i].frame.minY(), shown[i - 1].frame.maxY() + ui::defaultSpacing);
            }
        }
        const auto* progress = ring(tree);
        ASSERT_EQ(progress != nullptr, c.showsRing);
        if (progress != nullptr) {
            EXPECT_DOUBLE_EQ(progress->frame.maxX(), size.width - 2 * ui::defaultPadding);
            EXPECT_DOUBLE_EQ(progress->frame.midY(), size.height / 2);
        }
        const auto bitmap = testing::renderWidget(samples, c.family, std::string("today-") + std::string(widgetkit::name(c.family)));
        EXPECT_TRUE(testing::isSolid(testing::at(bitmap, 1, 1), ui::Color::black()));
        EXPECT_TRUE(testing::isSolid(testing::at(bitmap, size.width - 1, size.height - 1), ui::Color::black()));
    }
}

TEST(DailyWidgetView, LinksEachRowToItsJournalsPublishPage) {
    auto journal = testing::dueJournal(42);
    journal.title = "Letters";
    const auto tree = layOut(DailyWidgetView{{journal}, 0, 0}, WidgetFamily::systemMedium);
    const auto shown = rows(tree);
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_EQ(shown.front().destination, journal.createEntryURL()->absoluteString());
    EXPECT_FALSE(testing::widgetURL(tree));  // only the rows link
}

TEST(DailyWidgetView, TruncatesALongTitleInsideTheWidget) {
    auto journal = testing::dueJournal(5);
    journal.title = "A journal whose title is far longer than any widget is wide";
    journal.iconEmoji = "\U0001F4D6";
    for (const WidgetFamily family : {WidgetFamily::systemSmall, WidgetFamily::systemMedium}) {
        SCOPED_TRACE(std::string(widgetkit::name(family)));
        const DailyWidgetView view{{journal}, 0, 0};
        const auto tree = layOut(view, family);
        const auto shown = rows(tree);
        ASSERT_EQ(shown.size(), 1U);
        EXPECT_DOUBLE_EQ(shown.front().frame.minX(), ui::defaultPadding);
        const auto* title = tree.first<ui::node::Link>()->all<ui::node::Text>().back();
        const double limit = family == WidgetFamily::systemSmall ? widgetkit::nominalSize(family).width - ui::defaultPadding
                                                                   : ring(tree)->frame.minX();
        EXPECT_LE(title->frame.maxX(), limit);
        EXPECT_LE(shown.front().frame.maxX(), limit);
        testing::renderWidget(view, family, std::string("today-long-title-") + std::string(widgetkit::name(family)));
    }
}

TEST(DailyWidgetView, SaysSoWhenThereAreNoJournalsAndKeepsTheRing) {
    const std::string message = "There are no journals for Today.";
    for (const WidgetFamily family : {WidgetFamily::systemSmall, WidgetFamily::systemMedium, WidgetFamily::systemLarge}) {
        SCOPED_TRACE(std::string(widgetkit::name(family)));
        const DailyWidgetView empty{{}, 2, 0.5F};
        const auto tree = layOut(empty, family);
        EXPECT_TRUE(contains(texts(tree), message));
        EXPECT_TRUE(rows(tree).empty());
        EXPECT_EQ(ring(tree) != nullptr, family != WidgetFamily::systemSmall);
        testing::renderWidget(empty, family, std::string("today-empty-") + std::string(widgetkit::name(family)));
    }
    const auto small = layOut(DailyWidgetView{{}, 0, 0}, WidgetFamily::systemSmall);
    const auto found = small.all([&](const ui::LaidOutView& node) { return node.text() == message; });
    ASSERT_FALSE(found.empty());
    const auto* text = found.front();
    EXPECT_EQ(text->as<ui::node::Text>()->runs.front().font, ui::Font::footnote());
    EXPECT_EQ(text->environment->multilineTextAlignment, ui::TextAlignment::center);

    // Journals of which none is due: an empty list, and no message.
    auto notDue = testing::dueJournal(1);
    notDue.isDue = false;
    const auto tree = layOut(DailyWidgetView{{notDue}, 0, 0}, WidgetFamily::systemMedium);
    EXPECT_TRUE(rows(tree).empty());
    EXPECT_FALSE(contains(texts(tree), message));
    EXPECT_NE(ring(tree), nullptr);
}

TEST(DailyWidgetView, ShowsTheCountAndRingAsACircularAccessory) {
    for (const std::int64_t count : {std::int64_t{0}, std::int64_t{3}}) {
        const foundation::SystemVersionOverride system({13, 0, 0});
        const auto tree = layOut(DailyWidgetView{sampleJournals(), count, 0.5F}, WidgetFamily::accessoryCircular);
        EXPECT_EQ(texts(tree), std::vector<std::string>{std::to_string(count)});
        const auto* progress = tree.first<ui::node::ProgressView>();
        ASSERT_NE(progress, nullptr);
        EXPECT_DOUBLE_EQ(progress->as<ui::node::ProgressView>()->value, 0.5);
        EXPECT_EQ(progress->environment->tint, dailyColor());
    }
    testing::renderWidget(DailyWidgetView{sampleJournals(), 3, 0.5F}, WidgetFamily::accessoryCircular, "today-accessoryCircular");
}

TEST(DailyWidgetView, ListsUpToThreeJournalsToDoAsARectangularAccessory) {
    struct Case {
        const char* name;
        std::vector<kestrova::Journal> journals;
        std::vector<std::string> lines;
    };
    auto withPicture = testing::dueJournal(7);
    withPicture.title = "Sketches";
    withPicture.iconImageData = testing::redSquarePNG();
    auto plain = testing::dueJournal(8);
    plain.title = "Plain";
    auto badBytes = testing::dueJournal(9);
    badBytes.title = "Broken";
    badBytes.iconEmoji = "\U0001F4A5";
    badBytes.iconImageData = foundation::Data(std::string_view("no picture"));
    const Case cases[] = {
        {"samples", sampleJournals(), {"\U0001F48A Probiotics", "\U0001F30A Water", "\U0001F4D3 Journal"}},
        {"all-done", {testing::doneJournal(1)}, {"All Done"}},
        {"icons", {withPicture, plain, badBytes}, {" Sketches", "Plain", "\U0001F4A5 Broken"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DailyWidgetView view{c.journals, 1, 0};
        const auto tree = layOut(view, WidgetFamily::accessoryRectangular);
        EXPECT_EQ(texts(tree), c.lines);
        for (const auto* text : tree.all<ui::node::Text>()) {
            EXPECT_EQ(text->environment->lineLimit, 1);
        }
        testing::renderWidget(view, WidgetFamily::accessoryRectangular, std::string("today-rectangular-") + c.name);
    }
    const auto done = layOut(DailyWidgetView{{testing::doneJournal(1)}, 1, 0}, WidgetFamily::accessoryRectangular);
    ASSERT_NE(done.first<ui::node::Image>(), nullptr);
    EXPECT_EQ(done.first<ui::node::Image>()->as<ui::node::Image>()->name, "checkmark.circle");
}

TEST(DailyWidgetView, CountsTodaysEntriesInline) {
    for (const std::int64_t count : {std::int64_t{0}, std::int64_t{1}, std::int64_t{3}}) {
        const auto tree = layOut(DailyWidgetView{sampleJournals(), count, 0}, WidgetFamily::accessoryInline);
        EXPECT_EQ(texts(tree), std::vector<std::string>{std::to_string(count) + " entries today"});
    }
    testing::renderWidget(DailyWidgetView{sampleJournals(), 3, 0}, WidgetFamily::accessoryInline, "today-accessoryInline");
}

TEST(DailyWidgetView, SaysSoForAFamilyItWasNotMadeFor) {
    const auto tree = layOut(samples, static_cast<WidgetFamily>(99), {170, 170});
    EXPECT_EQ(texts(tree), std::vector<std::string>{"Not Implemented"});
}

}  // namespace
}  // namespace pellicor
