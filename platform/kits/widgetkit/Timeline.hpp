#pragma once

#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/widgetkit/WidgetFamily.hpp"
#include "platform/runtime/concurrency/TaskHandle.hpp"
#include "platform/runtime/foundation/core/Date.hpp"

#include <concepts>
#include <optional>
#include <vector>

namespace widgetkit {

// An entry of a timeline: any value with the date from which it shows.
template <typename Entry>
concept TimelineEntry = std::copy_constructible<Entry> && requires(const Entry& entry) {
    { entry.date } -> std::convertible_to<foundation::Date>;
};

// When the host asks for the next timeline.
class TimelineReloadPolicy {
public:
    enum class Kind { atEnd, after, never };

    // Once the date of the timeline's last entry has passed.
    static TimelineReloadPolicy atEnd() noexcept { return TimelineReloadPolicy(Kind::atEnd, std::nullopt); }
    // At that date.
    static TimelineReloadPolicy after(foundation::Date date) noexcept { return TimelineReloadPolicy(Kind::after, date); }
    // Only when someone asks for all timelines again.
    static TimelineReloadPolicy never() noexcept { return TimelineReloadPolicy(Kind::never, std::nullopt); }

    [[nodiscard]] Kind kind() const noexcept { return kind_; }
    // The date of after(date); none for the other kinds.
    [[nodiscard]] std::optional<foundation::Date> date() const noexcept { return date_; }

    friend bool operator==(const TimelineReloadPolicy&, const TimelineReloadPolicy&) = default;

private:
    TimelineReloadPolicy(Kind kind, std::optional<foundation::Date> date) noexcept : kind_(kind), date_(date) {}
    Kind kind_;
    std::optional<foundation::Date> date_;
};

template <TimelineEntry Entry>
struct Timeline {
    std::vector<Entry> entries;
    TimelineReloadPolicy policy = TimelineReloadPolicy::atEnd();
};

// What a provider knows of the widget it answers for.
struct TimelineProviderContext {
    WidgetFamily family = WidgetFamily::systemSmall;
    // The widget's size in points.
    ui::Size displaySize;
    // Drawn for the widget gallery rather than for a placed widget.
    bool isPreview = false;
};

// The work a provider started to answer later, so that whoever asked can cancel it; none when the
// provider answered before it returned.
using ProviderWork = std::optional<concurrency::TaskHandle<void>>;

}  // namespace widgetkit
