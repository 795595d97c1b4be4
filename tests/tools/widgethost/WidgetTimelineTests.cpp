#include "tools/widgethost/WidgetTimeline.hpp"

#include <gtest/gtest.h>

namespace {

using foundation::Date;
using widgetkit::TimelineReloadPolicy;

widgetkit::RenderedEntry entryAt(double seconds) {
    widgetkit::RenderedEntry entry;
    entry.date = Date::fromTimeIntervalSinceReferenceDate(seconds);
    entry.png = {static_cast<std::uint8_t>(seconds)};
    return entry;
}

struct Case {
    const char* label;
    std::vector<double> entries;
    TimelineReloadPolicy policy;
    double now;
    double shown;
    std::optional<double> nextEntry;
    std::optional<double> reload;
};

TEST(WidgetTimelineTest, ShowsTheNewestEntryThatHasBegunAndReloadsByItsPolicy) {
    const Case cases[] = {
        {"between two entries", {10, 20, 30}, TimelineReloadPolicy::atEnd(), 25, 20, 30, 30},
        {"at an entry's own date", {10, 20}, TimelineReloadPolicy::atEnd(), 20, 20, std::nullopt, 20},
        {"all later: the first", {40, 50}, TimelineReloadPolicy::never(), 5, 40, 40, std::nullopt},
        {"all past: the newest", {10, 20}, TimelineReloadPolicy::atEnd(), 99, 20, std::nullopt, 20},
        {"out of order", {30, 10, 20}, TimelineReloadPolicy::atEnd(), 25, 20, 30, 30},
        {"after a date", {10}, TimelineReloadPolicy::after(Date::fromTimeIntervalSinceReferenceDate(77)), 12, 10,
         std::nullopt, 77},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.label);
        widgethost::WidgetTimeline timeline;
        widgetkit::RenderedTimeline given{.entries = {}, .policy = each.policy};
        for (const double date : each.entries) {
            given.entries.push_back(entryAt(date));
        }
        timeline.replace(given);
        const auto now = Date::fromTimeIntervalSinceReferenceDate(each.now);
        ASSERT_NE(timeline.entryAt(now), nullptr);
        EXPECT_EQ(timeline.entryAt(now)->date.timeIntervalSinceReferenceDate(), each.shown);
        const auto next = timeline.nextEntryDate(now);
        EXPECT_EQ(next ? std::optional(next->timeIntervalSinceReferenceDate()) : std::nullopt, each.nextEntry);
        const auto reload = timeline.reloadDate();
        EXPECT_EQ(reload ? std::optional(reload->timeIntervalSinceReferenceDate()) : std::nullopt, each.reload);
    }
}

TEST(WidgetTimelineTest, ThePlaceholderShowsUntilTheFirstTimelineWhichANewOneReplaces) {
    widgethost::WidgetTimeline timeline;
    const auto now = Date::fromTimeIntervalSinceReferenceDate(100);
    EXPECT_EQ(timeline.entryAt(now), nullptr);
    EXPECT_FALSE(timeline.reloadDate());

    timeline.setPlaceholder(entryAt(1));
    EXPECT_EQ(timeline.entryAt(now)->png, std::vector<std::uint8_t>{1});

    timeline.replace({.entries = {entryAt(50), entryAt(60)}, .policy = TimelineReloadPolicy::atEnd()});
    EXPECT_EQ(timeline.entryAt(now)->png, std::vector<std::uint8_t>{60});

    timeline.replace({.entries = {entryAt(200)}, .policy = TimelineReloadPolicy::never()});
    EXPECT_EQ(timeline.entryAt(now)->png, std::vector<std::uint8_t>{200}) << "the new one at once, though later";
    EXPECT_FALSE(timeline.reloadDate());

    timeline.replace({.entries = {}, .policy = TimelineReloadPolicy::atEnd()});
    EXPECT_EQ(timeline.entryAt(now)->png, std::vector<std::uint8_t>{200}) << "an empty timeline has nothing to show";
}

}  // namespace
